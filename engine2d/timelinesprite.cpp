#include "engine2d/timelinesprite.h"

#include <utility>

namespace Stelkor {

namespace {

// The fields of a sprite whose timelines a copy takes over: one list, read for the source and
// for the copy alike, so the two cannot fall out of step.
template <typename S>
std::array<decltype(&std::declval<S&>()._rotation), 12> animatedFields(S& s) {
    return {&s._pos.x,      &s._pos.y,     &s._color.r, &s._color.g, &s._color.b,  &s._color.a,
            &s._vel.length, &s._vel.angle, &s._scale.x, &s._scale.y, &s._rotation, &s._acceleration};
}

}  // namespace

void TimelineSprite::animate(double dt) {
    animateLocal(dt);
    animateTimelines(dt);
}

void TimelineSprite::animateTimelines(double dt) {
    if (_paused) {
        return;
    }
    for (Timeline<float>& t : _timelines) {
        t.animate(dt);
    }
}

Sprite* TimelineSprite::duplicate() const {
    TimelineSprite* const copy = new TimelineSprite;
    Sprite::copyTo(copy);
    copyTo(copy);
    return copy;
}

void TimelineSprite::setTimeline(float& field, Timeline<float>& timeline) {
    timeline.targetObject(field);
    for (Timeline<float>& t : _timelines) {
        if (t.target() == &field) {
            t = timeline;
            return;
        }
    }
    _timelines.push_back(timeline);
}

void TimelineSprite::rewindAllTimelines() {
    for (Timeline<float>& t : _timelines) {
        t.rewind();
    }
}

void TimelineSprite::rewindNonLoopingTimelines() {
    for (Timeline<float>& t : _timelines) {
        if (!t.loop) {
            t.rewind();
        }
    }
}

void TimelineSprite::copyTo(TimelineSprite* target) const {
    if (target == this) {
        return;
    }
    target->_timelines = _timelines;
    target->reaimTimelines(animatedFields(*this), animatedFields(*target));
}

}  // namespace Stelkor
