#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine2d/renderer2d.h"
#include "game/bottombar.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/support/helpers.h"

using Stelkor::Renderer2D;
using Vortel::BottomBar;

namespace {

using testsupport::expectColor;

const RGBA<float> kRed(1, 0, 0, 1);
const RGBA<float> kBlue(0, 0, 1, 1);

}  // namespace

TEST(BottomBarTest, SlidesToItsTargetAndShowsAnOvershootForOneFrame) {
    struct Case {
        float from;
        float to;
        float speed;
        std::vector<double> frames;
        std::vector<float> heights;  // after each frame
    };
    const Case cases[] = {
        {95, 100, 50, {0.2, 0.2, 0.2}, {105, 100, 100}},
        {200, 20, 600, {0.15, 0.15, 0.1}, {110, 20, 20}},
        {20, -1, 600, {0.03, 0.03, 0.03}, {2, -16, -1}},  // slides out of view
        {50, 50, 600, {0.1}, {50}},                       // already there: at rest
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        Renderer2D renderer;
        BottomBar bar(renderer);
        bar.set(c.from, 0);
        bar.set(c.to, c.speed);
        EXPECT_EQ(bar.targetHeight(), c.to);
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            bar.animate(c.frames[i]);
            EXPECT_NEAR(bar.height(), c.heights[i], 1e-3) << "frame " << i;
        }
    }
}

TEST(BottomBarTest, ColourFadesOverTheJourneyAndArrivesWithTheBar) {
    Renderer2D renderer;
    BottomBar bar(renderer);
    bar.set(200, 0, kRed);
    bar.set(20, 600, kBlue);
    expectColor(bar.color(), kRed);
    bar.animate(0.15);
    expectColor(bar.color(), RGBA<float>(0.5f, 0, 0.5f, 1));
    bar.animate(0.15);
    EXPECT_FLOAT_EQ(bar.height(), 20);
    expectColor(bar.color(), kBlue);

    // A colour set between two set() calls lasts until the next animate, and the next set
    // fades from it.
    const RGBA<float> green(0, 1, 0, 1);
    bar.color(green);
    expectColor(bar.color(), green);
    bar.animate(0.0);
    expectColor(bar.color(), kBlue);
    bar.color(green);
    bar.set(80, 600);
    expectColor(bar.color(), green);
    bar.animate(0.1);
    expectColor(bar.color(), green);

    // Set to the height it has: the new colour at once.
    bar.set(80, 600, kRed);
    expectColor(bar.color(), kRed);
    bar.animate(0.1);
    EXPECT_FLOAT_EQ(bar.height(), 80);
}

TEST(BottomBarTest, ASpeedThatIsNotAboveZeroOrNotFiniteArrivesAtOnce) {
    const float speeds[] = {0.0f, -5.0f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (const float speed : speeds) {
        SCOPED_TRACE(speed);
        Renderer2D renderer;
        BottomBar bar(renderer);
        bar.set(100, speed, kRed);
        EXPECT_EQ(bar.height(), 100);
        expectColor(bar.color(), kRed);
        bar.animate(0.1);
        EXPECT_EQ(bar.height(), 100);
        expectColor(bar.color(), kRed);
    }
}

namespace {

using BottomBarGL = testsupport::GlFixture;

}  // namespace

TEST_F(BottomBarGL, PaintsTheBottomRowsAcrossTheViewport) {
    Renderer2D renderer;
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    BottomBar bar(renderer);
    bar.set(100, 0, kRed);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(13, 40, 0);  // the bar places itself regardless
    bar.draw();

    GLfloat current[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ(RGBA<float>(current[0], current[1], current[2], current[3]), kRed);

    const std::vector<unsigned char> screen = testsupport::readScreen();
    EXPECT_EQ(testsupport::pixelsOf(screen, 255, 0, 0), 800 * 100);
    const auto at = [&](int x, int y) { return &screen[(static_cast<std::size_t>(y) * 800 + x) * 4]; };
    EXPECT_EQ(at(0, 0)[0], 255);
    EXPECT_EQ(at(799, 99)[0], 255);
    EXPECT_EQ(at(0, 100)[0], 0);
}
