#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "platform/geometry.h"
#include "platform/math.h"

namespace {

const double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A perspective projection in column order, looking down -z from the origin.
void perspective(double fovyDegrees, double aspect, double nearClip, double farClip, double out[16]) {
    const double f = 1.0 / std::tan(fovyDegrees * TRUE_PI<double> / 360.0);
    for (int i = 0; i < 16; ++i) {
        out[i] = 0.0;
    }
    out[0] = f / aspect;
    out[5] = f;
    out[10] = (farClip + nearClip) / (nearClip - farClip);
    out[11] = -1.0;
    out[14] = 2.0 * farClip * nearClip / (nearClip - farClip);
}

// Straight from the definition: count corners strictly inside each plane.
int referenceInFrustum(const Vector3<float>& min, const Vector3<float>& max, const float planes[6][4]) {
    int whollyInside = 0;
    for (int p = 0; p < 6; ++p) {
        int inside = 0;
        for (int corner = 0; corner < 8; ++corner) {
            const float x = (corner & 4) ? max.x : min.x;
            const float y = (corner & 2) ? max.y : min.y;
            const float z = (corner & 1) ? max.z : min.z;
            if (planes[p][0] * x + planes[p][1] * y + planes[p][2] * z + planes[p][3] > 0) {
                ++inside;
            }
        }
        if (inside == 0) {
            return 0;
        }
        whollyInside += inside == 8 ? 1 : 0;
    }
    return whollyInside == 6 ? 2 : 1;
}

Ray3<float> ray(float ox, float oy, float oz, float dx, float dy, float dz) {
    return Ray3<float>{Vector3<float>(ox, oy, oz), Vector3<float>(dx, dy, dz)};
}

const Vector3<float> kUnitMin(0, 0, 0);
const Vector3<float> kUnitMax(1, 1, 1);

}  // namespace

TEST(FrustumTest, PlanesComeInTheOrderRightLeftBottomTopFarNear) {
    // With both matrices the identity the view volume is the cube -1..1.
    float planes[6][4];
    GetFrustum(kIdentity, kIdentity, planes);
    const float expected[6][4] = {{-1, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1},
                                  {0, -1, 0, 1}, {0, 0, -1, 1}, {0, 0, 1, 1}};
    for (int p = 0; p < 6; ++p) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(planes[p][c], expected[p][c]) << "plane " << p << " coefficient " << c;
        }
    }
}

TEST(FrustumTest, ProjectionIsAppliedAfterTheModelview) {
    double projection[16];
    perspective(60, 1.5, 0.5, 50, projection);
    Matrix turn;
    turn.rotation(Vector3<float>(0.3f, 1.2f, -0.4f));
    Matrix move;
    move.translation(Vector3<float>(1, -2, -8));
    const Matrix modelview = turn * move;

    float planes[6][4];
    GetFrustum(projection, modelview.data(), planes);
    // Modelview first, projection second: the same clip matrix with the identity as modelview.
    const Matrix clip = modelview * Matrix(projection);
    float combined[6][4];
    GetFrustum(clip.data(), kIdentity, combined);
    for (int p = 0; p < 6; ++p) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(planes[p][c], combined[p][c], 1e-5f);
        }
    }
}

TEST(FrustumTest, ClassifiesInsideCrossingAndOutside) {
    double projection[16];
    perspective(45, 1.333, 1, 100, projection);
    float planes[6][4];
    GetFrustum(projection, kIdentity, planes);

    EXPECT_EQ(AABBinFrustum(Vector3<float>(-1, -1, -11), Vector3<float>(1, 1, -9), planes), 2);
    // Straddles the right plane only.
    EXPECT_EQ(AABBinFrustum(Vector3<float>(5, -1, -11), Vector3<float>(8, 1, -9), planes), 1);
    // Straddles the near plane.
    EXPECT_EQ(AABBinFrustum(Vector3<float>(-0.1f, -0.1f, -2), Vector3<float>(0.1f, 0.1f, -0.5f), planes), 1);
    // Behind the camera, and beyond the far plane.
    EXPECT_EQ(AABBinFrustum(Vector3<float>(-1, -1, 2), Vector3<float>(1, 1, 4), planes), 0);
    EXPECT_EQ(AABBinFrustum(Vector3<float>(-1, -1, -120), Vector3<float>(1, 1, -101), planes), 0);

    EXPECT_EQ(AABBinFrustum(AABB3<int>(-1, -1, -11, 1, 1, -9), planes), 2);
    EXPECT_EQ(AABBinFrustum(AABB3<int>(-1, -1, 2, 1, 1, 4), planes), 0);
}

TEST(FrustumTest, CornersOnAPlaneAreOutsideIt) {
    float planes[6][4];
    GetFrustum(kIdentity, kIdentity, planes);
    // Touches the right plane x = 1 from outside.
    EXPECT_EQ(AABBinFrustum(Vector3<float>(1, 0, 0), Vector3<float>(2, 0.5f, 0.5f), planes), 0);
    // Reaches the right plane from inside: not wholly inside.
    EXPECT_EQ(AABBinFrustum(Vector3<float>(0.5f, 0, 0), Vector3<float>(1, 0.5f, 0.5f), planes), 1);
    EXPECT_EQ(AABBinFrustum(Vector3<float>(0.5f, 0, 0), Vector3<float>(0.9f, 0.5f, 0.5f), planes), 2);
    // The integer form does not widen the max corner.
    EXPECT_EQ(AABBinFrustum(AABB3<int>(0, 0, 0, 1, 0, 0), planes), 1);
    EXPECT_EQ(AABBinFrustum(AABB3<int>(1, 0, 0, 1, 0, 0), planes), 0);
}

TEST(FrustumTest, AgreesWithCornerByCornerCount) {
    std::mt19937 engine(11);
    std::uniform_real_distribution<float> coefficient(-2, 2);
    std::uniform_real_distribution<float> coordinate(-4, 4);
    std::uniform_int_distribution<int> cell(-4, 4);
    for (int trial = 0; trial < 20000; ++trial) {
        float planes[6][4];
        for (auto& plane : planes) {
            for (float& c : plane) {
                c = coefficient(engine);
            }
            // Some planes pass exactly through corners of integer boxes.
            if (trial % 3 == 0) {
                for (float& c : plane) {
                    c = static_cast<float>(cell(engine));
                }
            }
        }
        // Boxes in either corner order: swapped corners stay swapped.
        const Vector3<float> a(coordinate(engine), coordinate(engine), coordinate(engine));
        const Vector3<float> b(coordinate(engine), coordinate(engine), coordinate(engine));
        ASSERT_EQ(AABBinFrustum(a, b, planes), referenceInFrustum(a, b, planes)) << "trial " << trial;

        const AABB3<int> box(cell(engine), cell(engine), cell(engine), cell(engine), cell(engine), cell(engine));
        ASSERT_EQ(AABBinFrustum(box, planes),
                  referenceInFrustum(Vector3<float>(box.min), Vector3<float>(box.max), planes))
            << "trial " << trial;
    }
}

TEST(RayBoxTest, SlabCases) {
    EXPECT_TRUE(RayAABBintersection(kUnitMin, kUnitMax, ray(-5, 0.5f, 0.5f, 1, 0, 0)));
    // Pointing away: the box lies behind the origin.
    EXPECT_FALSE(RayAABBintersection(kUnitMin, kUnitMax, ray(5, 0.5f, 0.5f, 1, 0, 0)));
    // Parallel to an axis: inside its slab only with the origin between the faces.
    EXPECT_TRUE(RayAABBintersection(kUnitMin, kUnitMax, ray(1, -5, 0.5f, 0, 1, 0)));
    EXPECT_FALSE(RayAABBintersection(kUnitMin, kUnitMax, ray(1.01f, -5, 0.5f, 0, 1, 0)));
    // Passes beside the box diagonally.
    EXPECT_FALSE(RayAABBintersection(kUnitMin, kUnitMax, ray(-1, 0.5f, 1, 1, 0, 1)));
    EXPECT_TRUE(RayAABBintersection(kUnitMin, kUnitMax, ray(-1, 0.5f, 0.5f, 1, 0, 0.2f)));
}

TEST(RayBoxTest, TouchingAndStartingInsideHit) {
    // Enters and leaves at the same edge (tnear == tfar).
    EXPECT_TRUE(RayAABBintersection(kUnitMin, kUnitMax, ray(0, 0.5f, 2, 1, 0, -1)));
    // Starts on the far face, pointing out (tfar == 0).
    EXPECT_TRUE(RayAABBintersection(kUnitMin, kUnitMax, ray(1, 0.5f, 0.5f, 1, 0, 0)));
    // Starts inside, in any direction.
    EXPECT_TRUE(RayAABBintersection(kUnitMin, kUnitMax, ray(0.5f, 0.5f, 0.5f, -1, 2, 0.3f)));
    EXPECT_TRUE(RayAABBintersection(kUnitMin, kUnitMax, ray(0.5f, 0.5f, 0.5f, 0, 0, 0)));
    EXPECT_FALSE(RayAABBintersection(kUnitMin, kUnitMax, ray(1.5f, 0.5f, 0.5f, 0, 0, 0)));

    const Vector3<int> cellMin(2, 3, 4);
    const Vector3<int> cellMax(3, 4, 5);
    EXPECT_TRUE(RayAABBintersection(cellMin, cellMax, ray(0, 0, 0, 2.5f, 3.5f, 4.5f)));
    EXPECT_FALSE(RayAABBintersection(cellMin, cellMax, ray(0, 0, 0, -2.5f, 3.5f, 4.5f)));
}

TEST(OcclusionTest, HiddenOnlyWhenEveryCornerRayMeetsTheOccluder) {
    const Vector3<int> wallMin(0, -5, -5);
    const Vector3<int> wallMax(1, 5, 5);
    const Vector3<float> eye(-10, 0.5f, 0.5f);
    EXPECT_TRUE(AABBoccludedByAABB(Vector3<int>(3, 0, 0), Vector3<int>(4, 1, 1), wallMin, wallMax, eye));
    // Sticks out above the wall's shadow.
    EXPECT_FALSE(AABBoccludedByAABB(Vector3<int>(3, 6, 0), Vector3<int>(4, 9, 1), wallMin, wallMax, eye));
    // A wall behind the eye hides nothing.
    EXPECT_FALSE(AABBoccludedByAABB(Vector3<int>(3, 0, 0), Vector3<int>(4, 1, 1), wallMin, wallMax,
                                    Vector3<float>(2, 0.5f, 0.5f)));
    // Anything along the ray ahead of the eye counts, also beyond the box.
    EXPECT_TRUE(AABBoccludedByAABB(Vector3<int>(-3, 0, 0), Vector3<int>(-2, 1, 1), wallMin, wallMax, eye));
}

TEST(RayTriangleTest, HitsFromTheFrontOnly) {
    // (b - a) x (b - c) points along -z, so the front faces -z.
    const Triangle triangle{Vector3<float>(0, 0, 0), Vector3<float>(1, 0, 0), Vector3<float>(0, 1, 0)};
    Vector3<float> hit(9, 9, 9);
    float t = 0;
    EXPECT_TRUE(RayTriangleIntersection(triangle, ray(0.25f, 0.25f, -5, 0, 0, 1), &hit, &t));
    EXPECT_FLOAT_EQ(t, 5.0f);
    EXPECT_FLOAT_EQ(hit.x, 0.25f);
    EXPECT_FLOAT_EQ(hit.y, 0.25f);
    EXPECT_FLOAT_EQ(hit.z, 0.0f);

    EXPECT_FALSE(RayTriangleIntersection(triangle, ray(0.25f, 0.25f, 5, 0, 0, -1), &hit, &t));
    // Parallel to the plane.
    EXPECT_FALSE(RayTriangleIntersection(triangle, ray(0.25f, 0.25f, -5, 1, 0, 0)));
    // Behind the origin still hits, with a negative parameter.
    EXPECT_TRUE(RayTriangleIntersection(triangle, ray(0.25f, 0.25f, 5, 0, 0, 2), nullptr, &t));
    EXPECT_FLOAT_EQ(t, -2.5f);
}

TEST(RayTriangleTest, EdgesAndCornersAreInside) {
    const Triangle triangle{Vector3<float>(0, 0, 0), Vector3<float>(1, 0, 0), Vector3<float>(0, 1, 0)};
    EXPECT_TRUE(RayTriangleIntersection(triangle, ray(0, 0, -1, 0, 0, 1)));
    EXPECT_TRUE(RayTriangleIntersection(triangle, ray(1, 0, -1, 0, 0, 1)));
    EXPECT_TRUE(RayTriangleIntersection(triangle, ray(0.5f, 0.5f, -1, 0, 0, 1)));
    EXPECT_TRUE(RayTriangleIntersection(triangle, ray(0.5f, 0, -1, 0, 0, 1)));
    EXPECT_FALSE(RayTriangleIntersection(triangle, ray(-0.01f, 0.5f, -1, 0, 0, 1)));
    EXPECT_FALSE(RayTriangleIntersection(triangle, ray(0.5f, -0.01f, -1, 0, 0, 1)));
}

TEST(RayTriangleTest, MissOutsideWritesTheParameterButNotThePoint) {
    const Triangle triangle{Vector3<float>(0, 0, 0), Vector3<float>(1, 0, 0), Vector3<float>(0, 1, 0)};
    Vector3<float> hit(9, 9, 9);
    float t = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(RayTriangleIntersection(triangle, ray(0.8f, 0.8f, -3, 0, 0, 1), &hit, &t));
    EXPECT_FLOAT_EQ(t, 3.0f);
    EXPECT_EQ(hit, Vector3<float>(9, 9, 9));
}

TEST(MatrixVertexMultiplyTest, ScalesTheTranslationByW) {
    Matrix m;
    m.translation(Vector3<float>(1, 2, 3));
    m(4, 4) = 5;
    EXPECT_EQ(MatrixVertexMultiply(m, Vector3<float>(1, 1, 1), 1), Vector3<float>(2, 3, 4));
    EXPECT_EQ(MatrixVertexMultiply(m, Vector3<float>(1, 1, 1), 0), Vector3<float>(1, 1, 1));
    EXPECT_EQ(MatrixVertexMultiply(m, Vector3<float>(0, 0, 0), -2), Vector3<float>(-2, -4, -6));
}
