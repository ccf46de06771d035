#include <gtest/gtest.h>

#include "world/cubecolors.h"

using Vortel::CubeColors;

namespace {

RGBA<float> grey(float level) {
    return RGBA<float>(level, level, level, 1.0f);
}

}  // namespace

TEST(CubeColors, TripletsKeepFloatsAndTruncatedBytes) {
    CubeColors colors;
    EXPECT_EQ(colors.createColorTriplet(RGBA<float>(1, 0.85f, 0.5f, 1), grey(0.7f), RGBA<float>(0, 0, 0, 0.5f)), 0);
    const CubeColors::colorTriplet& t = colors.triplet(0);
    EXPECT_EQ(t.shadeFloats[0], RGBA<float>(1, 0.85f, 0.5f, 1));
    EXPECT_EQ(t.shadeBytes[0], (RGBA<unsigned char>(255, 216, 127, 255)));
    EXPECT_EQ(t.shadeBytes[1], (RGBA<unsigned char>(178, 178, 178, 255)));
    EXPECT_EQ(t.shadeBytes[2], (RGBA<unsigned char>(0, 0, 0, 127)));
    EXPECT_EQ(colors.tripletCount(), 1);
}

TEST(CubeColors, BothTablesWrapAfter255EntriesAndEveryByteIndexReadsInside) {
    CubeColors colors;
    for (int i = 0; i < 255; ++i) {
        EXPECT_EQ(colors.createColorTriplet(grey(i / 255.0f), grey(0), grey(0)), i);
        EXPECT_EQ(colors.createTrailColors(static_cast<unsigned char>(i), 0), i);
    }
    EXPECT_EQ(colors.createColorTriplet(grey(1), grey(1), grey(1)), 0);
    EXPECT_EQ(colors.triplet(0).shadeBytes[2], (RGBA<unsigned char>(255, 255, 255, 255)));
    EXPECT_EQ(colors.createTrailColors(7, 8), 0);
    EXPECT_EQ(colors.trail(0).start, 7);

    EXPECT_EQ(colors.triplet(255).shadeBytes[0], RGBA<unsigned char>());
    EXPECT_EQ(colors.trail(255).start, 0);
    EXPECT_EQ(colors.trail(255).gradients[0].count(), 0);
}

TEST(CubeColors, TrailsHoldTheStartColourForHalfTheTimeThenFadeToTheEnd) {
    CubeColors colors;
    const unsigned char hot = colors.createColorTriplet(RGBA<float>(1, 0, 0, 1), grey(1), grey(0.2f));
    const unsigned char cold = colors.createColorTriplet(RGBA<float>(0, 0, 1, 1), grey(0), grey(0.6f));
    const CubeColors::trailColors& trail = colors.trail(colors.createTrailColors(hot, cold));
    EXPECT_EQ(trail.end, cold);
    EXPECT_EQ(trail.gradients[0].value(0.0f), RGBA<float>(1, 0, 0, 1));
    EXPECT_EQ(trail.gradients[0].value(0.25f), RGBA<float>(1, 0, 0, 1));
    EXPECT_EQ(trail.gradients[0].value(0.75f), RGBA<float>(0.5f, 0, 0.5f, 1));
    EXPECT_EQ(trail.gradients[1].value(0.75f), grey(0.5f));
    EXPECT_FLOAT_EQ(trail.gradients[2].value(0.75f).r, 0.4f);
    EXPECT_EQ(trail.gradients[0].value(1.0f), RGBA<float>(0, 0, 1, 1));
}

TEST(CubeColors, ScalingByAFactorAndItsInverseGivesEverythingBack) {
    CubeColors colors;
    colors.createColorTriplet(RGBA<float>(0.9f, 0.3f, 0.7f, 0.8f), grey(0.33f), grey(1));
    colors.createColorTriplet(RGBA<float>(0.1f, 0.2f, 0.6f, 1), grey(0.5f), grey(0.05f));
    colors.createTrailColors(0, 1);
    const CubeColors before = colors;

    colors.scaleTrailColors(0.5f);
    EXPECT_EQ(colors.triplet(0).shadeFloats[0], RGBA<float>(0.45f, 0.15f, 0.35f, 0.8f));
    EXPECT_EQ(colors.triplet(0).shadeBytes[0], (RGBA<unsigned char>(114, 38, 89, 204)));
    EXPECT_EQ(colors.trail(0).gradients[0].value(0.0f), colors.triplet(0).shadeFloats[0]);

    colors.scaleTrailColors(2.0f);
    for (unsigned char i : {0, 1}) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(colors.triplet(i).shadeFloats[k], before.triplet(i).shadeFloats[k]);
            EXPECT_EQ(colors.triplet(i).shadeBytes[k], before.triplet(i).shadeBytes[k]);
            for (float t : {0.0f, 0.6f, 0.8f, 1.0f}) {
                EXPECT_EQ(colors.trail(0).gradients[k].value(t), before.trail(0).gradients[k].value(t));
            }
        }
    }
}

TEST(CubeColors, BytesAreHeldInsideTheirRange) {
    EXPECT_EQ(CubeColors::toBytes(RGBA<float>(2, -1, 0.999f, 1)), (RGBA<unsigned char>(255, 0, 254, 255)));
}
