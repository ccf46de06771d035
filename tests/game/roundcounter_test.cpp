#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine2d/renderer2d.h"
#include "game/roundcounter.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

constexpr double PI = 3.14159265358979323846;

struct ValueCase {
    int segments;
    float given;
    float value;
    int litPairs;
    double angle;
};

TEST(RoundCounter, ValueIsClampedAndLightsWholePairsUpToIt) {
    const double segment = 2 * PI / 30;
    const ValueCase cases[] = {
        {30, 1.5f, 1.0f, 31, PI / 2 - 2 * PI},
        {30, -0.2f, 0.0f, 1, PI / 2},
        {30, std::numeric_limits<float>::quiet_NaN(), 0.0f, 1, PI / 2},
        {30, 0.5f, 0.5f, 16, -PI / 2},
        {30, 0.51f, 0.51f, 16, PI / 2 - 15.3 * segment},
        {0, 1.0f, 1.0f, 2, PI / 2 - 2 * PI},  // counts as one segment
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.given);
        Vortel::RoundCounter dial(40, 50, c.segments);
        dial.value(c.given);
        EXPECT_FLOAT_EQ(dial.value(), c.value);
        EXPECT_EQ(dial.litPairs(), c.litPairs);
        EXPECT_NEAR(dial.angle(), c.angle, 1e-5);
    }
}

// Point i of an array of (x, y) floats.
Vector2<float> point(const std::vector<float>& xy, int i) {
    return Vector2<float>(xy[i * 2], xy[i * 2 + 1]);
}

void expectNear(const Vector2<float>& got, float x, float y) {
    EXPECT_NEAR(got.x, x, 1e-4);
    EXPECT_NEAR(got.y, y, 1e-4);
}

TEST(RoundCounter, RingRunsClockwiseFromTwelveOClockAndCloses) {
    const Vortel::RoundCounter dial(40, 50, 30);
    const std::vector<float>& ring = dial.ringVertices();
    ASSERT_EQ(ring.size(), 31u * 4);
    // Pair i is points 2i (outer) and 2i + 1 (inner).
    expectNear(point(ring, 0), 0, 50);
    expectNear(point(ring, 1), 0, 40);
    expectNear(point(ring, 2 * 5), 50 * std::sin(PI / 3), 50 * std::cos(PI / 3));  // 2 o'clock
    expectNear(point(ring, 2 * 15), 0, -50);
    expectNear(point(ring, 2 * 15 + 1), 0, -40);
    expectNear(point(ring, 2 * 30), 0, 50);
    expectNear(point(ring, 2 * 30 + 1), 0, 40);
}

TEST(RoundCounter, BackgroundIsAFanCounterClockwiseFromTwelveAndASecondReplacesIt) {
    Vortel::RoundCounter dial(10, 10, 25);
    EXPECT_FALSE(dial.hasBackground());
    dial.background(RGBA<float>(1, 0, 0, 1), 20, 30);
    dial.background(RGBA<float>(0, 0, 1, 0.5f), 33, 8);
    EXPECT_EQ(dial.backgroundColor(), RGBA<float>(0, 0, 1, 0.5f));
    const std::vector<float>& fan = dial.backgroundVertices();
    ASSERT_EQ(fan.size(), (8u + 2) * 2);
    expectNear(point(fan, 0), 0, 0);
    expectNear(point(fan, 1), 0, 33);
    expectNear(point(fan, 2), -33 * std::sqrt(0.5f), 33 * std::sqrt(0.5f));
    expectNear(point(fan, 3), -33, 0);
    expectNear(point(fan, 9), 0, 33);
}

// Dials drawn by themselves on a black 800 x 600 screen in the 2D renderer's projection.
class RoundCounterGL : public testsupport::GlFixture {
protected:
    void SetUp() override {
        testsupport::GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        renderer = new Stelkor::Renderer2D;
        renderer->color(0, 0, 0, 1);
        renderer->clear();
    }
    void TearDown() override {
        delete renderer;
        testsupport::GlFixture::TearDown();
    }

    static bool white(const std::vector<unsigned char>& pixels, int x, int y) {
        const unsigned char* p = &pixels[(static_cast<std::size_t>(y) * 800 + x) * 4];
        return p[0] == 255 && p[1] == 255 && p[2] == 255;
    }

    Stelkor::Renderer2D* renderer = nullptr;
};

TEST_F(RoundCounterGL, AQuarterLightsOnlyTheUpperRightOfTheRing) {
    Vortel::RoundCounter dial(40, 50, 30);
    dial.addColorGradientEntry(1, RGBA<float>(1, 1, 1, 1));
    dial.pos(Vector2<float>(100, 100));
    dial.value(0.25f);
    dial.draw();
    const std::vector<unsigned char> pixels = testsupport::readScreen();
    EXPECT_TRUE(white(pixels, 132, 132));
    EXPECT_FALSE(white(pixels, 68, 132));
    EXPECT_FALSE(white(pixels, 132, 68));
    EXPECT_FALSE(white(pixels, 100, 100));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(renderer->_color, RGBA<float>(0, 0, 0, 1));
}

TEST_F(RoundCounterGL, EqualRadiiShowOnlyTheDiscAndNoBackgroundNoDisc) {
    Vortel::RoundCounter withDisc(45, 45, 30);
    withDisc.addColorGradientEntry(0, RGBA<float>(1, 1, 1, 1));
    withDisc.background(RGBA<float>(0, 0, 1, 1), 50, 30);
    withDisc.pos(Vector2<float>(100, 100));
    withDisc.draw();
    std::vector<unsigned char> pixels = testsupport::readScreen();
    EXPECT_EQ(testsupport::pixelsOf(pixels, 255, 255, 255), 0);
    const int disc = testsupport::pixelsOf(pixels, 0, 0, 255);
    EXPECT_NEAR(disc, PI * 50 * 50, PI * 50 * 50 * 0.03);

    renderer->clear();
    Vortel::RoundCounter bare(45, 45, 30);
    bare.addColorGradientEntry(0, RGBA<float>(1, 1, 1, 1));
    bare.pos(Vector2<float>(100, 100));
    bare.draw();
    pixels = testsupport::readScreen();
    EXPECT_EQ(testsupport::pixelsOf(pixels, 0, 0, 0), 800 * 600);
}

}  // namespace
