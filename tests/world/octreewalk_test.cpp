#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/support/helpers.h"
#include "tests/world/objfiles.h"
#include "world/collectable.h"
#include "world/cuberenderer.h"
#include "world/octree.h"
#include "world/octreewalk.h"

using Vortel::CubeRenderer;
using Vortel::OcTree;
using Vortel::OcTreeWalk;
typedef Vector3<int> Cell;
typedef RGBA<unsigned char> Bytes;

namespace {

using testsupport::lookAtRow;

using objfiles::MeshFolder;

// Six planes that every point is inside.
struct EverythingFrustum {
    EverythingFrustum() {
        for (auto& plane : planes) {
            plane[0] = plane[1] = plane[2] = 0.0f;
            plane[3] = 1.0f;
        }
    }
    float planes[6][4];
};

// A field, its renderer and the colours of one trail: red, green and blue shades cooling
// to white, grey and black.
struct FieldState {
    FieldState() : renderer(meshes.path()), tree(5, renderer) {
        const unsigned char start = tree.createColorTriplet(RGBA<float>(1, 0, 0, 1), RGBA<float>(0, 1, 0, 1),
                                                            RGBA<float>(0, 0, 1, 1));
        const unsigned char end = tree.createColorTriplet(RGBA<float>(1, 1, 1, 1), RGBA<float>(0.5f, 0.5f, 0.5f, 1),
                                                          RGBA<float>(0, 0, 0, 1));
        trail = tree.createTrailColors(start, end);
    }

    MeshFolder meshes;
    CubeRenderer renderer;
    OcTree tree;
    unsigned char trail = 0;
};

class Field : public ::testing::Test, public FieldState {
protected:
    const OcTreeWalk& walk(double time) {
        renderer.clearArray();
        return tree.walk(everything.planes, time);
    }

    int batchedFaces() const { return renderer.batch().vertexCount() / 4; }

    Bytes vertexColor(int vertex) const {
        const unsigned char* c = renderer.batch().vertices()[vertex].color;
        return Bytes(c[0], c[1], c[2], c[3]);
    }

    EverythingFrustum everything;
};

// The faces of trail cubes that face a cell that is not solid, counted from the kinds.
int freshFaceCount(const OcTree& tree) {
    static const Cell steps[6] = {Cell(1, 0, 0), Cell(-1, 0, 0), Cell(0, 1, 0),
                                  Cell(0, -1, 0), Cell(0, 0, 1), Cell(0, 0, -1)};
    int faces = 0;
    for (int z = 0; z < tree.size(); ++z) {
        for (int y = 0; y < tree.size(); ++y) {
            for (int x = 0; x < tree.size(); ++x) {
                if (!Vortel::isTrailKind(tree.getTerminalNode(Cell(x, y, z))->count())) {
                    continue;
                }
                for (const Cell& step : steps) {
                    const int kind = tree.getTerminalNode(Cell(x + step.x, y + step.y, z + step.z))->count();
                    faces += Vortel::isSolidKind(kind) ? 0 : 1;
                }
            }
        }
    }
    return faces;
}

}  // namespace

using OcTreeWalkTest = Field;

TEST_F(OcTreeWalkTest, BatchesEveryUncoveredFaceOfAChessboard) {
    for (int z = 0; z < 32; ++z) {
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if ((x + y + z) % 2 == 0) {
                    tree.setTerminalNode(Cell(x, y, z), OcTree::CELL_SOLID_1 + (x % 2), trail);
                }
            }
        }
    }
    walk(1.0);
    EXPECT_EQ(batchedFaces(), 16384 * 6);
    EXPECT_EQ(batchedFaces(), freshFaceCount(tree));
}

TEST_F(OcTreeWalkTest, BatchesOnlyTrailCubesOfAMixedField) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> roll(0, 99);
    for (int z = 0; z < 32; ++z) {
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const int r = roll(random);
                const Cell c(x, y, z);
                if (r < 15) {
                    tree.setTerminalNode(c, OcTree::CELL_SOLID_1, trail);
                } else if (r < 30) {
                    tree.setTerminalNode(c, OcTree::CELL_SOLID_2, trail);
                } else if (r < 33) {
                    tree.setTerminalNode(c, 3, trail);  // solid but never drawn
                } else if (r < 35) {
                    tree.addCollectableObject(c);
                }
            }
        }
    }
    walk(0.5);
    EXPECT_EQ(batchedFaces(), freshFaceCount(tree));

    // Seen from inside the field, the cubes go nearest first where hidden faces are left out;
    // the pick-ups, which blend, keep the order the tree's own walk gives them.
    const double f = 1.0;  // fov 90, aspect 1, near 0.1, far 16
    const double projection[16] = {f, 0, 0, 0, 0, f, 0, 0, 0, 0, -16.1 / 15.9, -1, 0, 0, -2 * 16 * 0.1 / 15.9, 0};
    const double modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -16.5, -16.5, -16.5, 1};
    float planes[6][4];
    GetFrustum(projection, modelview, planes);
    std::vector<Cell> pickUps[2];
    for (int culled = 0; culled < 2; ++culled) {
        tree.occlusionCulling(culled == 1);
        for (const Vortel::Collectable* c : tree.walk(planes, 0.5).collectables()) {
            pickUps[culled].push_back(c->pos());
        }
    }
    EXPECT_GT(pickUps[0].size(), 10u);
    EXPECT_TRUE(pickUps[0] == pickUps[1]);
}

TEST_F(OcTreeWalkTest, NeitherDrawsNorAgesACellCoveredOnAllSides) {
    for (int z = 10; z < 13; ++z) {
        for (int y = 10; y < 13; ++y) {
            for (int x = 10; x < 13; ++x) {
                tree.setTerminalNode(Cell(x, y, z), OcTree::CELL_SOLID_1, trail);
            }
        }
    }
    const OcTree::Node& inner = *tree.getTerminalNode(Cell(11, 11, 11));
    const OcTree::Node& corner = *tree.getTerminalNode(Cell(10, 10, 10));
    EXPECT_EQ(inner.neighbours(), OcTree::NEIGHBOURS_ALL);
    walk(2.0);
    EXPECT_EQ(batchedFaces(), 6 * 9);
    EXPECT_EQ(inner.age(), 0.0f);
    EXPECT_EQ(inner.lastTime(), 0.0);
    EXPECT_EQ(corner.age(), 2.0f);
    EXPECT_EQ(corner.lastTime(), 2.0);
}

// Each face's first vertex, in face-table order: -z (shade 0), +z, +x (shade 1), -x,
// +y (shade 2), -y.
TEST_F(OcTreeWalkTest, CoolsATrailCubeFromItsStartToItsEndColour) {
    tree.trailCoolingTime(3.0f);
    tree.setTerminalNode(Cell(4, 4, 4), OcTree::CELL_SOLID_1, trail);
    walk(0.0);
    ASSERT_EQ(batchedFaces(), 6);
    EXPECT_EQ(vertexColor(0), Bytes(255, 0, 0, 255));
    EXPECT_EQ(vertexColor(8), Bytes(0, 255, 0, 255));
    EXPECT_EQ(vertexColor(16), Bytes(0, 0, 255, 255));

    walk(1.5);  // half way through: the ramp only begins
    EXPECT_EQ(vertexColor(0), Bytes(255, 0, 0, 255));

    walk(2.25);  // half way along the ramp
    EXPECT_EQ(vertexColor(0), Bytes(255, 127, 127, 255));
    EXPECT_EQ(vertexColor(16), Bytes(0, 0, 127, 255));

    walk(3.0);
    EXPECT_EQ(vertexColor(0), Bytes(255, 255, 255, 255));
    EXPECT_EQ(vertexColor(8), Bytes(127, 127, 127, 255));
    EXPECT_EQ(vertexColor(16), Bytes(0, 0, 0, 255));
}

TEST_F(OcTreeWalkTest, ShrinksAMeltingCubeAndClearsItOnceItHasShrunkAway) {
    tree.meltSpeed(2.0f, 2.0f);
    tree.setTerminalNode(Cell(3, 4, 5), OcTree::CELL_SOLID_1, trail);
    tree.setTerminalNode(Cell(3, 4, 5), OcTree::SET_MELT, 0);
    const OcTreeWalk& frame = walk(0.25);
    ASSERT_EQ(frame.meltingCubes().size(), 1u);
    EXPECT_EQ(frame.meltingCubes()[0].cell, Cell(3, 4, 5));
    EXPECT_FLOAT_EQ(frame.meltingCubes()[0].scale, 0.5f);
    EXPECT_EQ(batchedFaces(), 0);
    EXPECT_EQ(tree.root()->count(), 1);

    walk(0.5);
    EXPECT_TRUE(frame.meltingCubes().empty());
    EXPECT_EQ(tree.root()->count(), 0);
    EXPECT_EQ(tree.getTerminalNode(Cell(3, 4, 5))->count(), OcTree::CELL_EMPTY);
    EXPECT_EQ(tree.getTerminalNode(Cell(3, 4, 5))->age(), 0.0f);
}

TEST_F(OcTreeWalkTest, ListsAPickUpUntilItHasFadedOut) {
    Vortel::Collectable* const pickUp = tree.addCollectableObject(Cell(7, 7, 7));
    const OcTreeWalk& frame = walk(1.0);
    ASSERT_EQ(frame.collectables().size(), 1u);
    EXPECT_EQ(frame.collectables()[0], pickUp);
    EXPECT_DOUBLE_EQ(pickUp->_age, 1.0);

    walk(4.5);
    ASSERT_EQ(frame.collectables().size(), 1u);
    EXPECT_FLOAT_EQ(pickUp->_alpha, 0.5f);

    walk(5.0);
    EXPECT_TRUE(frame.collectables().empty());
    EXPECT_EQ(tree.getTerminalNode(Cell(7, 7, 7))->collectable(), nullptr);
    EXPECT_EQ(tree.root()->count(), 0);
}

// Only x < 16 is in view: the other half neither draws nor ages, and catches up on the
// whole missed time once it is seen.
TEST_F(OcTreeWalkTest, CullsCellsOutsideTheViewAndAgesThemWhenSeenAgain) {
    EverythingFrustum half;
    half.planes[0][0] = -1.0f;
    half.planes[0][3] = 16.0f;
    tree.meltSpeed(0.5f, 0.5f);
    tree.setTerminalNode(Cell(2, 2, 2), OcTree::CELL_SOLID_1, trail);
    tree.setTerminalNode(Cell(20, 2, 2), OcTree::CELL_SOLID_1, trail);
    tree.setTerminalNode(Cell(24, 9, 9), OcTree::CELL_SOLID_1, trail);
    tree.setTerminalNode(Cell(24, 9, 9), OcTree::SET_MELT, 0);

    const OcTreeWalk& frame = tree.walk(half.planes, 1.0);
    EXPECT_EQ(batchedFaces(), 6);
    EXPECT_GT(frame.nodesVisited(), 0);
    EXPECT_EQ(tree.getTerminalNode(Cell(20, 2, 2))->lastTime(), 0.0);
    EXPECT_TRUE(frame.meltingCubes().empty());
    EXPECT_EQ(tree.root()->count(), 3);

    walk(4.0);
    EXPECT_EQ(frame.nodesVisited(), 0);
    EXPECT_EQ(batchedFaces(), 12);
    EXPECT_EQ(tree.getTerminalNode(Cell(20, 2, 2))->age(), 4.0f);
    EXPECT_EQ(tree.root()->count(), 2);  // the melting cube had long shrunk away
}

TEST_F(OcTreeWalkTest, AnEmptyFieldOrAFieldOutOfViewBatchesNothing) {
    walk(1.0);
    EXPECT_EQ(batchedFaces(), 0);
    tree.setTerminalNode(Cell(1, 1, 1), OcTree::CELL_SOLID_1, trail);
    EverythingFrustum none;
    none.planes[4][3] = -1.0f;
    renderer.clearArray();
    tree.walk(none.planes, 2.0);
    EXPECT_EQ(batchedFaces(), 0);
    EXPECT_EQ(tree.time(), 2.0);
}

namespace {

class OcTreeGL : public testsupport::GlFixture {
protected:
    void SetUp() override {
        GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        field.reset(new FieldState());
        for (int x = 4; x < 9; ++x) {
            field->tree.setTerminalNode(Cell(x, 5, 5), OcTree::CELL_SOLID_1, field->trail);
        }
    }
    void TearDown() override {
        field.reset();
        GlFixture::TearDown();
    }

    std::unique_ptr<FieldState> field;
};

}  // namespace

TEST_F(OcTreeGL, ShowsFreshTrailCubesInTheirStartColours) {
    float frustum[6][4];
    lookAtRow(frustum);
    field->tree.draw(frustum, Vector3<float>(8, 9, 14), 0.0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const std::vector<unsigned char> pixels = testsupport::readScreen();
    EXPECT_GT(testsupport::pixelsOf(pixels, 255, 0, 0), 1000);  // the z faces
    EXPECT_GT(testsupport::pixelsOf(pixels, 0, 0, 255), 1000);  // the tops
    EXPECT_EQ(field->renderer.batch().vertexCount(), 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(OcTreeGL, DrawsAMeltingCubeBlack) {
    field->tree.meltSpeed(1.0f, 1.0f);
    for (int x = 4; x < 9; ++x) {
        field->tree.setTerminalNode(Cell(x, 5, 5), OcTree::SET_MELT, 0);
    }
    float frustum[6][4];
    lookAtRow(frustum);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    field->tree.draw(frustum, Vector3<float>(), 0.1);
    EXPECT_GT(testsupport::pixelsOf(testsupport::readScreen(), 0, 0, 0), 1000);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(OcTreeGL, AddsTheCubeMapWhenReflectionsAreOn) {
    GLuint cubeMap = 0;
    glGenTextures(1, &cubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
    std::vector<unsigned char> grey(4 * 4 * 4, 96);
    for (int face = 0; face < 6; ++face) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB8, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     grey.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    float frustum[6][4];
    lookAtRow(frustum);
    field->tree.draw(frustum, Vector3<float>(), 0.0);
    const std::vector<unsigned char> plain = testsupport::readScreen();

    field->tree.renderReflections(true);
    lookAtRow(frustum);
    field->tree.draw(frustum, Vector3<float>(), 0.0);
    const std::vector<unsigned char> reflecting = testsupport::readScreen();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));

    // Red faces gain the grey in green and blue.
    EXPECT_GT(testsupport::pixelsOf(plain, 255, 0, 0), 1000);
    EXPECT_EQ(testsupport::pixelsOf(reflecting, 255, 0, 0), 0);
    EXPECT_GT(testsupport::pixelsOf(reflecting, 255, 96, 96), 1000);
    glDeleteTextures(1, &cubeMap);
}
