#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/world/objfiles.h"
#include "world/cuberenderer.h"

using Vortel::CubeRenderer;

namespace {

using objfiles::MeshFolder;

const RGBA<float> RED(1, 0, 0, 1);
const RGBA<float> GREEN(0, 1, 0, 1);
const RGBA<float> BLUE(0, 0, 1, 1);

}  // namespace

TEST(CubeRenderer, StartsWithItsMeshesAndDefaultShades) {
    const MeshFolder meshes;
    const CubeRenderer renderer(meshes.path());
    EXPECT_EQ(renderer.cube()._faces.size(), 12u);
    EXPECT_EQ(renderer.cubeBevel()._faces.size(), 12u);
    EXPECT_EQ(renderer.sphere()._faces.size(), 12u);
    EXPECT_EQ(renderer.activeShade(0), (RGBA<unsigned char>(255, 0, 0, 255)));
    EXPECT_EQ(renderer.activeShade(1), (RGBA<unsigned char>(255, 0, 255, 255)));
    EXPECT_EQ(renderer.activeShade(2), (RGBA<unsigned char>(0, 0, 255, 255)));
    EXPECT_EQ(renderer.normalSize(), 2.5f);
    EXPECT_EQ(renderer.batch().vertexCount(), 0);
    EXPECT_EQ(renderer.colors().tripletCount(), 0);
}

TEST(CubeRenderer, AMissingMeshThrows) {
    const objfiles::TempFolder empty;
    try {
        CubeRenderer renderer(empty.path());
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot open mesh file");
    }
}

TEST(CubeRenderer, SetsActiveShadesBySlotAndFromTriplets) {
    const MeshFolder meshes;
    CubeRenderer renderer(meshes.path());
    renderer.color(1, RGBA<unsigned char>(1, 2, 3, 4));
    EXPECT_EQ(renderer.activeShade(1), (RGBA<unsigned char>(1, 2, 3, 4)));
    renderer.color(2, RGBA<float>(0.5f, 1, 0, 1));
    EXPECT_EQ(renderer.activeShade(2), (RGBA<unsigned char>(127, 255, 0, 255)));
    renderer.color(3, RGBA<float>(0, 0, 0, 0));
    EXPECT_EQ(renderer.activeShade(0), (RGBA<unsigned char>(255, 0, 0, 255)));

    const unsigned char t = renderer.createColorTriplet(RED, GREEN, BLUE);
    renderer.activeColorTriplet(t);
    EXPECT_EQ(renderer.activeShade(0), (RGBA<unsigned char>(255, 0, 0, 255)));
    EXPECT_EQ(renderer.activeShade(1), (RGBA<unsigned char>(0, 255, 0, 255)));
    EXPECT_EQ(renderer.activeShade(2), (RGBA<unsigned char>(0, 0, 255, 255)));
}

TEST(CubeRenderer, BatchesCubesInTheActiveShades) {
    const MeshFolder meshes;
    CubeRenderer renderer(meshes.path());
    renderer.color(0, RGBA<unsigned char>(10, 20, 30, 40));
    renderer.drawCubeToArray(AABB3<int>(1, 2, 3, 2, 3, 4), 0);
    EXPECT_EQ(renderer.batch().vertexCount(), 24);
    renderer.drawCubeToArray(AABB3<int>(1, 2, 3, 2, 3, 4), 63);
    EXPECT_EQ(renderer.batch().vertexCount(), 24);
    renderer.drawCubeToArray(AABB3<float>(1, 2, 3, 2, 3, 4), 0);
    ASSERT_EQ(renderer.batch().vertexCount(), 48);
    for (int v = 0; v < 24; ++v) {
        const Vortel::CubeBatch::Vertex& a = renderer.batch().vertices()[v];
        const Vortel::CubeBatch::Vertex& b = renderer.batch().vertices()[24 + v];
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(a.position[k], b.position[k]);
        }
    }
    EXPECT_EQ(renderer.batch().vertices()[0].color[0], 10);
    EXPECT_EQ(renderer.batch().vertices()[0].normal[2], -2.5f);
}

using CubeRendererGL = testsupport::GlFixture;

namespace {

void lookAtBlockCorner() {
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 0.5, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(12, 11, 13, 2, 2, 2, 0, 1, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::map<unsigned int, int> countColours() {
    const std::vector<unsigned char> pixels = testsupport::readScreen();
    std::map<unsigned int, int> counts;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        ++counts[(pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2]];
    }
    return counts;
}

// The neighbour bits of a cell inside a solid block of n cells per edge.
unsigned char coveredFaces(int x, int y, int z, int n) {
    return (x + 1 < n ? 1 : 0) | (x > 0 ? 2 : 0) | (y + 1 < n ? 4 : 0) | (y > 0 ? 8 : 0) | (z + 1 < n ? 16 : 0) |
           (z > 0 ? 32 : 0);
}

}  // namespace

TEST_F(CubeRendererGL, DrawsABatchedBlockInThreeShades) {
    const MeshFolder meshes;
    CubeRenderer renderer(meshes.path());
    renderer.activeColorTriplet(renderer.createColorTriplet(RED, GREEN, BLUE));
    for (int z = 0; z < 4; ++z) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                renderer.drawCubeToArray(AABB3<int>(x, y, z, x + 1, y + 1, z + 1), coveredFaces(x, y, z, 4));
            }
        }
    }
    EXPECT_EQ(renderer.batch().vertexCount(), 6 * 16 * 4);
    lookAtBlockCorner();
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    renderer.drawArray(false);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    std::map<unsigned int, int> counts = countColours();
    EXPECT_GT(counts[0xff0000], 5000);
    EXPECT_GT(counts[0x00ff00], 5000);
    EXPECT_GT(counts[0x0000ff], 5000);
    EXPECT_EQ(counts[0xff0000] + counts[0x00ff00] + counts[0x0000ff] + counts[0], 800 * 600);

    renderer.drawArray(true);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(renderer.batch().vertexCount(), 0);
    lookAtBlockCorner();
    renderer.drawArray(true);
    EXPECT_EQ(countColours()[0], 800 * 600);
}

TEST_F(CubeRendererGL, DrawsSingleCubesAtOnceAndFromLists) {
    const MeshFolder meshes;
    CubeRenderer renderer(meshes.path());
    const unsigned char triplet = renderer.createColorTriplet(RED, GREEN, BLUE);
    const auto drawn = [](const char* what) {
        std::map<unsigned int, int> counts = countColours();
        EXPECT_GT(800 * 600 - counts[0], 1000) << what;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << what;
        return counts;
    };

    lookAtBlockCorner();
    renderer.drawColoredCube(AABB3<float>(0, 0, 0, 4, 4, 4), triplet);
    std::map<unsigned int, int> counts = drawn("coloured cube");
    EXPECT_GT(counts[0xff0000], 1000);
    EXPECT_GT(counts[0x00ff00], 1000);
    EXPECT_GT(counts[0x0000ff], 1000);

    renderer.activeColorTriplet(triplet);
    const unsigned int list = renderer.createCachedCube();
    EXPECT_NE(list, 0u);
    lookAtBlockCorner();
    renderer.drawCachedCube(Vector3<int>(1, 1, 1), 3.0f, list);
    counts = drawn("cached cube");
    EXPECT_GT(counts[0xff0000], 1000);
    EXPECT_GT(counts[0x0000ff], 1000);
    glDeleteLists(list, 1);

    lookAtBlockCorner();
    renderer.drawCube(Vector3<int>(2, 2, 2));
    drawn("cube");

    lookAtBlockCorner();
    renderer.drawBillboard(Vector3<int>(2, 2, 2));
    counts = drawn("billboard");
    EXPECT_GT(counts[0x0066ff], 1000);
}
