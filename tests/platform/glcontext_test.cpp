#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>

#include "tests/support/gl_fixture.h"

using GlContextGL = testsupport::GlFixture;

TEST_F(GlContextGL, OffersWhatTheGameNeeds) {
    ASSERT_NE(glGetString(GL_RENDERER), nullptr);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    EXPECT_NE(std::strstr(extensions, "GL_ARB_multitexture"), nullptr);

    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
}
