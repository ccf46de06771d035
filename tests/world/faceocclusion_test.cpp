#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/geometry.h"
#include "platform/math.h"
#include "tests/world/objfiles.h"
#include "tests/world/particlepool.h"
#include "world/coveragemask.h"
#include "world/cuberenderer.h"
#include "world/frustumprojection.h"
#include "world/octree.h"
#include "world/octreewalk.h"

using Vortel::CoverageMask;
using Vortel::CubeRenderer;
using Vortel::FrustumProjection;
using Vortel::OcTree;
using Vortel::ScreenPoint;
typedef Vector3<int> Cell;

namespace {

// A GL-style perspective (fov 90, 4:3, near 0.01, far 16) times a view from `eye` turned by
// the angles, as column-order doubles, for the copy of the field at `copy`.
void viewFrustum(const Vector3<float>& eye, const Vector3<float>& angles, const Vector3<float>& copy,
                 float planes[6][4]) {
    const double f = 1.0 / std::tan(90.0 * TRUE_PI<double> / 360.0);
    const double nearClip = 0.01;
    const double farClip = 16.0;
    double projection[16] = {};
    projection[0] = f / (4.0 / 3.0);
    projection[5] = f;
    projection[10] = (farClip + nearClip) / (nearClip - farClip);
    projection[11] = -1.0;
    projection[14] = 2.0 * farClip * nearClip / (nearClip - farClip);
    Matrix move;
    move.translation(Vector3<float>(copy.x - eye.x, copy.y - eye.y, copy.z - eye.z));
    Matrix turn;
    turn.rotation(angles);
    GetFrustum(projection, (move * turn).data(), planes);
}

ScreenPoint at(float x, float y, float depth) { return ScreenPoint{x, y, depth, true}; }

}  // namespace

TEST(FrustumProjection, PutsPointsWhereTheViewDoesAndFindsTheEye) {
    float planes[6][4];
    const Vector3<float> eye(3.0f, 4.0f, 5.0f);
    viewFrustum(eye, Vector3<float>(0.0f, 0.0f, 0.0f), Vector3<float>(), planes);
    const FrustumProjection projection(planes);

    // Straight ahead (-z) at distance 2: the middle of the screen; 2 to the right at
    // distance 2 is the right edge of a 90 degree, 4:3 view, 2 up the top edge.
    const ScreenPoint middle = projection.project(3.0f, 4.0f, 3.0f);
    EXPECT_TRUE(middle.ahead);
    EXPECT_NEAR(middle.x, 0.0f, 1e-5f);
    EXPECT_NEAR(middle.y, 0.0f, 1e-5f);
    const ScreenPoint corner = projection.project(3.0f + 2.0f * 4.0f / 3.0f, 4.0f + 2.0f, 3.0f);
    EXPECT_NEAR(corner.x, 1.0f, 1e-5f);
    EXPECT_NEAR(corner.y, 1.0f, 1e-5f);
    // Depth as the depth buffer keeps it: 0 at the near plane, 1 at the far one.
    EXPECT_NEAR(projection.project(3.0f, 4.0f, 5.0f - 0.01f).depth, 0.0f, 1e-4f);
    EXPECT_NEAR(projection.project(3.0f, 4.0f, 5.0f - 16.0f).depth, 1.0f, 1e-4f);
    EXPECT_FALSE(projection.project(3.0f, 4.0f, 6.0f).ahead);

    Vector3<float> found;
    ASSERT_TRUE(projection.eye(found));
    EXPECT_NEAR(found.x, 3.0f, 1e-3f);
    EXPECT_NEAR(found.y, 4.0f, 1e-3f);
    EXPECT_NEAR(found.z, 5.0f, 1e-3f);
}

// What the mask may claim: only blocks a drawn face covers whole, only behind that face by
// more than the depth buffer can tell apart, and nothing across the crack between two faces.
TEST(CoverageMask, HidesOnlyWhatLiesWhollyBehindOneCoveringFace) {
    CoverageMask mask;
    const ScreenPoint square[4] = {at(-0.5f, -0.5f, 0.5f), at(0.5f, -0.5f, 0.5f), at(0.5f, 0.5f, 0.5f),
                                   at(-0.5f, 0.5f, 0.5f)};
    mask.cover(square, 4, 0.5f);
    const ScreenPoint beside[4] = {at(0.5f, -0.5f, 0.5f), at(1.5f, -0.5f, 0.5f), at(1.5f, 0.5f, 0.5f),
                                   at(0.5f, 0.5f, 0.5f)};
    mask.cover(beside, 4, 0.5f);

    struct Case {
        float x0, y0, x1, y1, nearest;
        bool hidden;
    };
    const Case cases[] = {
        {-0.3f, -0.3f, 0.3f, 0.3f, 0.6f, true},      // inside, behind
        {-0.3f, -0.3f, 0.3f, 0.3f, 0.50002f, false},  // too close behind to tell apart
        {-0.3f, -0.3f, 0.3f, 0.3f, 0.4f, false},      // in front
        {-0.3f, -0.3f, 0.3f, 0.7f, 0.9f, false},      // reaching out of the square
        {0.45f, -0.1f, 0.55f, 0.1f, 0.9f, false},     // across the edge between the two faces
        {1.2f, 1.2f, 1.5f, 1.5f, 0.9f, true},         // wholly off the screen
        {-0.3f, -0.3f, 0.3f, 0.3f, 2.0f, true},       // beyond the far plane, still behind
    };
    for (const Case& c : cases) {
        const ScreenPoint shape[4] = {at(c.x0, c.y0, c.nearest), at(c.x1, c.y0, c.nearest), at(c.x1, c.y1, c.nearest),
                                      at(c.x0, c.y1, c.nearest)};
        EXPECT_EQ(mask.hides(shape, 4, c.nearest), c.hidden)
            << c.x0 << ", " << c.y0 << " to " << c.x1 << ", " << c.y1 << " at " << c.nearest;
    }
    // Winding does not matter, and a cleared mask hides nothing on screen.
    const ScreenPoint clockwise[4] = {square[3], square[2], square[1], square[0]};
    CoverageMask other;
    other.cover(clockwise, 4, 0.2f);
    const ScreenPoint inner[3] = {at(-0.1f, -0.1f, 0.3f), at(0.1f, -0.1f, 0.3f), at(0.0f, 0.1f, 0.3f)};
    EXPECT_TRUE(other.hides(inner, 3, 0.3f));
    other.clear();
    EXPECT_FALSE(other.hides(inner, 3, 0.3f));
}

// The frame's 27 wrapped walks with hidden faces left out, over frames in which cubes are
// laid, melt and vanish: after the first frame nothing is allocated.
TEST(FaceOcclusion, WrappedWalksAllocateNothingFrameAfterFrame) {
    if (!particlepool::AllocationCounter::available()) {
        GTEST_SKIP() << "allocations are counted through the address sanitizer";
    }
    const objfiles::MeshFolder meshes;
    CubeRenderer renderer(meshes.path());
    OcTree tree(5, renderer);
    const unsigned char start = tree.createColorTriplet(RGBA<float>(1, 0, 0, 1), RGBA<float>(0, 1, 0, 1),
                                                        RGBA<float>(0, 0, 1, 1));
    const unsigned char trail = tree.createTrailColors(start, start);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(0, 31);
    for (int i = 0; i < 12000; ++i) {
        const Cell c(coordinate(random), coordinate(random), coordinate(random));
        if (std::abs(c.x - 16) + std::abs(c.y - 16) + std::abs(c.z - 16) > 3) {
            tree.setTerminalNode(c, OcTree::CELL_SOLID_1, trail);
        }
    }
    tree.wrappedDrawing(true);
    float planes[27][6][4];
    const auto frame = [&](int n) {
        const Vector3<float> eye(16.5f, 16.5f, 16.5f);
        const Vector3<float> angles(0.1f * n, 0.3f + 0.05f * n, 0.0f);
        for (int copy = 0; copy < 27; ++copy) {
            viewFrustum(eye, angles,
                        Vector3<float>(32.0f * (copy % 3 - 1), 32.0f * (copy / 3 % 3 - 1), 32.0f * (copy / 9 - 1)),
                        planes[copy]);
        }
        int faces = 0;
        for (const auto& copy : planes) {
            renderer.clearArray();
            faces += tree.walk(copy, 0.1 * n).facesBatched();
        }
        // The field changes between frames: a cube laid, one set melting.
        const Cell c(coordinate(random), coordinate(random), coordinate(random));
        tree.setTerminalNode(c, OcTree::CELL_SOLID_2, trail);
        tree.setTerminalNode(Cell(c.x + 1, c.y, c.z), OcTree::SET_MELT, 0);
        return faces;
    };
    EXPECT_GT(frame(0), 0);
    particlepool::AllocationCounter::start();
    int faces = 0;
    for (int n = 1; n <= 60; ++n) {
        faces += frame(n);
    }
    EXPECT_EQ(particlepool::AllocationCounter::stop(), 0);
    EXPECT_GT(faces, 60);
}
