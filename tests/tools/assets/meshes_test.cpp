#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "tests/tools/assets/catalogue.h"
#include "world/mesh.h"

using Vortel::Mesh;

// Every face a triangle whose three corners name a position, a normal and a texture coordinate
// that exist; the hull closed, each edge used once in each direction (so every face has a
// neighbour across each edge and the winding agrees); every position within the listed extent.
TEST(Meshes, EveryMeshIsAClosedTriangleHullWithinItsExtent)
{
    for (const catalogue::MeshExtent& e : catalogue::meshes()) {
        SCOPED_TRACE(e.file);
        std::unique_ptr<Mesh> mesh;
        ASSERT_NO_THROW(mesh = std::make_unique<Mesh>("mesh/" + e.file));
        ASSERT_FALSE(mesh->_faces.empty());
        std::map<std::pair<int, int>, int> edges;
        for (const Mesh::Face& face : mesh->_faces) {
            ASSERT_EQ(face.size(), 3u);
            ASSERT_TRUE(mesh->isTriangle(face));
            for (int k = 0; k < 3; ++k) {
                const Mesh::FaceVertex& v = face[static_cast<size_t>(k)];
                ASSERT_LT(static_cast<size_t>(v.normal), mesh->_normals.size());
                ASSERT_LT(static_cast<size_t>(v.texCoord), mesh->_texCoords.size());
                ASSERT_GE(v.normal, 0);
                ASSERT_GE(v.texCoord, 0);
                ++edges[{v.position, face[static_cast<size_t>((k + 1) % 3)].position}];
            }
        }
        int open = 0;
        for (const auto& [edge, count] : edges) {
            const auto back = edges.find({edge.second, edge.first});
            if (count != 1 || back == edges.end() || back->second != 1)
                ++open;
        }
        EXPECT_EQ(open, 0);

        const float slack = 1e-4f;
        for (const Vector3<float>& p : mesh->_positions) {
            EXPECT_GE(p.x, e.minX - slack);
            EXPECT_LE(p.x, e.maxX + slack);
            EXPECT_GE(p.y, e.minY - slack);
            EXPECT_LE(p.y, e.maxY + slack);
            EXPECT_GE(p.z, e.minZ - slack);
            EXPECT_LE(p.z, e.maxZ + slack);
            if (e.maxRadiusXZ > 0) {
                EXPECT_LE(std::sqrt(p.x * p.x + p.z * p.z), e.maxRadiusXZ + slack);
            }
            if (e.maxRadiusXY > 0) {
                EXPECT_LE(std::sqrt(p.x * p.x + p.y * p.y), e.maxRadiusXY + slack);
            }
            if (e.maxRadius > 0) {
                EXPECT_LE(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), e.maxRadius + slack);
            }
        }
    }
}

// Hulls face outwards: the volume they enclose, summed over their faces, is positive (flat
// double-sided pieces enclose none).
TEST(Meshes, HullsAreWoundCounterClockwiseSeenFromOutside)
{
    for (const catalogue::MeshExtent& e : catalogue::meshes()) {
        SCOPED_TRACE(e.file);
        const Mesh mesh("mesh/" + e.file);
        double volume = 0.0;
        for (const Mesh::Face& f : mesh._faces) {
            const Vector3<float>& a = mesh._positions[static_cast<size_t>(f[0].position)];
            const Vector3<float>& b = mesh._positions[static_cast<size_t>(f[1].position)];
            const Vector3<float>& c = mesh._positions[static_cast<size_t>(f[2].position)];
            volume += a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
        }
        if (e.file == "flare.obj") {
            EXPECT_NEAR(volume, 0.0, 1e-6);
        }
        else
            EXPECT_GT(volume, 0.0);
    }
}

TEST(Meshes, TheCraftIsASweptDartOfModestDetail)
{
    const Mesh craft("mesh/shiva.obj");
    EXPECT_GE(craft._faces.size(), 250u);
    EXPECT_LE(craft._faces.size(), 500u);
    // The nose is the forward-most point, on the centre line.
    Vector3<float> nose(0, 0, -1);
    for (const Vector3<float>& p : craft._positions)
        if (p.z > nose.z)
            nose = p;
    EXPECT_NEAR(nose.z, 0.5f, 1e-4f);
    EXPECT_NEAR(nose.x, 0.0f, 1e-4f);
}
