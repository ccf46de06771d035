#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine2d/timeline.h"
#include "engine2d/timelinesprite.h"

using Stelkor::Sprite;
using Stelkor::Timeline;
using Stelkor::TimelineSprite;

namespace {

using Key = Timeline<float>::Keyframe;
const int ABS = Timeline<float>::KEY_ABSOLUTE;
const int REL = Timeline<float>::KEY_RELATIVE;

Timeline<float> track(float& target, std::initializer_list<Key> keys, bool loop) {
    Timeline<float> t;
    t.targetObject(target);
    t.loop = loop;
    for (const Key& k : keys) {
        t.addKey(k);
    }
    return t;
}

}  // namespace

TEST(Timeline, InterpolatesBetweenAbsoluteKeysAndHoldsOrWrapsAtTheEnd) {
    float once = -1;
    Timeline<float> oneShot = track(once, {{2, 10, ABS}, {0, 0, ABS}}, false);  // sorted on adding
    oneShot.animate(0.5);
    EXPECT_FLOAT_EQ(once, 2.5f);
    oneShot.animate(1.5);
    EXPECT_FLOAT_EQ(once, 10);
    once = 3;
    oneShot.animate(1.0);
    EXPECT_FLOAT_EQ(once, 3);  // finished: left alone

    float looped = -1;
    Timeline<float> cycle = track(looped, {{0, 0, ABS}, {2, 10, ABS}}, true);
    cycle.animate(0.5);
    cycle.animate(1.6);  // passes the end: wraps once without writing
    EXPECT_FLOAT_EQ(looped, 2.5f);
    EXPECT_NEAR(cycle.time(), 0.1, 1e-9);
    cycle.animate(0.1);
    EXPECT_NEAR(looped, 1.0f, 1e-5);

    cycle.animate(100.0);  // one wrap per step, however long the step
    EXPECT_NEAR(cycle.time(), 98.2, 1e-9);
}

TEST(Timeline, RelativeKeysAddToTheValueReached) {
    float v = 0;
    Timeline<float> t = track(v, {{0, 5, ABS}, {1, 2, REL}, {2, 2, REL}}, true);
    t.animate(1.5);
    EXPECT_FLOAT_EQ(v, 8);
    t.animate(0.5);  // wraps to time 0
    t.animate(0.0);
    EXPECT_FLOAT_EQ(v, 5);  // the first key's 5 again, not 9 + 5

    float w = 0;
    Timeline<float> oneShot = track(w, {{0, 5, ABS}, {1, 2, REL}}, false);
    oneShot.animate(3);
    EXPECT_FLOAT_EQ(w, 7);  // the sum reached, not the last increment
}

TEST(Timeline, LeavesTheTargetAloneBeforeTheFirstKeyAndWhenUnbound) {
    float v = 42;
    Timeline<float> t = track(v, {{1, 0, ABS}, {2, 10, ABS}}, false);
    t.animate(0.5);
    EXPECT_FLOAT_EQ(v, 42);
    t.animate(1.0);
    EXPECT_FLOAT_EQ(v, 5);

    Timeline<float> unbound;
    unbound.addKey({0, 1, ABS});
    unbound.animate(1.0);
    EXPECT_EQ(unbound.time(), 0.0);
}

TEST(Timeline, KeyAtZeroAloneWritesOnlyWhenNotLooping) {
    float v = 7;
    Timeline<float> looping = track(v, {{0, 3, ABS}}, true);
    looping.animate(0.1);
    looping.animate(0.1);
    EXPECT_FLOAT_EQ(v, 7);

    Timeline<float> once = track(v, {{0, 3, ABS}}, false);
    once.animate(0.1);
    EXPECT_FLOAT_EQ(v, 3);
    v = 1;
    once.animate(0.1);
    EXPECT_FLOAT_EQ(v, 1);
    once.rewind();
    once.animate(0.1);
    EXPECT_FLOAT_EQ(v, 3);
}

TEST(Timeline, AddingAKeyRestartsAndColoursInterpolatePerChannel) {
    float v = 0;
    Timeline<float> t = track(v, {{0, 0, ABS}, {1, 10, ABS}}, true);
    t.animate(0.5);
    t.addKey({2, 0, ABS});
    EXPECT_EQ(t.time(), 0.0);

    RGBA<float> c;
    Timeline<RGBA<float> > fade;
    fade.targetObject(&c);
    fade.addKey({0, RGBA<float>(1, 1, 1, 1), 1});
    fade.addKey({1, RGBA<float>(0, 1, 0.5f, -1), 0});
    fade.animate(0.5);
    EXPECT_EQ(c, RGBA<float>(1, 1.5f, 1.25f, 0.5f));
}

TEST(Timeline, SineKeysSampleFromTheLastKeyOn) {
    Timeline<float> t;
    t.addKey({1, 0, ABS});
    t.addSineKeys(2, -10, 0.35f, 0, 0.7f, 3);
    ASSERT_EQ(t.keys().size(), 4u);
    EXPECT_DOUBLE_EQ(t.keys()[1].time, 1.0);
    EXPECT_NEAR(t.keys()[2].time, 1.35, 1e-6);
    EXPECT_NEAR(t.keys()[3].value, 2 * std::sin(std::acos(-1.0) / 2 / 0.35 * 1.7) - 10, 1e-4);

    Timeline<float> none;
    none.addSineKeys(1, 0, 1, 0, 1, 0);
    EXPECT_TRUE(none.keys().empty());
    none.addSineKeys(1, 0, 1, 1, 1, 1);
    ASSERT_EQ(none.keys().size(), 1u);
    EXPECT_FLOAT_EQ(none.keys()[0].value, 1);
}

TEST(TimelineSprite, PausedSpriteMovesButItsTimelinesStandStill) {
    TimelineSprite s;
    Timeline<float> fade = track(s._color.a, {{0, 1, ABS}, {1, 0, ABS}}, false);
    s.setTimeline(s._color.a, fade);
    s.vel(10, 0);
    s.pause(true);
    s.animate(0.5);
    EXPECT_FLOAT_EQ(s.pos().x, 5);
    EXPECT_FLOAT_EQ(s._color.a, 1);
    s.pause(false);
    s.animate(0.5);
    EXPECT_FLOAT_EQ(s._color.a, 0.5f);
}

TEST(TimelineSprite, SettingTheSameFieldTwiceKeepsTheSecondCopy) {
    TimelineSprite s;
    Timeline<float> first = track(s._scale.x, {{0, 1, ABS}}, false);
    Timeline<float> second;
    second.loop = false;
    second.addKey({0, 4, ABS});
    s.setTimeline(s._scale.x, first);
    s.setTimeline(s._scale.x, second);
    EXPECT_EQ(second.target(), &s._scale.x);
    ASSERT_EQ(s.timelines().size(), 1u);
    second.addKey({0, 9, ABS});  // the sprite holds a copy
    s.animate(0.1);
    EXPECT_FLOAT_EQ(s._scale.x, 4);

    s.rewindNonLoopingTimelines();
    s._scale.x = 0;
    s.animate(0.1);
    EXPECT_FLOAT_EQ(s._scale.x, 4);
}

TEST(TimelineSprite, DuplicateDrivesItsOwnFieldsAndLeavesOtherTargetsAlone) {
    float outside = 0;
    std::unique_ptr<TimelineSprite> source(new TimelineSprite);
    Timeline<float> move = track(source->_pos.x, {{0, 0, ABS}, {1, 100, ABS}}, true);
    Timeline<float> turn = track(source->_spin, {{0, 0, ABS}, {1, 10, ABS}}, true);
    Timeline<float> other = track(outside, {{0, 0, ABS}, {1, 1, ABS}}, true);
    source->setTimeline(source->_pos.x, move);
    source->setTimeline(source->_spin, turn);
    Timeline<float> copyOfOther = other;
    source->timelines().push_back(copyOfOther);

    std::unique_ptr<Sprite> copy(source->duplicate());
    copy->animate(0.5);
    EXPECT_FLOAT_EQ(copy->pos().x, 50);
    EXPECT_FLOAT_EQ(source->pos().x, 0);
    EXPECT_FLOAT_EQ(source->_spin, 5);  // spin is not re-aimed
    EXPECT_FLOAT_EQ(outside, 0.5f);

    source->animate(0.25);
    EXPECT_FLOAT_EQ(source->pos().x, 25);
    EXPECT_FLOAT_EQ(copy->pos().x, 50);
}
