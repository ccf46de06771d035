#include <gtest/gtest.h>

#include <random>

#include "platform/mrand.h"

namespace {

enum class Kind { A, B, C };

using Colour = RGBA<float>;

void expectColour(const Colour& c, float r, float g, float b, float a) {
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
    EXPECT_FLOAT_EQ(c.a, a);
}

}  // namespace

TEST(RandGeneratorTest, DefaultSeedGivesTheReferenceSequence) {
    RandGenerator gen;
    EXPECT_DOUBLE_EQ(gen.rand(), 3499211612.0 / 4294967295.0);

    // Well past one regeneration of the state, seeded and default alike.
    std::mt19937 reference;
    RandGenerator fresh;
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(fresh.rand(), static_cast<double>(reference()) / 4294967295.0) << "draw " << i;
    }
    reference.seed(20061u);
    fresh.seed(20061u);
    for (int i = 0; i < 1300; ++i) {
        ASSERT_EQ(fresh.rand(), static_cast<double>(reference()) / 4294967295.0) << "draw " << i;
    }
}

TEST(RandGeneratorTest, ScalesIntoTheRange) {
    RandGenerator gen;
    RandGenerator same;
    for (int i = 0; i < 1000; ++i) {
        const double r = gen.rand(-2.0, 6.0);
        ASSERT_DOUBLE_EQ(r, same.rand() * 8.0 - 2.0);
        ASSERT_GE(r, -2.0);
        ASSERT_LE(r, 6.0);
    }
}

TEST(RandWeightedTest, FirstEntryWhoseRunningSumReachesTheDraw) {
    RandWeighted<Kind> chooser;
    chooser.addValue(Kind::A, 1.0f);
    chooser.addValue(Kind::B, 3.0f);
    EXPECT_FLOAT_EQ(chooser.totalWeight(), 4.0f);
    EXPECT_EQ(chooser.valueAt(0.0), Kind::A);
    EXPECT_EQ(chooser.valueAt(1.0), Kind::A);
    EXPECT_EQ(chooser.valueAt(1.0001), Kind::B);
    EXPECT_EQ(chooser.valueAt(4.0), Kind::B);

    // Re-adding a value changes its weight in place; a zero weight is only hit by a zero draw.
    chooser.addValue(Kind::A, 0.0f);
    ASSERT_EQ(chooser.entries().size(), 2u);
    EXPECT_EQ(chooser.entries().front().value, Kind::A);
    EXPECT_FLOAT_EQ(chooser.totalWeight(), 3.0f);
    EXPECT_EQ(chooser.valueAt(0.0), Kind::A);
    EXPECT_EQ(chooser.valueAt(1e-9), Kind::B);
}

TEST(RandWeightedTest, DrawsFollowItsOwnSeededGenerator) {
    RandWeighted<Kind> chooser;
    chooser.addValue(Kind::A, 1.0f);
    chooser.addValue(Kind::B, 2.0f);
    chooser.addValue(Kind::C, 1.0f);
    chooser.seed(77u);
    RandGenerator mirror;
    mirror.seed(77u);
    int counts[3] = {0, 0, 0};
    for (int i = 0; i < 4000; ++i) {
        const Kind k = chooser();
        ASSERT_EQ(k, chooser.valueAt(mirror.rand(0.0, 4.0)));
        ++counts[static_cast<int>(k)];
    }
    EXPECT_NEAR(counts[1] / 4000.0, 0.5, 0.05);
    EXPECT_GT(counts[0], 0);
    EXPECT_GT(counts[2], 0);
}

TEST(RandWeightedTest, UnreachableDrawsStillGiveAValue) {
    RandWeighted<Kind> empty;
    EXPECT_EQ(empty(), Kind());

    RandWeighted<Kind> chooser;
    chooser.addValue(Kind::A, 1.0f);
    chooser.addValue(Kind::C, 1.0f);
    EXPECT_EQ(chooser.valueAt(2.5), Kind::C);
}

TEST(GradientTest, RampsBetweenStopsAndClampsAtBothEnds) {
    Gradient<Colour> ramp;
    EXPECT_EQ(ramp.value(0.3f), Colour());

    ramp.addEntry(1.0f, Colour(1, 1, 1, 1));
    expectColour(ramp.value(-5.0f), 1, 1, 1, 1);

    ramp.addEntry(0.0f, Colour(0, 0, 0, 1));
    expectColour(ramp.value(0.25f), 0.25f, 0.25f, 0.25f, 1);
    expectColour(ramp.value(-1.0f), 0, 0, 0, 1);
    expectColour(ramp.value(0.0f), 0, 0, 0, 1);
    expectColour(ramp.value(1.0f), 1, 1, 1, 1);
    expectColour(ramp.value(2.0f), 1, 1, 1, 1);
    EXPECT_EQ(ramp.count(), 2);

    ramp.clear();
    EXPECT_EQ(ramp.count(), 0);
    EXPECT_EQ(ramp.value(0.5f), Colour());
}

TEST(GradientTest, EqualPositionStopsKeepInsertionOrder) {
    // A flash held for half a second, then a fade: the shape the game's ramps take.
    Gradient<Colour> ramp(0.0f, 10.0f);
    ramp.addEntry(1.5f, Colour(0, 0, 1, 1));
    ramp.addEntry(0.5f, Colour(1, 0, 0, 1));
    ramp.addEntry(0.5f, Colour(0, 1, 0, 1));
    ramp.addEntry(0.0f, Colour(1, 0, 0, 1));
    ASSERT_EQ(ramp.count(), 4);
    EXPECT_EQ(ramp.entries()[1].value, Colour(1, 0, 0, 1));
    EXPECT_EQ(ramp.entries()[2].value, Colour(0, 1, 0, 1));

    expectColour(ramp.value(0.5f), 0, 1, 0, 1);
    expectColour(ramp.value(0.25f), 1, 0, 0, 1);
    expectColour(ramp.value(1.0f), 0, 0.5f, 0.5f, 1);
}

TEST(GradientTest, RangeIsKeptInOrderAndStopsOutsideItStillAct) {
    const Gradient<Colour> swapped(1.0f, 0.0f);
    EXPECT_EQ(swapped.min(), 0.0f);
    EXPECT_EQ(swapped.max(), 1.0f);

    Gradient<float> ramp;
    ramp.addEntry(0.0f, 0.0f);
    ramp.addEntry(5.0f, 10.0f);
    EXPECT_FLOAT_EQ(ramp.value(2.5f), 5.0f);
    EXPECT_FLOAT_EQ(ramp.value(7.0f), 10.0f);
}
