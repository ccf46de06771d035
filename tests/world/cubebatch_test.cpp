#include <gtest/gtest.h>

#include "world/cubebatch.h"

using Vortel::CubeBatch;

namespace {

const RGBA<unsigned char> SHADES[3] = {RGBA<unsigned char>(1, 2, 3, 4), RGBA<unsigned char>(5, 6, 7, 8),
                                       RGBA<unsigned char>(9, 10, 11, 12)};

}  // namespace

TEST(CubeBatch, AppendsOnlyTheUncoveredFaces) {
    CubeBatch batch;
    const AABB3<float> box(0, 0, 0, 1, 1, 1);
    batch.append(box, 0, SHADES, 2.5f);
    EXPECT_EQ(batch.vertexCount(), 24);
    batch.append(box, 63, SHADES, 2.5f);
    EXPECT_EQ(batch.vertexCount(), 24);
    batch.append(box, 32 | 16, SHADES, 2.5f);
    EXPECT_EQ(batch.vertexCount(), 40);
    batch.clear();
    EXPECT_EQ(batch.vertexCount(), 0);
}

TEST(CubeBatch, WritesEachFaceInTableOrderWithItsShadeAndNormal) {
    CubeBatch batch;
    // Everything but -x (bit 2) and +y (bit 4) covered.
    batch.append(AABB3<float>(1, 2, 3, 4, 5, 6), 63 & ~(2 | 4), SHADES, 2.5f);
    ASSERT_EQ(batch.vertexCount(), 8);
    const float positions[24] = {1, 2, 3, 1, 2, 6, 1, 5, 6, 1, 5, 3,   // -x
                                 1, 5, 3, 1, 5, 6, 4, 5, 6, 4, 5, 3};  // +y
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(batch.vertices()[i / 3].position[i % 3], positions[i]) << "float " << i;
    }
    for (int v = 0; v < 8; ++v) {
        const RGBA<unsigned char>& shade = SHADES[v < 4 ? 1 : 2];
        const CubeBatch::Vertex& vertex = batch.vertices()[v];
        EXPECT_EQ(vertex.color[0], shade.r);
        EXPECT_EQ(vertex.color[1], shade.g);
        EXPECT_EQ(vertex.color[3], shade.a);
        EXPECT_EQ(vertex.normal[0], v < 4 ? -2.5f : 0.0f);
        EXPECT_EQ(vertex.normal[1], v < 4 ? 0.0f : 2.5f);
        EXPECT_EQ(vertex.normal[2], 0.0f);
    }
}

TEST(CubeBatch, LeavesOutCubesBeyondItsCapacity) {
    CubeBatch batch;
    for (int i = 0; i <= CubeBatch::MAX_CUBES; ++i) {
        batch.append(AABB3<float>(0, 0, 0, 1, 1, 1), 0, SHADES, 1.0f);
    }
    EXPECT_EQ(batch.vertexCount(), CubeBatch::MAX_VERTICES);
}
