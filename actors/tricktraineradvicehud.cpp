#include "actors/tricktraineradvicehud.h"

#include <cstddef>

#include "engine2d/timeline.h"
#include "platform/math.h"

namespace Vortel {
namespace {

constexpr float PI = TRUE_PI<float>;

const RGBA<float> GREEN(0, 1, 0, 1);
const RGBA<float> YELLOW(1, 1, 0, 1);
const RGBA<float> WHITE(1, 1, 1, 1);
const RGBA<float> RED(1, 0, 0, 1);

// Swings the scale from 1.0 up to 1.35 and back every 0.2 s.
Stelkor::Timeline<float> pulse() {
    Stelkor::Timeline<float> timeline;
    timeline.addSineKeys(0.35f, 1.0f, 0.1f, 0.0f, 0.2f, 10);
    return timeline;
}

void makePrototype(Stelkor::TimelineSprite& arrow, float rotation, Stelkor::Timeline<float>& pulse) {
    arrow._rotation = rotation;
    arrow.setTimeline(arrow._scale.x, pulse);
    arrow.setTimeline(arrow._scale.y, pulse);
    arrow.pause(true);
}

// A pulse restarted later begins again from its first key, which is the rest size.
void holdStill(Stelkor::TimelineSprite& arrow, const RGBA<float>& colour) {
    arrow.color(colour);
    arrow._scale.set(1, 1);
    arrow.rewindAllTimelines();
    arrow.pause(true);
}

void startPulsing(Stelkor::TimelineSprite& arrow) {
    arrow.color(YELLOW);
    arrow._scale.set(1, 1);
    arrow.rewindAllTimelines();
    arrow.pause(false);
}

}  // namespace

TrickTrainerAdviceHud::TrickTrainerAdviceHud()
    : _rowSprite(),
      _arrowLeft(),
      _arrowRight(),
      _arrowUp(),
      _arrowDown(),
      _trick(),
      _arrows(),
      _currentStep(0),
      _ended(true),
      _arrowSpacing(80.0f),
      _displayTimer(0.0),
      _displayTime(1.0) {
    Stelkor::Timeline<float> scalePulse = pulse();
    makePrototype(_arrowUp, -PI / 2, scalePulse);
    makePrototype(_arrowDown, PI / 2, scalePulse);
    makePrototype(_arrowRight, PI, scalePulse);
    makePrototype(_arrowLeft, 0.0f, scalePulse);
}

void TrickTrainerAdviceHud::arrowImage(Stelkor::Image& image) {
    _arrowLeft.image(image);
    _arrowRight.image(image);
    _arrowUp.image(image);
    _arrowDown.image(image);
}

void TrickTrainerAdviceHud::center(const Vector2<float>& point) {
    _rowSprite.pos(point);
}

void TrickTrainerAdviceHud::clear() {
    _rowSprite._visible = false;
}

void TrickTrainerAdviceHud::clearSpriteHilites() {
    for (Stelkor::TimelineSprite* arrow : _arrows) {
        arrow->color(WHITE);
    }
}

Stelkor::TimelineSprite* TrickTrainerAdviceHud::newArrow(unsigned int move) const {
    const Stelkor::TimelineSprite* prototype = nullptr;
    switch (move) {
        case MovementTrack::MOVE_LEFT: prototype = &_arrowLeft; break;
        case MovementTrack::MOVE_RIGHT: prototype = &_arrowRight; break;
        case MovementTrack::MOVE_UP: prototype = &_arrowUp; break;
        case MovementTrack::MOVE_DOWN: prototype = &_arrowDown; break;
        default: break;  // straight or any move: an empty place in the row
    }
    Stelkor::TimelineSprite* const arrow = new Stelkor::TimelineSprite;
    if (prototype) {
        prototype->Sprite::copyTo(arrow);
        prototype->copyTo(arrow);
    }
    return arrow;
}

void TrickTrainerAdviceHud::trick(const Trick& trick) {
    _trick = trick;
    const int n = stepCount();
    _currentStep = n;
    _ended = true;
    _rowSprite.deleteChildren();
    _arrows.clear();
    _arrows.reserve(static_cast<std::size_t>(n));

    // The step list is newest first, so the row is built from its end.
    float x = static_cast<float>(n) * _arrowSpacing * -0.5f;
    for (auto s = _trick.steps().rbegin(); s != _trick.steps().rend(); ++s) {
        Stelkor::TimelineSprite* const arrow = newArrow(s->move);
        arrow->pos(x, 0.0f);
        x += _arrowSpacing;
        arrow->parent(&_rowSprite);
        arrow->pause(true);
        _arrows.push_back(arrow);
    }
}

void TrickTrainerAdviceHud::beginTrick() {
    _rowSprite._visible = true;
    _currentStep = stepCount();
    _ended = false;
    clearSpriteHilites();
    _displayTimer = _displayTime;
}

void TrickTrainerAdviceHud::step() {
    if (_ended) {
        return;
    }
    const int n = stepCount();
    _currentStep = _currentStep == n ? 0 : _currentStep + 1;
    // Checked after either move, so a row without steps ends at once rather than never.
    if (_currentStep == n) {
        endTrickSuccess();
        return;
    }
    recolour();
}

void TrickTrainerAdviceHud::recolour() {
    for (int i = 0; i < static_cast<int>(_arrows.size()); ++i) {
        Stelkor::TimelineSprite& arrow = *_arrows[static_cast<std::size_t>(i)];
        if (i == _currentStep) {
            startPulsing(arrow);
        } else {
            holdStill(arrow, i < _currentStep ? GREEN : WHITE);
        }
    }
}

void TrickTrainerAdviceHud::endTrick() {
    _ended = true;
    if (_currentStep == stepCount()) {
        // The failure came at the last check, after the row had turned green (or before any step).
        if (!_arrows.empty()) {
            holdStill(*_arrows.back(), RED);
        }
    } else {
        const std::size_t current = static_cast<std::size_t>(_currentStep);
        holdStill(*_arrows[current], WHITE);
        if (current > 0) {
            holdStill(*_arrows[current - 1], RED);
        }
    }
    _currentStep = stepCount();
}

void TrickTrainerAdviceHud::endTrickSuccess() {
    for (Stelkor::TimelineSprite* arrow : _arrows) {
        holdStill(*arrow, GREEN);
    }
    _ended = true;
    _currentStep = stepCount();
}

void TrickTrainerAdviceHud::animate(double dt) {
    _rowSprite.animate(dt);
    if (_ended) {
        _displayTimer -= dt;
    }
}

void TrickTrainerAdviceHud::draw() {
    if (_displayTimer > 0) {
        _rowSprite.drawLocal(true);
    } else {
        _displayTimer = 0;
    }
}

}  // namespace Vortel
