#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/game_openglextensions.h"
#include "tests/support/gl_fixture.h"
#include "tests/world/objfiles.h"
#include "world/meshchrome.h"

using Vortel::MeshChrome;

namespace {

using MeshChromeArrayGL = testsupport::GlFixture;

}  // namespace

// The array draw against the same triangles sent vertex by vertex under the same state:
// a slanted, textured pyramid whose corners all differ in normal and texture coordinate.
TEST_F(MeshChromeArrayGL, DrawsTheSamePixelsAsTrianglesSentVertexByVertex) {
    ASSERT_NO_THROW(glext::setupMultitexturing());
    const objfiles::TempFolder folder;
    MeshChrome pyramid(folder.write("pyramid.obj",
                                    "v -1 -1 -1\nv 1 -1 -1\nv 0 1 0\nv 0 -1 1\n"
                                    "vt 0 0\nvt 1 0\nvt 0.5 1\nvt 0.2 0.7\n"
                                    "vn -0.6 -0.3 -0.7\nvn 0.6 -0.3 -0.7\nvn 0 1 0\nvn 0 -0.3 0.9\n"
                                    "f 1/1/1 2/2/2 3/3/3\nf 2/2/2 4/4/4 3/3/3\nf 4/4/4 1/1/1 3/3/3\n"));
    std::vector<unsigned char> checker(8 * 8 * 4);
    for (std::size_t i = 0; i < checker.size(); ++i) {
        checker[i] = static_cast<unsigned char>((i / 4 + i / 32) % 2 == 0 ? 220 : 40 + i % 4 * 30);
    }
    GLuint textures[2] = {0, 0};
    glGenTextures(2, textures);
    for (const GLuint id : textures) {
        glBindTexture(GL_TEXTURE_2D, id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, checker.data());
    }
    pyramid._texId = static_cast<int>(textures[0]);
    pyramid.chromeTexId(static_cast<int>(textures[1]));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.5, 0.5, -0.4, 0.4, 1.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.2f, -0.1f, -4.0f);
    glRotatef(35.0f, 0.3f, 1.0f, 0.2f);
    glColor4f(0.9f, 0.8f, 0.7f, 1.0f);
    const auto screen = [] {
        glFinish();
        std::vector<unsigned char> pixels(800 * 600 * 4);
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };

    glClear(GL_COLOR_BUFFER_BIT);
    pyramid.draw();
    const std::vector<unsigned char> batched = screen();

    // The textured set-up that draw() makes, then the corners one by one; draw() left fog
    // on for the world pass.
    glDisable(GL_FOG);
    glClear(GL_COLOR_BUFFER_BIT);
    glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_EXT, GL_ADD);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    const float corners[9][8] = {
        {0, 0, -0.6f, -0.3f, -0.7f, -1, -1, -1}, {1, 0, 0.6f, -0.3f, -0.7f, 1, -1, -1}, {0.5f, 1, 0, 1, 0, 0, 1, 0},
        {1, 0, 0.6f, -0.3f, -0.7f, 1, -1, -1},   {0.2f, 0.7f, 0, -0.3f, 0.9f, 0, -1, 1}, {0.5f, 1, 0, 1, 0, 0, 1, 0},
        {0.2f, 0.7f, 0, -0.3f, 0.9f, 0, -1, 1},  {0, 0, -0.6f, -0.3f, -0.7f, -1, -1, -1}, {0.5f, 1, 0, 1, 0, 0, 1, 0},
    };
    glBegin(GL_TRIANGLES);
    for (const auto& c : corners) {
        glNormal3fv(c + 2);
        glext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, c[0], c[1]);
        glVertex3fv(c + 5);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    const std::vector<unsigned char> reference = screen();

    int largest = 0;
    int lit = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        largest = std::max(largest, std::abs(reference[i] - batched[i]));
        lit += i % 4 == 0 && reference[i] > 0 ? 1 : 0;
    }
    EXPECT_LE(largest, 1);
    EXPECT_GT(lit, 20000) << "the pyramid must fill part of the screen";
    glDeleteTextures(2, textures);
}
