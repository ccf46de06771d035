#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tests/support/gl_fixture.h"
#include "tests/world/objfiles.h"
#include "world/mesh.h"

using Vortel::Mesh;

namespace {

Mesh loadText(const objfiles::TempFolder& folder, const std::string& text) {
    Mesh mesh;
    mesh.load(folder.write("mesh.obj", text));
    return mesh;
}

void expectCorner(const Mesh::FaceVertex& corner, int position, int texCoord, int normal) {
    EXPECT_EQ(corner.position, position);
    EXPECT_EQ(corner.texCoord, texCoord);
    EXPECT_EQ(corner.normal, normal);
}

float length(const Vector3<float>& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

}  // namespace

TEST(Mesh, ReadsATriangleIntoTheInterleavedArray) {
    const objfiles::TempFolder folder;
    const Mesh mesh = loadText(folder,
                               "v 1 2 3\nv 4 5 6\nv 7 8 9\n"
                               "vt 0.1 0.2\nvt 0.3 0.4\nvt 0.5 0.6\n"
                               "vn 1 0 0\nvn 0 1 0\nvn 0 0 1\n"
                               "f 1/1/1 2/2/2 3/3/3\n");
    ASSERT_EQ(mesh._faces.size(), 1u);
    ASSERT_EQ(mesh._faces[0].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        expectCorner(mesh._faces[0][i], i, i, i);
    }
    EXPECT_EQ(mesh._vertCount, 3);
    EXPECT_EQ(mesh._vertArrayFloats, 24);
    EXPECT_EQ(mesh._vertArrayBytes, 96);
    const float second[8] = {0.3f, 0.4f, 0.0f, 1.0f, 0.0f, 4.0f, 5.0f, 6.0f};
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(mesh._vertArray[8 + i], second[i]) << "float " << i;
    }
}

TEST(Mesh, ReadsWordByWordSoCommentsAndOtherStatementsAreLookedAtWordByWord) {
    const objfiles::TempFolder folder;
    const Mesh mesh = loadText(folder,
                               "# v 1 2 3\n"
                               "o thing g group s 1 usemtl shiny\n"
                               "v 4 5 6 v 7 8 9\n"
                               "vt 0.5 0.25 0.75\n");
    ASSERT_EQ(mesh._positions.size(), 3u);
    EXPECT_EQ(mesh._positions[0], Vector3<float>(1, 2, 3));
    EXPECT_EQ(mesh._positions[2], Vector3<float>(7, 8, 9));
    ASSERT_EQ(mesh._texCoords.size(), 1u);
    EXPECT_EQ(mesh._texCoords[0], Vector2<float>(0.5f, 0.25f));
}

TEST(Mesh, AcceptsOnlyTheCornerFormsItKnows) {
    const objfiles::TempFolder folder;
    const Mesh mesh = loadText(folder,
                               "v 0 0 0\n"
                               "f 1 2/3 4/5/6 7//8 9/ 10/11/ 12/13/14x x 15a16b17\n");
    ASSERT_EQ(mesh._faces.size(), 1u);
    const Mesh::Face& face = mesh._faces[0];
    ASSERT_EQ(face.size(), 4u);
    expectCorner(face[0], 0, -1, -1);
    expectCorner(face[1], 1, 2, -1);
    expectCorner(face[2], 3, 4, 5);
    expectCorner(face[3], 14, 15, 16);
}

TEST(Mesh, GivesEveryFaceExactlyThreeVerticesWithZerosForWhatIsMissing) {
    const objfiles::TempFolder folder;
    const Mesh mesh = loadText(folder,
                               "v 1 1 1\nv 2 2 2\nv 3 3 3\nv 4 4 4\nvn 0 0 1\n"
                               "f 1//1 2//1 3//1\n"             // p//n: a face with no corners
                               "f 1/1/1 2/1/9 3/1/1 4/1/1\n"    // a quad; texture 1 and normal 9 do not exist
                               "f 1 2 99\n"                     // a position out of range
                               "f -2147483647 2 3 99999999999\n");
    ASSERT_EQ(mesh._faces.size(), 4u);
    EXPECT_TRUE(mesh._faces[0].empty());
    EXPECT_EQ(mesh._faces[1].size(), 4u);
    EXPECT_EQ(mesh._faces[3].size(), 3u);
    ASSERT_EQ(mesh._vertCount, 12);
    ASSERT_EQ(mesh._vertArray.size(), 96u);

    const float* quad = mesh._vertArray.data() + 24;
    const float expected[24] = {0, 0, 0, 0, 1, 1, 1, 1,  //
                                0, 0, 0, 0, 0, 2, 2, 2,  //
                                0, 0, 0, 0, 1, 3, 3, 3};
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(quad[i], expected[i]) << "float " << i;
    }
    for (int face : {0, 2, 3}) {
        for (int i = 0; i < 24; ++i) {
            EXPECT_EQ(mesh._vertArray[24 * face + i], 0.0f) << "face " << face << " float " << i;
        }
    }
}

TEST(Mesh, ReadsCrLfFilesLikeLfFiles) {
    const objfiles::TempFolder folder;
    const std::string lf = std::string(objfiles::UNIT_CUBE) + "f 1 2 3";
    std::string crlf;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const Mesh a = loadText(folder, lf);
    const Mesh b = loadText(folder, crlf);
    EXPECT_EQ(a._positions, b._positions);
    EXPECT_EQ(a._faces.size(), b._faces.size());
    EXPECT_EQ(a._vertArray, b._vertArray);
    EXPECT_EQ(b._faces.back().size(), 3u);
}

TEST(Mesh, AFaceLineLongerThan254CharactersAfterItsKeywordEndsTheReading) {
    const objfiles::TempFolder folder;
    const auto faceLine = [](std::size_t restLength) {
        std::string rest = " 1 2 3";
        rest += std::string(restLength - rest.size(), ' ');
        return "f" + rest + "\r\n";
    };
    const std::string tail = "v 9 9 9\nf 1 2 3\n";
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

    const Mesh fits = loadText(folder, head + faceLine(254) + tail);
    EXPECT_EQ(fits._faces.size(), 2u);
    EXPECT_EQ(fits._positions.size(), 4u);

    const Mesh tooLong = loadText(folder, head + faceLine(255) + tail);
    EXPECT_TRUE(tooLong._faces.empty());
    EXPECT_EQ(tooLong._positions.size(), 3u);

    const Mesh endsAtKeyword = loadText(folder, head + "f");
    EXPECT_TRUE(endsAtKeyword._faces.empty());
    EXPECT_EQ(endsAtKeyword._positions.size(), 3u);
}

TEST(Mesh, AnUnreadableNumberEndsTheReadingAndDropsItsRecord) {
    const objfiles::TempFolder folder;
    const Mesh mesh = loadText(folder, "v 1 2 3\nvn 0 x 1\nv 4 5 6\n");
    EXPECT_EQ(mesh._positions.size(), 1u);
    EXPECT_TRUE(mesh._normals.empty());
}

TEST(Mesh, BoundsStartWhereTheConstructorSays) {
    const objfiles::TempFolder folder;
    const std::string path = folder.write("left.obj", "v -3 -2 1\nv -1 4 5\n");
    const Mesh opened(path);
    EXPECT_EQ(opened._bounds.min, Vector3<float>(-3, -2, 1));
    EXPECT_EQ(opened._bounds.max, Vector3<float>(FLT_MIN, 4, 5));

    Mesh loaded;
    loaded.load(path);
    EXPECT_EQ(loaded._bounds.min, Vector3<float>(-3, -2, 0));
    EXPECT_EQ(loaded._bounds.max, Vector3<float>(0, 4, 5));
    EXPECT_EQ(loaded._center, Vector3<float>(-1.5f, 1, 2.5f));
}

TEST(Mesh, FilesThatAreNotReadableMeshesThrowTheMeshError) {
    const objfiles::TempFolder folder;
    const std::filesystem::path dir = folder.path();
    std::filesystem::create_directories(dir / "folder.obj");
    std::filesystem::create_symlink("/dev/zero", dir / "endless.obj");
    std::ofstream(dir / "huge.obj", std::ios::binary) << "v 1 2 3\n";
    std::filesystem::resize_file(dir / "huge.obj", Mesh::MAX_FILE_BYTES + 1);
    for (const std::string& path : {std::string("no/such/mesh.obj"), (dir / "folder.obj").string(),
                                   (dir / "endless.obj").string(), (dir / "huge.obj").string()}) {
        try {
            Mesh mesh(path);
            ADD_FAILURE() << path << ": no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "cannot open mesh file") << path;
        }
    }
}

TEST(Mesh, AFileLoadsOnlyWithinFourMiBAndSixtyFiveThousandFaces) {
    const objfiles::TempFolder folder;
    const auto faces = [&](const std::string& name, std::size_t count) {
        std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
        for (std::size_t i = 0; i < count; ++i) {
            text += "f 1 2 3\n";
        }
        return folder.write(name, text);
    };
    const std::string padded = folder.write("padded.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    std::filesystem::resize_file(padded, (std::size_t(4) << 20) + 1);  // ends in NUL bytes
    const struct {
        std::string path;
        bool loads;
    } cases[] = {
        {faces("most.obj", 65536), true},
        {faces("over.obj", 65537), false},
        {padded, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            const Mesh mesh(c.path);
            EXPECT_TRUE(c.loads);
            EXPECT_EQ(mesh._vertCount, 3 * 65536);
        } catch (const std::runtime_error& e) {
            EXPECT_FALSE(c.loads);
            EXPECT_STREQ(e.what(), "cannot open mesh file");
        }
    }
}

TEST(Mesh, CopiesItsArrayMovedByTheOffsets) {
    const objfiles::TempFolder folder;
    const Mesh mesh = loadText(folder, "v 1 2 3\nvt 0.5 0.5\nvn 0 1 0\nf 1/1/1 1/1/1 1/1/1\n");
    float copy[25] = {};
    copy[24] = 42.0f;
    EXPECT_EQ(mesh.copyVertArray(copy, Vector3<float>(10, 20, 30), Vector2<float>(1, 2)), 24);
    const float expected[8] = {1.5f, 2.5f, 0, 1, 0, 11, 22, 33};
    for (int i = 0; i < 24; ++i) {
        EXPECT_FLOAT_EQ(copy[i], expected[i % 8]) << "float " << i;
    }
    EXPECT_EQ(copy[24], 42.0f);

    const Mesh empty;
    EXPECT_EQ(empty.copyVertArray(nullptr, Vector3<float>(), Vector2<float>()), 0);
}

TEST(Mesh, RayHitFindsTheFrontFaceWithItsNormalAndTangent) {
    const objfiles::TempFolder folder;
    Mesh cube = loadText(folder, std::string("f 1 2 9\n") + objfiles::UNIT_CUBE);
    const Ray3<float> ray{Vector3<float>(0, 0.2f, 0.1f), Vector3<float>(1, 0, 0)};
    Vector3<float> hit;
    float distance = 0.0f;
    ASSERT_TRUE(cube.rayHit(ray, Vector3<float>(5, 0, 0), &hit, &distance));
    EXPECT_FLOAT_EQ(hit.x, 4.5f);
    EXPECT_FLOAT_EQ(hit.y, 0.2f);
    EXPECT_FLOAT_EQ(hit.z, 0.1f);
    EXPECT_FLOAT_EQ(distance, 4.5f);
    EXPECT_FLOAT_EQ(cube._hitPoint.x, -0.5f);
    EXPECT_FLOAT_EQ(length(cube._hitNormal), 1.0f);
    EXPECT_FLOAT_EQ(std::fabs(cube._hitNormal.x), 1.0f);
    EXPECT_FLOAT_EQ(length(cube._hitTangent), 1.0f);
    const Vector3<float>& n = cube._hitNormal;
    const Vector3<float>& t = cube._hitTangent;
    EXPECT_NEAR(n.x * t.x + n.y * t.y + n.z * t.z, 0.0f, 1e-6f);

    EXPECT_FALSE(cube.rayHit(ray, Vector3<float>(5, 3, 0), &hit, &distance));
    EXPECT_FALSE(Mesh().rayHit(ray, Vector3<float>(), &hit, nullptr));
}

TEST(Mesh, RayHitTakesTheFirstFaceInTheFileNotTheNearest) {
    const objfiles::TempFolder folder;
    // Two walls facing -x, the far one (x = 2) listed first.
    Mesh walls = loadText(folder,
                          "v 2 -1 -1\nv 2 -1 1\nv 2 1 0\n"
                          "v 1 -1 -1\nv 1 -1 1\nv 1 1 0\n"
                          "f 1 2 3\nf 4 5 6\n");
    const Ray3<float> ray{Vector3<float>(-5, 0, 0), Vector3<float>(1, 0, 0)};
    Vector3<float> hit;
    ASSERT_TRUE(walls.rayHit(ray, Vector3<float>(), &hit, nullptr));
    EXPECT_FLOAT_EQ(hit.x, 2.0f);
}

using MeshGL = testsupport::GlFixture;

TEST_F(MeshGL, DrawsFromItsListAndItsArrayAndLeavesTheClientArraysAsFound) {
    const objfiles::TempFolder folder;
    Mesh cube = loadText(folder, objfiles::UNIT_CUBE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 1, 0, 1);
    const auto centrePixelIsGreen = [] {
        glFinish();
        unsigned char pixel[4] = {};
        glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return pixel[0] == 0 && pixel[1] == 255 && pixel[2] == 0;
    };

    cube.createDisplayList();
    EXPECT_NE(cube._displayList, 0u);
    glClear(GL_COLOR_BUFFER_BIT);
    cube.draw();
    EXPECT_TRUE(centrePixelIsGreen());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glEnableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glClear(GL_COLOR_BUFFER_BIT);
    cube.drawVertArray(true);
    EXPECT_TRUE(centrePixelIsGreen());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    glDisableClientState(GL_VERTEX_ARRAY);

    glClear(GL_COLOR_BUFFER_BIT);
    cube.drawVertArray(Vector3<int>(5, 0, 0));
    EXPECT_FALSE(centrePixelIsGreen());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
