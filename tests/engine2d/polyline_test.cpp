#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "engine2d/functions.h"
#include "engine2d/polyline.h"
#include "engine2d/renderer2d.h"
#include "engine2d/texturedpolyline.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/helpers.h"

using Stelkor::PolyLine;
using Stelkor::TableTrig;
using Stelkor::TexturedPolyLine;

using testsupport::expectNear;

TEST(TexturedPolyLine, TwoPointsGiveABandAlongTheLine) {
    TexturedPolyLine line;
    line.addPoint(0, 0).addPoint(Vector2<float>(10, 0));
    ASSERT_EQ(line.directions().size(), 2u);
    expectNear(line.directions()[0], 1, 0);
    expectNear(line.directions()[1], 1, 0);
    expectNear(line.normals()[0], 0, 1);
    EXPECT_EQ(line.distances(), (std::vector<float>{10, 10}));

    const std::vector<Vector2<float> >& strip = line.quadStrip();
    ASSERT_EQ(strip.size(), 8u);
    const float expected[8][2] = {{1, 0}, {0, 8}, {1, 1}, {0, -8}, {1, 0}, {10, 8}, {1, 1}, {10, -8}};
    for (int i = 0; i < 8; ++i) {
        expectNear(strip[i], expected[i][0], expected[i][1]);
    }
}

TEST(TexturedPolyLine, SettersWaitForTheNextPoint) {
    TexturedPolyLine line;
    line.addPoint(0, 0).addPoint(0, 20);
    line.width(4);
    line.textureTileLength(5);
    expectNear(line.quadStrip()[1], -8, 0);
    line.addPoint(0, 30);
    expectNear(line.quadStrip()[1], -2, 0);
    EXPECT_NEAR(line.quadStrip()[0].x, 4, 1e-6);  // 20 along, tiles of 5

    line.clear();
    EXPECT_TRUE(line.points().empty());
    EXPECT_EQ(line.quadStrip().size(), 12u);  // the strip stays until the next point
}

TEST(TexturedPolyLine, LonePointsAndTurnsBackGetFiniteDirections) {
    TexturedPolyLine line;
    line.addPoint(5, 5);
    expectNear(line.directions()[0], 0, 0);
    expectNear(line.quadStrip()[1], 5, 5);

    line.addPoint(15, 5).addPoint(5, 5);  // straight back at the middle point
    expectNear(line.directions()[1], 1, 0);
    for (const Vector2<float>& v : line.quadStrip()) {
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
    }

    PolyLine plain;
    plain.addPoint(1, 2).addPoint(3, 4);
    EXPECT_EQ(plain.points().size(), 2u);
}

TEST(TableTrig, FillsAQuarterTurnOnceHoweverOftenItIsMade) {
    TableTrig::init();
    TableTrig::init();
    ASSERT_EQ(TableTrig::_sinValues.size(), 100000u);
    ASSERT_EQ(TableTrig::_cosValues.size(), 100000u);
    EXPECT_EQ(TableTrig::_sinValues[0], 0.0f);
    EXPECT_EQ(TableTrig::_cosValues[0], 1.0f);
    EXPECT_NEAR(TableTrig::_sinValues[50000], std::sin(0.785398), 1e-5);
    EXPECT_NEAR(TableTrig::_sinValues[99999], 1.0, 1e-4);
}

namespace {

using PolyLineGL = testsupport::GlFixture;

int redAt(int x, int y) {
    glFinish();
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[0];
}

}  // namespace

TEST_F(PolyLineGL, BandsAndStripsAreDrawnAndTexturingIsRestored) {
    Stelkor::Renderer2D renderer;
    renderer._color.set(0, 0, 0, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);

    TexturedPolyLine band;
    band.addPoint(100, 100).addPoint(200, 100);
    glDisable(GL_TEXTURE_2D);
    renderer.drawTexturedPolyLine(band);
    EXPECT_EQ(redAt(150, 100), 255);
    EXPECT_EQ(redAt(150, 106), 255);
    EXPECT_EQ(redAt(150, 110), 0);  // half of the 16-wide band is 8
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    PolyLine strip;
    strip.addPoint(300.5f, 50.5f).addPoint(300.5f, 150.5f);
    glEnable(GL_TEXTURE_2D);
    renderer.drawPolyLine(strip);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(redAt(300, 100), 255);
}
