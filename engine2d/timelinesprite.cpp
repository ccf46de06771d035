#include "engine2d/timelinesprite.h"

namespace Stelkor {

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
    const float* const mine[] = {&_pos.x,     &_pos.y,       &_color.r,   &_color.g,   &_color.b,
                           &_color.a,   &_vel.length,  &_vel.angle, &_scale.x,   &_scale.y,
                           &_rotation,  &_acceleration};
    float* const theirs[] = {&target->_pos.x,    &target->_pos.y,      &target->_color.r,  &target->_color.g,
                             &target->_color.b,  &target->_color.a,    &target->_vel.length,
                             &target->_vel.angle, &target->_scale.x,   &target->_scale.y,  &target->_rotation,
                             &target->_acceleration};
    target->_timelines = _timelines;
    for (Timeline<float>& t : target->_timelines) {
        for (std::size_t i = 0; i < sizeof mine / sizeof mine[0]; ++i) {
            if (t.target() == mine[i]) {
                t.targetObject(theirs[i]);
                break;
            }
        }
    }
}

}  // namespace Stelkor
