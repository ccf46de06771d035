#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine2d/renderer2d.h"
#include "game/roundcounter.h"
#include "platform/math.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

constexpr double PI = TRUE_PI<double>;

TEST(RoundCounter, ValueIsClampedAndLightsWholePairsUpToIt) {
    const struct {
        int segments;
        float given, value;
        int litPairs;
        double angle;
    } cases[] = {
        {30, 1.5f, 1, 31, PI / 2 - 2 * PI},
        {30, -0.2f, 0, 1, PI / 2},
        {30, std::numeric_limits<float>::quiet_NaN(), 0, 1, PI / 2},
        {30, 0.5f, 0.5f, 16, -PI / 2},
        {30, 0.51f, 0.51f, 16, PI / 2 - 15.3 * 2 * PI / 30},
        {0, 1, 1, 2, PI / 2 - 2 * PI},  // no segments count as one
    };
    for (const auto& c : cases) {
        Vortel::RoundCounter dial(40, 50, c.segments);
        dial.value(c.given);
        EXPECT_FLOAT_EQ(dial.value(), c.value) << c.given;
        EXPECT_EQ(dial.litPairs(), c.litPairs) << c.given;
        EXPECT_NEAR(dial.angle(), c.angle, 1e-5) << c.given;
    }
}

// Point i of an array of (x, y) floats is near (x, y).
void expectPoint(const std::vector<float>& xy, int i, double x, double y) {
    EXPECT_NEAR(xy.at(i * 2), x, 1e-5) << "point " << i;
    EXPECT_NEAR(xy.at(i * 2 + 1), y, 1e-5) << "point " << i;
}

TEST(RoundCounter, RingRunsClockwiseAndDiscCounterClockwiseFromTwelveOClock) {
    Vortel::RoundCounter dial(40, 50, 30);
    const std::vector<float>& ring = dial.ringVertices();  // pair i: points 2i (outer), 2i + 1
    ASSERT_EQ(ring.size(), 31u * 4);
    expectPoint(ring, 0, 0, 50);
    expectPoint(ring, 1, 0, 40);
    expectPoint(ring, 2 * 5, 50 * std::sin(PI / 3), 50 * std::cos(PI / 3));  // 2 o'clock
    expectPoint(ring, 2 * 15, 0, -50);
    expectPoint(ring, 2 * 30, 0, 50);
    expectPoint(ring, 2 * 30 + 1, 0, 40);

    dial.background(RGBA<float>(1, 0, 0, 1), 20, 30);
    dial.background(RGBA<float>(0, 0, 1, 0.5f), 33, 8);
    EXPECT_EQ(dial.backgroundColor(), RGBA<float>(0, 0, 1, 0.5f));
    const std::vector<float>& fan = dial.backgroundVertices();
    ASSERT_EQ(fan.size(), (8u + 2) * 2);
    expectPoint(fan, 0, 0, 0);
    expectPoint(fan, 1, 0, 33);
    expectPoint(fan, 3, -33, 0);
    expectPoint(fan, 9, 0, 33);
}

using RoundCounterGL = testsupport::GlFixture;

bool white(const std::vector<unsigned char>& pixels, int x, int y) {
    const unsigned char* p = &pixels[(static_cast<std::size_t>(y) * 800 + x) * 4];
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

TEST_F(RoundCounterGL, RingLightsClockwiseOverItsDisc) {
    Stelkor::Renderer2D renderer;  // the 800 x 600 projection, y up
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    Vortel::RoundCounter quarter(40, 50, 30);
    quarter.addColorGradientEntry(1, RGBA<float>(1, 1, 1, 1));
    quarter.pos(Vector2<float>(100, 100));
    quarter.value(0.25f);
    quarter.draw();
    std::vector<unsigned char> pixels = testsupport::readScreen();
    EXPECT_TRUE(white(pixels, 132, 132));
    EXPECT_FALSE(white(pixels, 68, 132));
    EXPECT_FALSE(white(pixels, 132, 68));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(renderer._color, RGBA<float>(0, 0, 0, 1));

    renderer.clear();
    Vortel::RoundCounter flat(45, 45, 30);
    flat.addColorGradientEntry(0, RGBA<float>(1, 1, 1, 1));
    flat.pos(Vector2<float>(100, 100));
    flat.draw();
    EXPECT_EQ(testsupport::pixelsOf(testsupport::readScreen(), 0, 0, 0), 800 * 600);  // no disc
    flat.background(RGBA<float>(0, 0, 1, 1), 50, 30);
    flat.draw();
    pixels = testsupport::readScreen();
    EXPECT_EQ(testsupport::pixelsOf(pixels, 255, 255, 255), 0);
    EXPECT_NEAR(testsupport::pixelsOf(pixels, 0, 0, 255), PI * 50 * 50, PI * 50 * 50 * 0.03);
}

}  // namespace
