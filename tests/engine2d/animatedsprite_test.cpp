#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine2d/animatedsprite.h"
#include "engine2d/bitmap.h"
#include "engine2d/imagesequence.h"
#include "tests/support/draw_recorder.h"

using Stelkor::AnimatedSprite;
using Stelkor::ImageSequence;

namespace {

// n frames of 4 x 4 cut from a 16 x 4 strip, freed with the sequence.
struct Frames : ImageSequence {
    Frames(Stelkor::Bitmap& bitmap, int n) : ImageSequence(bitmap, 4, 4, 0, 0, n) {}
    ~Frames() { destroyImages(); }
};

class AnimatedSpriteTest : public ::testing::Test {
protected:
    std::unique_ptr<Frames> frames(int n) { return std::unique_ptr<Frames>(new Frames(bitmap, n)); }

    std::vector<int> run(AnimatedSprite& s, int steps) {
        std::vector<int> seen;
        for (int i = 0; i < steps; ++i) {
            s.animate(0.1);
            seen.push_back(s.frame());
        }
        return seen;
    }

    testsupport::DrawRecorder renderer;
    Stelkor::Bitmap bitmap{Vector2<unsigned int>(16, 4), renderer, RGBA<float>(1, 1, 1, 1)};
};

}  // namespace

TEST_F(AnimatedSpriteTest, LoopRunsItsCyclesThenHoldsTheEndFrame) {
    std::unique_ptr<Frames> seq = frames(4);
    AnimatedSprite s;
    s.sequence(*seq);
    s.frameDelay(0.1);
    s.loop(1, true);
    EXPECT_EQ(run(s, 10), (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 0, 0}));
    EXPECT_EQ(s.animType(), AnimatedSprite::ANIM_HOLD);
    EXPECT_EQ(s.image(), seq->image(0));

    s.loop(3, true);  // cycles used up at the end frame: stays held
    EXPECT_EQ(s.animType(), AnimatedSprite::ANIM_HOLD);

    s.frame(2);
    s.loop(0, false);
    EXPECT_EQ(run(s, 3), (std::vector<int>{1, 0, 0}));
}

TEST_F(AnimatedSpriteTest, PingPongShowsEachEndFrameTwice) {
    std::unique_ptr<Frames> seq = frames(3);
    AnimatedSprite s;
    s.sequence(seq.get());
    s.frameDelay(0.1);
    s.pingPong(5, true);
    EXPECT_EQ(run(s, 8), (std::vector<int>{1, 2, 2, 1, 0, 0, 1, 2}));
    EXPECT_TRUE(s.animForward());
    s.animForward(false);
    EXPECT_FALSE(s.animForward());
}

TEST_F(AnimatedSpriteTest, KeepsTheRemainderOfAStepAndCopiesItsState) {
    std::unique_ptr<Frames> seq = frames(4);
    AnimatedSprite s;
    s.sequence(*seq);
    s.frameDelay(0.1).loop(5, true);
    s.animate(0.35);
    EXPECT_EQ(s.frame(), 3);
    s.animate(0.06);
    EXPECT_EQ(s.frame(), 0);

    s.hold(2);
    s.animate(1.0);
    EXPECT_EQ(s.frame(), 2);
    EXPECT_EQ(s.image(), seq->image(2));

    s.loop(5, true);
    s.pos(3, 4);
    std::unique_ptr<Stelkor::Sprite> copy(s.duplicate());
    AnimatedSprite* animated = dynamic_cast<AnimatedSprite*>(copy.get());
    ASSERT_NE(animated, nullptr);
    EXPECT_EQ(animated->pos(), Vector2<float>(3, 4));
    animated->animate(0.1);
    EXPECT_EQ(animated->frame(), 3);
    EXPECT_EQ(s.frame(), 2);
}

TEST_F(AnimatedSpriteTest, ZeroDelayStepsOncePerCallAndEmptySequencesDoNothing) {
    std::unique_ptr<Frames> seq = frames(4);
    AnimatedSprite s;
    s.sequence(*seq);
    s.frameDelay(0).loop(5, true);
    s.animate(10.0);
    EXPECT_EQ(s.frame(), 1);
    s.animate(0.0);
    EXPECT_EQ(s.frame(), 1);

    ImageSequence empty;
    AnimatedSprite idle;
    idle.sequence(empty);
    idle.loop(1, true);
    idle.animate(1.0);
    EXPECT_EQ(idle.frame(), 0);
    EXPECT_EQ(idle.image(), nullptr);
}
