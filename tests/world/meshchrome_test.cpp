#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/game_openglextensions.h"
#include "tests/support/gl_fixture.h"
#include "tests/world/objfiles.h"
#include "world/meshchrome.h"

using Vortel::MeshChrome;

namespace {

// A one-texel texture that needs no mipmaps.
GLuint texel(unsigned char r, unsigned char g, unsigned char b) {
    const unsigned char pixel[4] = {r, g, b, 255};
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return id;
}

GLint envOfUnit(GLenum unit, GLenum name) {
    glext::glActiveTextureARB(unit);
    GLint value = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, name, &value);
    return value;
}

bool enabledOnUnit(GLenum unit, GLenum cap) {
    glext::glActiveTextureARB(unit);
    return glIsEnabled(cap) == GL_TRUE;
}

}  // namespace

using MeshChromeGL = testsupport::GlFixture;

// Both ways of drawing, from a state that would spoil them: fog and lighting on, the
// reflection unit left textured. The untextured way shows the plain colour; the textured
// way the base texture times the colour plus the reflection. Either way the same state is
// left behind for the world pass.
TEST_F(MeshChromeGL, DrawsBaseTimesColourPlusReflectionOrPlainColourAndRestoresTheWorldState) {
    ASSERT_NO_THROW(glext::setupMultitexturing());
    const objfiles::TempFolder folder;
    MeshChrome cube(folder.write("cube.obj", objfiles::UNIT_CUBE));
    cube._texId = static_cast<int>(texel(200, 0, 0));
    cube.chromeTexId(static_cast<int>(texel(0, 0, 100)));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    struct Case {
        bool textured;
        unsigned char expected[3];
    };
    const Case cases[] = {{true, {200, 0, 100}}, {false, {0, 255, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.textured ? "textured" : "untextured");
        // The textured way draws inside the fog; the untextured way must switch it off.
        if (c.textured) {
            glDisable(GL_FOG);
        } else {
            glEnable(GL_FOG);
        }
        glEnable(GL_LIGHTING);
        glext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(cube._chromeTexId));
        glEnable(GL_TEXTURE_2D);
        glext::glActiveTextureARB(GL_TEXTURE0_ARB);
        glDisable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glColor4f(c.textured ? 1.0f : 0.0f, 1.0f, c.textured ? 1.0f : 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);

        glNormal3f(1.0f, 0.0f, 0.0f);
        cube.enableTextures(c.textured);
        cube.draw();
        glFinish();
        unsigned char pixel[4] = {};
        glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(c.expected[i], pixel[i], 2) << "channel " << i;
        }
        EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());

        GLint active = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
        EXPECT_EQ(GL_TEXTURE0_ARB, active);
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_EQ(GL_MODULATE, envOfUnit(GL_TEXTURE0_ARB, GL_TEXTURE_ENV_MODE));
        EXPECT_TRUE(enabledOnUnit(GL_TEXTURE0_ARB, GL_TEXTURE_2D));
        EXPECT_FALSE(enabledOnUnit(GL_TEXTURE1_ARB, GL_TEXTURE_2D));
        EXPECT_FALSE(enabledOnUnit(GL_TEXTURE1_ARB, GL_TEXTURE_GEN_S));
        EXPECT_FALSE(enabledOnUnit(GL_TEXTURE1_ARB, GL_TEXTURE_GEN_T));
        GLboolean vertexArray = GL_TRUE;
        glGetBooleanv(GL_VERTEX_ARRAY, &vertexArray);
        EXPECT_FALSE(vertexArray);
        // The current normal is the last corner's, (0, 0, 1), not the one set before.
        float normal[3] = {};
        glGetFloatv(GL_CURRENT_NORMAL, normal);
        EXPECT_EQ(normal[0], 0.0f);
        EXPECT_EQ(normal[2], 1.0f);
        if (c.textured) {
            EXPECT_EQ(GL_COMBINE_EXT, envOfUnit(GL_TEXTURE1_ARB, GL_TEXTURE_ENV_MODE));
            EXPECT_EQ(GL_ADD, envOfUnit(GL_TEXTURE1_ARB, GL_COMBINE_RGB_EXT));
        }
        glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
}

TEST_F(MeshChromeGL, ListAndArrayDrawTheSameTrianglesWithoutTexturing) {
    ASSERT_NO_THROW(glext::setupMultitexturing());
    const objfiles::TempFolder folder;
    MeshChrome cube(folder.write("cube.obj", objfiles::UNIT_CUBE));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 0, 1, 1);
    const auto centreIsBlue = [] {
        glFinish();
        unsigned char pixel[4] = {};
        glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 255;
    };

    cube.createVertArray();
    cube.createDisplayList();
    glClear(GL_COLOR_BUFFER_BIT);
    glCallList(cube._displayList);
    EXPECT_TRUE(centreIsBlue());
    glClear(GL_COLOR_BUFFER_BIT);
    cube.drawVertArray();
    EXPECT_TRUE(centreIsBlue());
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}
