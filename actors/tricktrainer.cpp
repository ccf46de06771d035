#include "actors/tricktrainer.h"

#include <cstddef>
#include <iterator>
#include <list>

#include "actors/grid.h"
#include "actors/player.h"
#include "world/octree.h"

namespace Vortel {
namespace {

// Checking starts with the third step given; a trick needs that many steps for its last
// check to come after its last advice.
constexpr std::size_t TRAINED_STEPS_MIN = 3;
constexpr int UNJUDGED_STEPS = 2;

int adviceFor(unsigned int move) {
    switch (move) {
        case MovementTrack::MOVE_LEFT: return TrickTrainer::ADVICE_LEFT;
        case MovementTrack::MOVE_RIGHT: return TrickTrainer::ADVICE_RIGHT;
        case MovementTrack::MOVE_UP: return TrickTrainer::ADVICE_UP;
        case MovementTrack::MOVE_DOWN: return TrickTrainer::ADVICE_DOWN;
        default: return TrickTrainer::ADVICE_STRAIGHT;
    }
}

// The move must be the trick's exactly; the surround need only share a bit with it.
bool stepPasses(const MovementTrack::Step& wanted, unsigned int move, unsigned int surround) {
    const bool moveFails = wanted.move != MovementTrack::MOVE_ANY && move != wanted.move;
    const bool surroundFails = wanted.surround != MovementTrack::SURROUND_ANY && (surround & wanted.surround) == 0;
    return !moveFails && !surroundFails;
}

}  // namespace

TrickTrainer::TrickTrainer(OcTree& octree)
    : _octree(octree), _trick(), _advicePos(0), _checkPos(0), _stepCount(0), _advice(ADVICE_FAILED),
      _doingTrick(false) {}

void TrickTrainer::trick(const Trick& trick) {
    _trick = trick;
    // Padding a trick of fewer than two steps as well keeps its end from being reported a
    // success before a single step of it has been checked.
    while (_trick.steps().size() < TRAINED_STEPS_MIN) {
        _trick.step(MovementTrack::MOVE_ANY, MovementTrack::SURROUND_ANY);
    }
    clearSteps();
}

void TrickTrainer::beginTrick() {
    _doingTrick = true;
    _stepCount = 0;
    clearSteps();
}

void TrickTrainer::endTrick() {
    _doingTrick = false;
    clearSteps();
}

void TrickTrainer::clearSteps() {
    _advicePos = 0;
    _checkPos = stepCount();
}

void TrickTrainer::step(unsigned int move, unsigned int surround) {
    if (!_doingTrick) {
        return;
    }
    const int n = stepCount();
    if (_advicePos == n) {
        _advice = ADVICE_NONE;
    } else {
        ++_advicePos;
        _advice = adviceFor(flownStep(_advicePos).move);
    }

    if (_stepCount == UNJUDGED_STEPS) {
        _checkPos = 0;
    }
    if (_checkPos != n) {
        if (!stepPasses(flownStep(_checkPos + 1), move, surround)) {
            stopTrick(ADVICE_FAILED);
            return;
        }
        ++_checkPos;
    }
    ++_stepCount;

    if (_checkPos == n && _advicePos == n) {
        stopTrick(ADVICE_SUCCESS);
    }
}

void TrickTrainer::stopTrick(int advice) {
    _advice = advice;
    _doingTrick = false;
    clearSteps();
}

const MovementTrack::Step& TrickTrainer::flownStep(int k) const {
    // The list is newest first: the first step to fly is its last element.
    return *std::next(_trick.steps().rbegin(), k - 1);
}

bool TrickTrainer::trickPossible(const Player& craft, const Trick& trick) const {
    Trick replay = trick;
    // Two trailing wildcards let the replay report the whole trick as ended before its
    // newest step, the form in which a flown trick is scored.
    replay.step(MovementTrack::MOVE_ANY, MovementTrack::SURROUND_ANY);
    replay.step(MovementTrack::MOVE_ANY, MovementTrack::SURROUND_ANY);
    regenerateMovementTrackForDifferentPosition(replay, craft._cell, craft._forward, craft._up);
    return replay.match(trick) == MovementTrack::MATCH_EARLIER;
}

void TrickTrainer::regenerateMovementTrackForDifferentPosition(MovementTrack& track, Vector3<int> cell,
                                                               Vector3<int> forward, Vector3<int> up) const {
    const std::list<MovementTrack::Step> moves = track.steps();
    track.clear();
    const int size = _octree.size();
    for (auto s = moves.rbegin(); s != moves.rend(); ++s) {
        cell = grid::wrapCell(grid::add(cell, forward), size);
        const int surround = _octree.getSurround(cell, forward, up, nullptr);
        track.step(s->move, static_cast<unsigned int>(surround));
        grid::turnHeading(s->move, forward, up);
    }
}

}  // namespace Vortel
