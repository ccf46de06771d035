#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "platform/crand.h"
#include "platform/geometry.h"
#include "platform/math.h"
#include "platform/pickraygenerator.h"
#include "platform/shaker.h"
#include "platform/simplecamera.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/helpers.h"

namespace {

using testsupport::expectNear;

float length(const Vector3<float>& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

bool finite(const Vector3<float>& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The camera of the view tests: ten units back on +z, looking at the origin.
SimpleCamera cameraOnZ() {
    return SimpleCamera(Vector3<float>(0, 0, 10), Vector3<float>(0, 0, 0), Vector3<float>(0, 1, 0), 45, 1, 100,
                        800.0f / 600.0f);
}

void animateFor(Shaker& shaker, double seconds, double step) {
    const int steps = static_cast<int>(std::lround(seconds / step));
    for (int i = 0; i < steps; ++i) {
        shaker.animate(step);
    }
}

}  // namespace

TEST(SimpleCameraTest, ConstructionAndUp) {
    SimpleCamera camera(Vector3<float>(1, 2, 3), Vector3<float>(4, 5, 6), Vector3<float>(0, 1, 0), 30, 0.5f, 50, 2);
    EXPECT_EQ(camera.fov(), 30.0f);
    EXPECT_EQ(camera.aspect(), 2.0f);
    camera.up(Vector3<float>(0, 0, 3));
    EXPECT_EQ(camera.up(), Vector3<float>(0, 0, 1));
}

TEST(SimpleCameraTest, PanMovesCameraAndTargetTogether) {
    SimpleCamera camera = cameraOnZ();
    camera.pan(Vector2<float>(1, 2));
    // The side vector is (position - target) x up, which points along -x here.
    expectNear(camera.pos(), Vector3<float>(-1, 2, 10));
    expectNear(camera.target(), Vector3<float>(-1, 2, 0));
}

TEST(SimpleCameraTest, DollyPushesANearTargetAhead) {
    SimpleCamera camera = cameraOnZ();
    camera.dolly(3);
    expectNear(camera.pos(), Vector3<float>(0, 0, 7));
    expectNear(camera.target(), Vector3<float>(0, 0, 0));

    camera.pos(Vector3<float>(0, 0, 0));
    camera.target(Vector3<float>(0, 0, -0.5f));
    camera.dolly(2);
    expectNear(camera.target(), Vector3<float>(0, 0, -1));
    expectNear(camera.pos(), Vector3<float>(0, 0, -2));
}

TEST(SimpleCameraTest, OrbitTurnsAboutUpThenSide) {
    SimpleCamera camera = cameraOnZ();
    camera.orbit(Vector2<float>(0, 0));
    expectNear(camera.pos(), Vector3<float>(0, 0, 10));

    camera.orbit(Vector2<float>(TRUE_PI<float> / 2, 0));
    expectNear(camera.pos(), Vector3<float>(10, 0, 0), 1e-4f);

    camera.orbit(Vector2<float>(0.3f, 0.4f));
    EXPECT_NEAR(length(camera.pos()), 10.0f, 1e-4f);
    EXPECT_GT(std::fabs(camera.pos().y), 1.0f);
    EXPECT_EQ(camera.target(), Vector3<float>(0, 0, 0));
    EXPECT_EQ(camera.up(), Vector3<float>(0, 1, 0));
}

TEST(SimpleCameraTest, DegenerateViewsStayFinite) {
    // Looking straight along up: there is no side vector.
    SimpleCamera camera(Vector3<float>(0, 5, 0), Vector3<float>(0, 0, 0), Vector3<float>(0, 1, 0), 45, 1, 100, 1);
    camera.pan(Vector2<float>(1, 1));
    camera.orbit(Vector2<float>(0.5f, 0.5f));
    EXPECT_TRUE(finite(camera.pos()));
    EXPECT_TRUE(finite(camera.target()));

    // Camera on its target: no forward vector.
    camera.pos(camera.target());
    camera.dolly(1);
    camera.orbit(Vector2<float>(0.5f, 0.5f));
    EXPECT_TRUE(finite(camera.pos()));
    EXPECT_TRUE(finite(camera.target()));
}

TEST(ShakerTest, StillUntilShaken) {
    Shaker shaker(55);
    animateFor(shaker, 1, 0.1);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));
}

TEST(ShakerTest, AmplitudeFallsLinearlyAlongARandomDirection) {
    crand::srand(42);
    const float k = 2.0f / 32767;
    const float dx = k * crand::rand() - 1;
    const float dy = k * crand::rand() - 1;
    const float dz = k * crand::rand() - 1;
    const float dirX = dx / std::sqrt(dx * dx + dy * dy + dz * dz);

    crand::srand(42);
    // Half a turn per second: the sine peaks at 0.5 s and 1.5 s.
    Shaker shaker(TRUE_PI<float>);
    shaker.shake(1, 2);
    animateFor(shaker, 0.5, 0.125);
    EXPECT_NEAR(length(shaker.displacement()), 0.75f, 1e-5f);
    // The direction only turns about x.
    EXPECT_NEAR(shaker.displacement().x, dirX * 0.75f, 1e-5f);
    animateFor(shaker, 1, 0.125);
    EXPECT_NEAR(length(shaker.displacement()), 0.25f, 1e-5f);
    EXPECT_NEAR(shaker.displacement().x, -dirX * 0.25f, 1e-5f);
    animateFor(shaker, 0.5, 0.125);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));
    animateFor(shaker, 1, 0.125);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));
}

TEST(ShakerTest, StopsExactlyWhenTheDurationIsUp) {
    // Frame times that do not sum exactly to the duration.
    Shaker shaker(55);
    shaker.shake(1, 0.5f);
    animateFor(shaker, 0.4, 0.1);
    EXPECT_NE(shaker.displacement(), Vector3<float>(0, 0, 0));
    shaker.animate(0.1);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));

    shaker.shake(0.25f, 0.7f);
    animateFor(shaker, 0.7, 0.1);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));

    shaker.shake(0.25f, 0.5f);
    animateFor(shaker, 0.5, 1.0 / 60);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));
}

TEST(ShakerTest, ShorterShakeKeepsTheLongerEnd) {
    Shaker shaker(TRUE_PI<float>);
    shaker.shake(1, 3);
    animateFor(shaker, 1, 0.125);
    // Two seconds left: the new amplitude fades over those two, at 0.5 per second.
    shaker.shake(1, 0.5f);
    animateFor(shaker, 0.5, 0.125);
    EXPECT_NEAR(length(shaker.displacement()), 0.75f, 1e-5f);
    animateFor(shaker, 1, 0.125);
    EXPECT_NEAR(length(shaker.displacement()), 0.25f, 1e-5f);
    animateFor(shaker, 0.5, 0.125);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));
}

TEST(ShakerTest, ShakeWithoutTimeDoesNothing) {
    Shaker shaker(55);
    shaker.shake(1, 0);
    shaker.animate(0);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));
    shaker.animate(0.02);
    EXPECT_EQ(shaker.displacement(), Vector3<float>(0, 0, 0));
}

using CameraGL = testsupport::GlFixture;

TEST_F(CameraGL, FrustumReadBackFromTheCameraClassifiesBoxes) {
    glViewport(0, 0, 800, 600);
    cameraOnZ().lookThru();
    double projection[16];
    double modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    float planes[6][4];
    GetFrustum(projection, modelview, planes);

    EXPECT_EQ(AABBinFrustum(Vector3<float>(-1, -1, -1), Vector3<float>(1, 1, 1), planes), 2);
    // Across the right edge of the view (half-width at the origin is about 5.5).
    EXPECT_EQ(AABBinFrustum(Vector3<float>(5, -1, -1), Vector3<float>(7, 1, 1), planes), 1);
    EXPECT_EQ(AABBinFrustum(Vector3<float>(-1, -1, 11), Vector3<float>(1, 1, 12), planes), 0);
    EXPECT_EQ(AABBinFrustum(AABB3<int>(-1, -1, 11, 1, 1, 12), planes), 0);
}

TEST_F(CameraGL, PickRayThroughTheViewportCentreLooksAlongTheView) {
    glViewport(0, 0, 800, 600);
    const SimpleCamera camera = cameraOnZ();
    camera.lookThru();

    const Ray3<float> centre = PickRayGenerator::generateInWorldSpace(camera.pos(), Vector2<int>(400, 300));
    EXPECT_EQ(centre.origin, camera.pos());
    expectNear(centre.direction, Vector3<float>(0, 0, -1), 1e-6f);
    EXPECT_EQ(PickRayGenerator::vport()[2], 800);
    EXPECT_EQ(PickRayGenerator::vport()[3], 600);
    EXPECT_DOUBLE_EQ(PickRayGenerator::mvmatrix()[14], -10.0);

    // The right edge of the viewport lies at half the horizontal field of view.
    const Ray3<float> edge = PickRayGenerator::generateInWorldSpace(camera.pos(), Vector2<int>(800, 300));
    EXPECT_NEAR(length(edge.direction), 1.0f, 1e-6f);
    EXPECT_NEAR(edge.direction.x / -edge.direction.z, 800.0f / 600.0f * std::tan(TRUE_PI<float> / 8), 1e-4f);
    EXPECT_NEAR(edge.direction.y, 0.0f, 1e-6f);
}

TEST_F(CameraGL, LocalSpaceRayFollowsTheViewAxis) {
    cameraOnZ().lookThru();
    const Ray3<float> ray = PickRayGenerator::generateInLocalSpace(Vector2<int>(0, 0));
    expectNear(ray.origin, Vector3<float>(0, 0, 10));
    expectNear(ray.direction, Vector3<float>(0, 0, -1));
}
