#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

#include "actors/bot.h"
#include "actors/builtintricks.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

using Vortel::Game;
using TrickIllustrationGL = testgame::GameFixture;

const int W = 800;
const int H = 600;

// The craft's trail made to cool from red, green, blue faces (z, x, y) to yellow, cyan, magenta.
void giveThePlayerATrail(Game& g) {
    Vortel::addBuiltInTricks(g._trickLibrary);
    const unsigned char start = g._octree.createColorTriplet({1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1});
    const unsigned char end = g._octree.createColorTriplet({1, 1, 0, 1}, {0, 1, 1, 1}, {1, 0, 1, 1});
    g._player._trailColor = g._octree.createTrailColors(start, end);
}

void clearToBlack() {
    glViewport(0, 0, W, H);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Pixels that are not black inside the window rectangle, and outside it.
std::vector<int> litInAndOut(const std::vector<unsigned char>& pixels, int x0, int y0, int w, int h) {
    std::vector<int> lit(2, 0);
    for (int i = 0; i < W * H; ++i) {
        const int x = i % W, y = i / W;
        const bool inside = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
        lit[inside ? 0 : 1] += (pixels[4 * i] | pixels[4 * i + 1] | pixels[4 * i + 2]) != 0 ? 1 : 0;
    }
    return lit;
}

TEST_F(TrickIllustrationGL, AnUnknownNameDrawsNothingANullTrickOnlyItsBackground) {
    Game& g = game();
    giveThePlayerATrail(g);
    const Vector2<float> pos(100.7f, 50), size(200, 120.9f);
    for (const char* name : {"NO SUCH TRICK", "SLICK"}) {
        clearToBlack();
        g.drawTrickIllustrationByName(name, pos, size, RGBA<float>(0, 0, 1, 1), true);
        g.drawTrickIllustrationByName("SLICK LEFT", pos, Vector2<float>(0, 120), RGBA<float>(0, 0, 1, 1), true);
        EXPECT_EQ(litInAndOut(testsupport::readScreen(), 0, 0, 0, 0), (std::vector<int>{0, 0})) << name;
    }
    g.drawTrickIllustration(nullptr, pos, size, RGBA<float>(0, 0, 1, 1), true);
    const std::vector<unsigned char> pixels = testsupport::readScreen();
    EXPECT_EQ(testsupport::pixelsOf(pixels, 0, 0, 255), 200 * 120);
    EXPECT_EQ(litInAndOut(pixels, 100, 50, 200, 120), (std::vector<int>{200 * 120, 0}));
}

// The main menu's large panel, over a world that must find the GL state as it left it.
TEST_F(TrickIllustrationGL, ATrickDrawsInItsRectangleAndLeavesTheStateAsItFoundIt) {
    Game& g = game();
    giveThePlayerATrail(g);
    clearToBlack();
    glViewport(10, 20, 700, 500);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(3, 4, 0);
    const GLenum on[] = {GL_LIGHTING, GL_TEXTURE_2D, GL_FOG}, off[] = {GL_DEPTH_TEST, GL_CULL_FACE, GL_SCISSOR_TEST};
    for (const GLenum cap : on) glEnable(cap);
    for (const GLenum cap : off) glDisable(cap);
    glDepthMask(GL_FALSE);
    glShadeModel(GL_SMOOTH);
    std::vector<GLdouble> before(32), after(32);
    glGetDoublev(GL_PROJECTION_MATRIX, before.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, before.data() + 16);

    g.drawTrickIllustrationByName("SLICK LEFT", Vector2<float>(300, 200), Vector2<float>(200, 180),
                                  RGBA<float>(0.1f, 0.1f, 0.8f, 1), false);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const std::vector<unsigned char> pixels = testsupport::readScreen();
    const std::vector<int> lit = litInAndOut(pixels, 300, 200, 200, 180);
    EXPECT_GT(lit[0], 2000);
    EXPECT_EQ(lit[1], 0);
    EXPECT_GT(testsupport::pixelsOf(pixels, 0, 0, 255), 100);    // path tops, fresh trail
    EXPECT_GT(testsupport::pixelsOf(pixels, 255, 0, 255), 50);   // obstacle top, cooled trail
    EXPECT_GT(testsupport::pixelsOf(pixels, 255, 255, 255), 10);  // the arrow

    for (const GLenum cap : on) EXPECT_TRUE(glIsEnabled(cap)) << cap;
    for (const GLenum cap : off) EXPECT_FALSE(glIsEnabled(cap)) << cap;
    GLint viewport[4], shading = 0, mode = 0;
    GLboolean depthWrites = GL_TRUE;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{10, 20, 700, 500}));
    EXPECT_EQ(std::vector<GLint>({shading, mode, depthWrites}), (std::vector<GLint>{GL_SMOOTH, GL_MODELVIEW, GL_FALSE}));
    glGetDoublev(GL_PROJECTION_MATRIX, after.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, after.data() + 16);
    EXPECT_EQ(before, after);
}

// Seen from above, behind and to the left, where the outside of a left bend and its top cap
// face the viewer, culled as in play.
TEST_F(TrickIllustrationGL, AChasersCornerShowsOnlyWhileItsTurnIsPending) {
    Game& g = game();
    giveThePlayerATrail(g);
    Vortel::Bot bot("chaser", Vector3<int>(0, 0, 0), Vector3<int>::Z_MINUS, Vector3<int>::Y_PLUS, 4.0f, g._octree);
    bot._trailColor = g._player._trailColor;
    bot._progress = 1.0f;
    const auto draw = [&g, &bot]() {
        clearToBlack();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(40, static_cast<double>(W) / H, 0.1, 50);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(-3, 4, -4, 0, 0, -1, 0, 1, 0);
        glDisable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        g.drawCornerCube(bot);
        return testsupport::readScreen();
    };
    ASSERT_EQ(bot.requestedDirection(), Vortel::Player::DIR_NONE);
    EXPECT_EQ(testsupport::pixelsOf(draw(), 0, 0, 0), W * H);

    bot._requestedDirection = Vortel::Player::DIR_LEFT;
    const std::vector<unsigned char> pixels = draw();
    // Its up is y, so the caps take the y shade (blue); forward x up is x, so the side green.
    const int caps = testsupport::pixelsOf(pixels, 0, 0, 255), side = testsupport::pixelsOf(pixels, 0, 255, 0);
    EXPECT_GT(caps, 500);
    EXPECT_GT(side, 500);
    EXPECT_EQ(caps + side + testsupport::pixelsOf(pixels, 0, 0, 0), W * H);
    GLint frontFace = 0, polygonModes[2] = {0, 0};
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(GL_POLYGON_MODE, polygonModes);
    EXPECT_EQ(std::vector<GLint>({frontFace, polygonModes[0], polygonModes[1]}),
              (std::vector<GLint>{GL_CCW, GL_FILL, GL_FILL}));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_CULL_FACE));
}

}  // namespace
