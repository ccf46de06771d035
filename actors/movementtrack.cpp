#include "actors/movementtrack.h"

#include <algorithm>
#include <iterator>

#include "actors/trick.h"
#include "actors/tricklibrary.h"

namespace Vortel {
namespace {

constexpr unsigned int DIRECTION_BITS = MovementTrack::MOVE_LEFT | MovementTrack::MOVE_RIGHT |
                                        MovementTrack::MOVE_UP | MovementTrack::MOVE_DOWN |
                                        MovementTrack::MOVE_STRAIGHT;

bool stepMatches(const MovementTrack::Step& recorded, const MovementTrack::Step& pattern) {
    const bool moveMatches =
        pattern.move == MovementTrack::MOVE_ANY || (pattern.move & recorded.move) != 0;
    const bool surroundMatches = (pattern.surround & MovementTrack::SURROUND_ANY) != 0 ||
                                 (pattern.surround & recorded.surround) != 0;
    const bool crashed = (recorded.surround & MovementTrack::SURROUND_COLLISION) != 0;
    return moveMatches && surroundMatches && !crashed;
}

}  // namespace

MovementTrack::MovementTrack() : _maxSteps(20), _steps(), _matchLength(0), _spare(_maxSteps) {}

MovementTrack::MovementTrack(const MovementTrack& other)
    : _maxSteps(other._maxSteps), _steps(other._steps), _matchLength(other._matchLength), _spare() {}

MovementTrack& MovementTrack::operator=(const MovementTrack& other) {
    if (this == &other) {
        return *this;
    }
    _maxSteps = other._maxSteps;
    _matchLength = other._matchLength;
    keepNewest(other._steps.size());
    const std::size_t held = _steps.size();
    const std::size_t fromSpare = std::min(other._steps.size() - held, _spare.size());
    _steps.splice(_steps.end(), _spare, _spare.begin(), std::next(_spare.begin(), static_cast<std::ptrdiff_t>(fromSpare)));
    _steps.resize(other._steps.size());
    std::copy(other._steps.begin(), other._steps.end(), _steps.begin());
    return *this;
}

void MovementTrack::step(unsigned int move, unsigned int surround) {
    if ((surround & move & DIRECTION_BITS) != 0) {
        surround |= SURROUND_COLLISION;
    }
    if (_steps.size() >= _maxSteps) {
        // A full track recycles its oldest node: a craft records a step every cell.
        _steps.splice(_steps.begin(), _steps, std::prev(_steps.end()));
    } else if (!_spare.empty()) {
        _steps.splice(_steps.begin(), _spare, _spare.begin());
    } else {
        _steps.emplace_front();
    }
    _steps.front() = Step{surround, move};
}

void MovementTrack::keepNewest(std::size_t n) {
    if (_steps.size() > n) {
        _spare.splice(_spare.end(), _steps, std::next(_steps.begin(), static_cast<std::ptrdiff_t>(n)), _steps.end());
    }
}

void MovementTrack::clear() { keepNewest(2); }

void MovementTrack::maxSteps(unsigned int n) {
    // A bound of 0 would leave step() nothing to recycle; one step is the least a track holds.
    _maxSteps = n < 1 ? 1 : n;
    keepNewest(_maxSteps);
}

int MovementTrack::match(const MovementTrack& pattern) {
    if (_steps.empty()) {
        return MATCH_NONE;
    }
    // Recorded steps are walked oldest to newest (reverse list order); a pattern's own
    // list is newest first too, so its first step is its last element.
    const auto newest = std::prev(_steps.rend());
    for (auto start = _steps.rbegin(); start != _steps.rend(); ++start) {
        _matchLength = 0;
        auto recorded = start;
        for (auto wanted = pattern._steps.rbegin(); wanted != pattern._steps.rend(); ++wanted) {
            if (!stepMatches(*recorded, *wanted)) {
                break;
            }
            ++_matchLength;
            const bool lastOfPattern = std::next(wanted) == pattern._steps.rend();
            if (recorded == newest) {
                return MATCH_CURRENT;
            }
            if (lastOfPattern) {
                return MATCH_EARLIER;
            }
            ++recorded;
        }
    }
    return MATCH_NONE;
}

int MovementTrack::match(const TrickLibrary& library, Trick& out) {
    int best = 0;
    int result = MATCH_NONE;
    const Trick* winner = nullptr;
    for (const Trick& trick : library.tricks()) {
        const int r = match(trick);
        if (r != MATCH_NONE && _matchLength > best) {
            best = _matchLength;
            winner = &trick;
            result = r;
        }
    }
    // Copying once, after the walk, spares the copies of tricks that are later outmatched.
    if (winner != nullptr) {
        out = *winner;
    }
    return result;
}

std::string MovementTrack::str() const {
    std::string text;
    for (const Step& s : _steps) {
        text += "-- ";
        if (s.move & MOVE_STRAIGHT) {
            text += "FRONT";
        } else if (s.move & MOVE_LEFT) {
            text += "LEFT";
        } else if (s.move & MOVE_RIGHT) {
            text += "RIGHT";
        } else if (s.move & MOVE_UP) {
            text += "UP";
        } else if (s.move & MOVE_DOWN) {
            text += "DOWN";
        }
        text += ' ';
        if (s.surround & SURROUND_FRONT) text += 'F';
        if (s.surround & SURROUND_LEFT) text += 'L';
        if (s.surround & SURROUND_RIGHT) text += 'R';
        if (s.surround & SURROUND_UP) text += 'U';
        if (s.surround & SURROUND_DOWN) text += 'D';
        text += ' ';
        if (s.surround & SURROUND_COLLISION) text += 'X';
        text += '\n';
    }
    return text;
}

}  // namespace Vortel
