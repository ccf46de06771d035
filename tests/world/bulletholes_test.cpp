#include <gtest/gtest.h>

#include <GL/gl.h>

#include "tests/support/gl_fixture.h"
#include "tests/support/helpers.h"
#include "world/bulletholes.h"

using Vortel::BulletHoles;
typedef Vector3<float> V;

namespace {

using testsupport::expectNear;

}  // namespace

TEST(BulletHoles, KeepsHolesInOrderUntilCleared) {
    BulletHoles holes;
    holes.clear();
    EXPECT_TRUE(holes.holes().empty());
    holes.addHole(V(1, 2, 3), V(0, 0, 1), V(1, 0, 0));
    holes.addHole(V(4, 5, 6), V(0, 1, 0), V(0, 0, 1));
    ASSERT_EQ(holes.holes().size(), 2u);
    EXPECT_EQ(holes.holes().front().pos, V(1, 2, 3));
    EXPECT_EQ(holes.holes().back().dir, V(0, 0, 1));
    holes.animate(1.0);
    EXPECT_EQ(holes.holes().size(), 2u);
    holes.clear();
    EXPECT_TRUE(holes.holes().empty());
}

// a = dir x 0.2 along the surface, b = (dir x normal) x 0.2 across it.
TEST(BulletHoles, LaysASquareOfEdgeFourTenthsInTheSurface) {
    const BulletHoles::Hole hole{V(1, 1, 1), V(0, 0, 1), V(1, 0, 0)};
    V corners[4];
    BulletHoles::corners(hole, corners);
    // dir x normal = (1,0,0) x (0,0,1) = (0,-1,0).
    expectNear(corners[0], V(0.8f, 1.2f, 1.0f), 1e-6f);
    expectNear(corners[1], V(1.2f, 1.2f, 1.0f), 1e-6f);
    expectNear(corners[2], V(1.2f, 0.8f, 1.0f), 1e-6f);
    expectNear(corners[3], V(0.8f, 0.8f, 1.0f), 1e-6f);
}

using BulletHolesGL = testsupport::GlFixture;

TEST_F(BulletHolesGL, RestoresOffsetAndDepthWritesEvenWithoutHoles) {
    BulletHoles holes;
    holes.draw();
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    GLfloat factor = 0.0f;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    EXPECT_EQ(factor, -3.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(BulletHolesGL, DrawsTheDecalsInWhite) {
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    BulletHoles holes;
    holes.addHole(V(0, 0, 0), V(0, 0, 1), V(1, 0, 0));
    holes.draw();
    glFinish();
    unsigned char centre[4] = {};
    unsigned char outside[4] = {};
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
    glReadPixels(400, 500, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, outside);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(outside[0], 0);
}
