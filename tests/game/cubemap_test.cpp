#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine2d/bitmapmanager.h"
#include "engine2d/renderer2d.h"
#include "game/game_setups.h"
#include "platform/geometry.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/support/helpers.h"
#include "tests/support/png_writer.h"
#include "tests/world/objfiles.h"
#include "world/cuberenderer.h"
#include "world/octree.h"

namespace {

using testsupport::lookAtRow;

const int FACES = 6;

// The colour of environment picture i.
RGBA<int> faceColor(int i) {
    return RGBA<int>(30 * (i + 1), 250 - 40 * i, 20 * i, 255);
}

// The game's content as the loader leaves it: six 8 x 8 environment pictures of one colour
// each, and the meshes of the cube renderer, read from a folder of the test's own.
class CubeMapGL : public testsupport::GlFixture {
protected:
    void SetUp() override {
        testsupport::GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        folder.reset(new objfiles::TempFolder);
        renderer.reset(new Stelkor::Renderer2D);
        bitmaps.reset(new Stelkor::BitmapManager(*renderer));
        bitmaps->addPath(folder->path());
    }
    void TearDown() override {
        bitmaps.reset();
        renderer.reset();
        folder.reset();
        testsupport::GlFixture::TearDown();
    }

    void writeEnvironment(int count) {
        for (int i = 0; i < count; ++i) {
            testsupport::RgbaPicture picture(8, 8);
            const RGBA<int> c = faceColor(i);
            picture.fill(static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                         static_cast<std::uint8_t>(c.b), 255);
            testsupport::writePng(folder->path() + "/environment" + std::to_string(i) + ".png", picture);
        }
    }

    // The loader's part, then the post-load steps up to the cube map.
    unsigned int loadAndSetUp() {
        writeEnvironment(FACES);
        for (int i = 0; i < FACES; ++i) {
            bitmaps->get("environment" + std::to_string(i) + ".png");
        }
        bitmaps->activateAll();
        return Vortel::setupCubeMap(*bitmaps);
    }

    std::unique_ptr<objfiles::TempFolder> folder;
    std::unique_ptr<Stelkor::Renderer2D> renderer;
    std::unique_ptr<Stelkor::BitmapManager> bitmaps;
};

GLint cubeMapParameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, name, &value);
    return value;
}

GLint faceLevel(int face, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), 0, name, &value);
    return value;
}

TEST_F(CubeMapGL, HoldsTheSixEnvironmentPicturesInFaceOrder) {
    const unsigned int cubeMap = loadAndSetUp();
    EXPECT_NE(cubeMap, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), cubeMap);
    EXPECT_EQ(cubeMapParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(cubeMapParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    // +x, -x, +y, -y, +z, -z from environment0 ... environment5.
    for (int face = 0; face < FACES; ++face) {
        SCOPED_TRACE(face);
        EXPECT_EQ(faceLevel(face, GL_TEXTURE_WIDTH), 8);
        EXPECT_EQ(faceLevel(face, GL_TEXTURE_HEIGHT), 8);
        EXPECT_EQ(faceLevel(face, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB8);
        std::vector<unsigned char> texels(8 * 8 * 4);
        glGetTexImage(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                      texels.data());
        const RGBA<int> c = faceColor(face);
        EXPECT_EQ(texels[0], c.r);
        EXPECT_EQ(texels[1], c.g);
        EXPECT_EQ(texels[2], c.b);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CubeMapGL, AMissingPictureFailsBeforeAnyFaceIsMade) {
    writeEnvironment(FACES - 1);
    try {
        Vortel::setupCubeMap(*bitmaps);
        FAIL() << "no error for a missing environment picture";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "ResourceManager(Base) - cannot find resource file: environment5.png");
    }
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(bound, 0);
}

int differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int found = 0;
    for (std::size_t i = 0; i < a.size(); i += 4) {
        found += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2] ? 1 : 0;
    }
    return found;
}

TEST_F(CubeMapGL, TrailCubesShowTheEnvironmentWithReflectionsOn) {
    for (const char* name : {"cube.obj", "cube_bevel.obj", "sphere.obj"}) {
        folder->write(std::string("mesh/") + name, objfiles::UNIT_CUBE);
    }
    Vortel::CubeRenderer cubes(folder->path() + "/mesh");
    Vortel::OcTree field(5, cubes);
    const unsigned char start = field.createColorTriplet(RGBA<float>(1, 0, 0, 1), RGBA<float>(0, 1, 0, 1),
                                                         RGBA<float>(0, 0, 1, 1));
    const unsigned char trail = field.createTrailColors(start, start);
    for (int x = 4; x < 9; ++x) {
        field.setTerminalNode(Vector3<int>(x, 5, 5), Vortel::OcTree::CELL_SOLID_1, trail);
    }
    loadAndSetUp();
    renderer->vport(Quib::AABB2<int>(0, 0, 800, 600));  // the 2D pass of a frame in between

    float frustum[6][4];
    lookAtRow(frustum);
    field.draw(frustum, Vector3<float>(8, 9, 14), 0.0);
    const std::vector<unsigned char> plain = testsupport::readScreen();

    field.renderReflections(true);
    lookAtRow(frustum);
    field.draw(frustum, Vector3<float>(8, 9, 14), 0.0);
    const std::vector<unsigned char> reflecting = testsupport::readScreen();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_GT(testsupport::pixelsOf(plain, 255, 0, 0), 1000);
    EXPECT_EQ(testsupport::pixelsOf(reflecting, 255, 0, 0), 0);
    EXPECT_GT(differingPixels(plain, reflecting), 5000);
}

}  // namespace
