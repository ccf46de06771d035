#include "engine2d/animatedsprite.h"

#include "engine2d/imagesequence.h"

namespace Stelkor {

AnimatedSprite::AnimatedSprite()
    : _type(ANIM_HOLD),
      _sequence(nullptr),
      _frame(0),
      _frameDelay(0.01),
      _frameTime(0),
      _step(1),
      _cycles(1),
      _cycleEndFrame(0) {}

AnimatedSprite& AnimatedSprite::frameDelay(double delay) {
    _frameDelay = delay;
    _frameTime = 0;
    return *this;
}

void AnimatedSprite::frame(int f) {
    _frame = f;
    _frameTime = 0;
}

void AnimatedSprite::hold(int f) {
    _frameTime = 0;
    _frame = f;
    _type = ANIM_HOLD;
}

void AnimatedSprite::loop(int cycles, bool forward) {
    start(ANIM_LOOP, cycles, forward);
}

void AnimatedSprite::pingPong(int cycles, bool forward) {
    start(ANIM_PINGPONG, cycles, forward);
}

// A sprite that has used up its cycles at its end frame stays there.
void AnimatedSprite::start(atype t, int cycles, bool forward) {
    if (_cycles == 0 && _frame == _cycleEndFrame) {
        hold(_frame);
        return;
    }
    _frameTime = 0;
    _cycles = cycles;
    _type = t;
    _step = forward ? 1 : -1;
}

AnimatedSprite& AnimatedSprite::animForward(bool forward) {
    _step = forward ? 1 : -1;
    return *this;
}

int AnimatedSprite::stepsDue(double dt) {
    if (_frameDelay <= 0) {
        return dt > 0 ? 1 : 0;
    }
    _frameTime += dt;
    const int steps = static_cast<int>(_frameTime / _frameDelay);
    _frameTime -= steps * _frameDelay;
    return steps;
}

void AnimatedSprite::advance(int steps, int count) {
    while (steps > 0 && _type != ANIM_HOLD) {
        _frame += _step;
        if (_type == ANIM_LOOP) {
            if (_frame < 0) {
                _frame = count - 1;
            } else if (_frame >= count) {
                _frame = 0;
            }
        } else if (_frame < 0 || _frame >= count) {
            // Back to the frame it came from, so each end frame shows for two steps.
            _frame -= _step;
            _step = -_step;
        }
        --steps;
        if (_frame == _cycleEndFrame) {
            if (_cycles == 0) {
                hold(_frame);
            } else {
                --_cycles;
            }
        }
    }
}

void AnimatedSprite::animate(double dt) {
    animateLocal(dt);
    const int count = _sequence ? _sequence->count() : 0;
    if (count == 0) {
        return;
    }
    if (_type != ANIM_HOLD) {
        advance(stepsDue(dt), count);
    }
    if (Image* const img = _sequence->image(_frame)) {
        image(*img);
    }
}

Sprite* AnimatedSprite::duplicate() const {
    AnimatedSprite* const copy = new AnimatedSprite;
    Sprite::copyTo(copy);
    copyTo(copy);
    return copy;
}

void AnimatedSprite::copyTo(AnimatedSprite* target) const {
    target->_type = _type;
    target->_sequence = _sequence;
    target->_frame = _frame;
    target->_frameDelay = _frameDelay;
    target->_frameTime = _frameTime;
    target->_step = _step;
    target->_cycles = _cycles;
    target->_cycleEndFrame = _cycleEndFrame;
}

}  // namespace Stelkor
