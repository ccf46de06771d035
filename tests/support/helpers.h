#ifndef QUELLARIS_TESTS_HELPERS_H
#define QUELLARIS_TESTS_HELPERS_H

// What many suites check or set up the same way: vectors and colours compared coordinate by
// coordinate, and a camera over a short row of cells.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/geometry.h"
#include "platform/math.h"

namespace testsupport {

inline void expectNear(const Vector3<float>& actual, const Vector3<float>& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void expectNear(const Vector3<float>& actual, float x, float y, float z, float tolerance = 1e-5f) {
    expectNear(actual, Vector3<float>(x, y, z), tolerance);
}

inline void expectNear(const Vector2<float>& actual, float x, float y, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, x, tolerance) << "x of (" << actual.x << ", " << actual.y << ")";
    EXPECT_NEAR(actual.y, y, tolerance) << "y of (" << actual.x << ", " << actual.y << ")";
}

inline void expectColor(const RGBA<float>& actual, const RGBA<float>& expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

inline void expectColor(const RGBA<float>& actual, float r, float g, float b, float a, float tolerance = 1e-6f) {
    expectColor(actual, RGBA<float>(r, g, b, a), tolerance);
}

// Looks at a short row of cells from outside the field, (8, 9, 14) towards (6, 5.5, 5.5), on
// a cleared black 800 x 600 view with depth test and no lighting or blending; fills frustum.
inline void lookAtRow(float frustum[6][4]) {
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 800.0 / 600.0, 0.5, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(8, 9, 14, 6, 5.5, 5.5, 0, 1, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glShadeModel(GL_FLAT);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    double projection[16];
    double modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    GetFrustum(projection, modelview, frustum);
}

}  // namespace testsupport

#endif
