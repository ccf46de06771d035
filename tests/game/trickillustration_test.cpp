#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <vector>

#include "actors/bot.h"
#include "actors/builtintricks.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

using Vortel::Game;
using Vortel::Player;
using TrickIllustrationGL = testgame::GameFixture;
using CornerCubeGL = testgame::GameFixture;

const int W = 800;
const int H = 600;

// Flat shades that survive the trip to the screen unchanged.
const RGBA<float> PATH_Z(1, 0, 0, 1), PATH_X(0, 1, 0, 1), PATH_Y(0, 0, 1, 1);
const RGBA<float> OBSTACLE_Z(1, 1, 0, 1), OBSTACLE_X(0, 1, 1, 1), OBSTACLE_Y(1, 0, 1, 1);

// The craft's trail colour set to cool from the path shades to the obstacle shades.
void giveThePlayerATrail(Game& g) {
    const unsigned char start = g._octree.createColorTriplet(PATH_Z, PATH_X, PATH_Y);
    const unsigned char end = g._octree.createColorTriplet(OBSTACLE_Z, OBSTACLE_X, OBSTACLE_Y);
    g._player._trailColor = g._octree.createTrailColors(start, end);
}

void clearToBlack() {
    glViewport(0, 0, W, H);
    glDisable(GL_SCISSOR_TEST);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool isBlack(const std::vector<unsigned char>& pixels, int x, int y) {
    const unsigned char* p = &pixels[4 * (static_cast<std::size_t>(y) * W + x)];
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// Pixels that are not black, inside and outside a window rectangle.
std::array<int, 2> litInAndOut(const std::vector<unsigned char>& pixels, int x0, int y0, int w, int h) {
    std::array<int, 2> lit{0, 0};
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const bool inside = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
            lit[inside ? 0 : 1] += isBlack(pixels, x, y) ? 0 : 1;
        }
    }
    return lit;
}

int pixelsOf(const std::vector<unsigned char>& pixels, const RGBA<float>& c) {
    return testsupport::pixelsOf(pixels, static_cast<unsigned char>(c.r * 255), static_cast<unsigned char>(c.g * 255),
                                 static_cast<unsigned char>(c.b * 255));
}

TEST_F(TrickIllustrationGL, AnUnknownNameOrAnEmptyRectangleDrawsNothingAtAll) {
    Game& g = game();
    Vortel::addBuiltInTricks(g._trickLibrary);
    giveThePlayerATrail(g);
    const RGBA<float> blue(0, 0, 1, 1);
    const struct {
        const char* name;
        Vector2<float> size;
    } cases[] = {{"NO SUCH TRICK", {200, 180}}, {"SLICK", {200, 180}}, {"SLICK LEFT", {0, 180}}, {"SLICK LEFT", {200, -1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearToBlack();
        g.drawTrickIllustrationByName(c.name, Vector2<float>(100, 100), c.size, blue, true);
        EXPECT_EQ(testsupport::pixelsOf(testsupport::readScreen(), 0, 0, 0), W * H);
    }
}

TEST_F(TrickIllustrationGL, WithoutATrickOnlyTheBackgroundFillsTheRectangle) {
    Game& g = game();
    clearToBlack();
    g.drawTrickIllustration(nullptr, Vector2<float>(100.7f, 50), Vector2<float>(200, 120.9f), RGBA<float>(0, 0, 1, 1),
                            true);
    const std::vector<unsigned char> pixels = testsupport::readScreen();
    EXPECT_EQ(testsupport::pixelsOf(pixels, 0, 0, 255), 200 * 120);
    EXPECT_EQ(litInAndOut(pixels, 100, 50, 200, 120), (std::array<int, 2>{200 * 120, 0}));
}

// The main menu's panel: the large illustration over the live world, which must find the
// GL state as it left it.
TEST_F(TrickIllustrationGL, ATrickDrawsInsideItsRectangleAndEveryStateComesBack) {
    Game& g = game();
    Vortel::addBuiltInTricks(g._trickLibrary);
    giveThePlayerATrail(g);
    clearToBlack();

    glViewport(10, 20, 700, 500);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3, 4, 0);
    const GLenum switchedOn[] = {GL_LIGHTING, GL_TEXTURE_2D, GL_FOG};
    const GLenum switchedOff[] = {GL_DEPTH_TEST, GL_CULL_FACE, GL_SCISSOR_TEST};
    for (const GLenum cap : switchedOn) {
        glEnable(cap);
    }
    for (const GLenum cap : switchedOff) {
        glDisable(cap);
    }
    glDepthMask(GL_FALSE);
    glShadeModel(GL_SMOOTH);
    GLdouble projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);

    g.drawTrickIllustrationByName("SLICK LEFT", Vector2<float>(300, 200), Vector2<float>(200, 180),
                                  RGBA<float>(0.1f, 0.1f, 0.8f, 1), false);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const std::vector<unsigned char> pixels = testsupport::readScreen();
    const std::array<int, 2> lit = litInAndOut(pixels, 300, 200, 200, 180);
    EXPECT_GT(lit[0], 2000);
    EXPECT_EQ(lit[1], 0);
    // Path cubes and corner in the trail's fresh shades, the obstacle in its cooled ones, the
    // arrow white.
    EXPECT_GT(pixelsOf(pixels, PATH_Y), 100);
    EXPECT_GT(pixelsOf(pixels, OBSTACLE_Y), 50);
    EXPECT_GT(testsupport::pixelsOf(pixels, 255, 255, 255), 10);

    for (const GLenum cap : switchedOn) {
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    }
    for (const GLenum cap : switchedOff) {
        EXPECT_FALSE(glIsEnabled(cap)) << cap;
    }
    GLint viewport[4], shadeModel = 0, matrixMode = 0;
    GLboolean depthWrites = GL_TRUE;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{10, 20, 700, 500}));
    EXPECT_EQ(shadeModel, GL_SMOOTH);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    EXPECT_EQ(depthWrites, GL_FALSE);
    GLdouble projectionAfter[16], modelviewAfter[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projectionAfter);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelviewAfter);
    EXPECT_EQ(std::vector<GLdouble>(projection, projection + 16),
              std::vector<GLdouble>(projectionAfter, projectionAfter + 16));
    EXPECT_EQ(std::vector<GLdouble>(modelview, modelview + 16),
              std::vector<GLdouble>(modelviewAfter, modelviewAfter + 16));
}

// A chaser's corner in its model frame at the origin, seen from above, behind and to its
// left, where the outside of the bend and the top cap face the viewer.
std::vector<unsigned char> drawChaserCorner(Game& g, Vortel::Bot& bot) {
    clearToBlack();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40, static_cast<double>(W) / H, 0.1, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(-3, 4, -4, 0, 0, -1, 0, 1, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    g.drawCornerCube(bot);
    return testsupport::readScreen();
}

TEST_F(CornerCubeGL, AChasersCornerShowsOnlyWhileItsTurnIsPending) {
    Game& g = game();
    giveThePlayerATrail(g);
    Vortel::Bot bot("chaser", Vector3<int>(0, 0, 0), Vector3<int>::Z_MINUS, Vector3<int>::Y_PLUS, 4.0f, g._octree);
    bot._trailColor = g._player._trailColor;
    bot._progress = 1.0f;

    ASSERT_EQ(bot.requestedDirection(), Player::DIR_NONE);
    EXPECT_EQ(testsupport::pixelsOf(drawChaserCorner(g, bot), 0, 0, 0), W * H);

    bot._requestedDirection = Player::DIR_LEFT;
    const std::vector<unsigned char> pixels = drawChaserCorner(g, bot);
    // Its up is y, so the caps take the y shade; forward x up is x, so the side the x shade.
    EXPECT_GT(pixelsOf(pixels, PATH_Y), 500);
    EXPECT_GT(pixelsOf(pixels, PATH_X), 500);
    EXPECT_EQ(pixelsOf(pixels, PATH_Y) + pixelsOf(pixels, PATH_X) + testsupport::pixelsOf(pixels, 0, 0, 0), W * H);

    GLint frontFace = 0, polygonModes[2] = {0, 0};
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(GL_POLYGON_MODE, polygonModes);
    EXPECT_EQ(frontFace, GL_CCW);
    EXPECT_EQ(polygonModes[0], GL_FILL);
    EXPECT_EQ(polygonModes[1], GL_FILL);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
}

}  // namespace
