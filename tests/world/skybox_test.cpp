#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <array>
#include <vector>

#include "tests/support/gl_fixture.h"
#include "world/skybox.h"

using Vortel::SkyBox;

namespace {

// A 2 x 2 texture whose texel (s, t) reads red = 40 * (slot + 1), green = 255 * s,
// blue = 255 * t, with sharp texels and wrapping left at repeat.
GLuint makeFaceTexture(int slot) {
    std::array<unsigned char, 16> texels{};
    for (int t = 0; t < 2; ++t) {
        for (int s = 0; s < 2; ++s) {
            unsigned char* texel = &texels[static_cast<std::size_t>((t * 2 + s) * 4)];
            texel[0] = static_cast<unsigned char>(40 * (slot + 1));
            texel[1] = static_cast<unsigned char>(255 * s);
            texel[2] = static_cast<unsigned char>(255 * t);
            texel[3] = 255;
        }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return name;
}

std::vector<int> makeFaceTextures() {
    std::vector<int> names;
    for (int slot = 0; slot < SkyBox::FACE_COUNT; ++slot) {
        names.push_back(static_cast<int>(makeFaceTexture(slot)));
    }
    return names;
}

GLint wrapMode(int texture, GLenum axis) {
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
    GLint mode = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, axis, &mode);
    return mode;
}

GLint boundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

struct Pixel {
    int r, g, b;
};

class SkyBoxGL : public testsupport::GlFixture {
protected:
    // A square 512-pixel view with a 90-degree field from the box's centre, so a face seen
    // head-on fills it exactly.
    void look(double dx, double dy, double dz, double ux, double uy, double uz) {
        glViewport(0, 0, 512, 512);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90.0, 1.0, 0.1, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0, 0, 0, dx, dy, dz, ux, uy, uz);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    Pixel pixel(int x, int y) {
        glFinish();
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return Pixel{rgba[0], rgba[1], rgba[2]};
    }
};

TEST_F(SkyBoxGL, AssigningClampsEveryFaceAndReplacesAllSix) {
    const std::vector<int> first = makeFaceTextures();
    SkyBox box(first[0], first[1], first[2], first[3], first[4], first[5]);
    EXPECT_EQ(box.textures(), first);
    for (const int name : first) {
        EXPECT_EQ(wrapMode(name, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(wrapMode(name, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    }

    const std::vector<int> second = makeFaceTextures();
    const GLuint unrelated = makeFaceTexture(0);  // left bound, as the 2D renderer might have it
    box.assignTextures(second[0], second[1], second[2], second[3], second[4], second[5]);
    EXPECT_EQ(box.textures(), second);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(unrelated));
    for (const int name : second) {
        EXPECT_EQ(wrapMode(name, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(wrapMode(name, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    }
}

// Looking at each face head-on, the quadrants of the screen show its texels upright and
// unmirrored: (0, 0) lower left, (1, 0) lower right, (0, 1) upper left, (1, 1) upper right.
TEST_F(SkyBoxGL, EachFaceShowsItsSlotsPictureFromInside) {
    const std::vector<int> names = makeFaceTextures();
    const SkyBox box(names[0], names[1], names[2], names[3], names[4], names[5]);
    struct View {
        int slot;
        double d[3];
        double up[3];
    };
    const View views[] = {
        {0, {1, 0, 0}, {0, 1, 0}},  {1, {-1, 0, 0}, {0, 1, 0}}, {2, {0, 1, 0}, {0, 0, 1}},
        {3, {0, -1, 0}, {0, 0, -1}}, {4, {0, 0, 1}, {0, 1, 0}},  {5, {0, 0, -1}, {0, 1, 0}},
    };
    for (const View& v : views) {
        SCOPED_TRACE(v.slot);
        look(v.d[0], v.d[1], v.d[2], v.up[0], v.up[1], v.up[2]);
        const GLint before = boundTexture();
        box.draw(10.0f, RGBA<float>(1, 1, 1, 1));
        EXPECT_EQ(boundTexture(), before);
        EXPECT_FALSE(glIsEnabled(GL_FOG));
        for (int s = 0; s < 2; ++s) {
            for (int t = 0; t < 2; ++t) {
                const Pixel p = pixel(128 + 256 * s, 128 + 256 * t);
                EXPECT_EQ(p.r, 40 * (v.slot + 1)) << "s " << s << " t " << t;
                EXPECT_EQ(p.g, 255 * s) << "s " << s << " t " << t;
                EXPECT_EQ(p.b, 255 * t) << "s " << s << " t " << t;
            }
        }
    }
}

TEST_F(SkyBoxGL, DefaultBoxDrawsPlainColourAndTurnsFogOff) {
    const SkyBox box;
    EXPECT_EQ(box.textures(), std::vector<int>(6, 0));
    glEnable(GL_FOG);
    look(0, 0, -1, 0, 1, 0);
    box.draw(5.0f, RGBA<float>(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    const Pixel p = pixel(256, 256);
    EXPECT_EQ(p.r, 0);
    EXPECT_EQ(p.g, 255);
    EXPECT_EQ(p.b, 0);
}

}  // namespace
