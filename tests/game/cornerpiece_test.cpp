#include <gtest/gtest.h>

#include <cmath>

#include "game/cornerpiece.h"
#include "game/trickpath.h"
#include "tests/support/helpers.h"

namespace {

using testsupport::expectNear;

using Vortel::CornerPiece;
using Vortel::Player;
typedef Vector3<float> V;

V minus(const V& a, const V& b) { return V(a.x - b.x, a.y - b.y, a.z - b.z); }
V times(const V& a, float k) { return V(a.x * k, a.y * k, a.z * k); }
V cross(const V& a, const V& b) { return V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x); }
float dot(const V& a, const V& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float length(const V& v) { return std::sqrt(dot(v, v)); }
// Each turn's arc point at an angle (on the +1 end), its extrusion axis and cap normal length.
const struct Turn {
    Player::direction dir;
    V (*arc)(float a);
    V extrusion;
    float capNormal;
} TURNS[] = {
    {Player::DIR_LEFT, [](float a) { return V(-std::cos(a), 1, -std::sin(a)); }, V(0, 1, 0), 2.5f},
    {Player::DIR_RIGHT, [](float a) { return V(std::cos(a), 1, -std::sin(a)); }, V(0, 1, 0), 6.25f},
    {Player::DIR_UP, [](float a) { return V(1, -std::cos(a), -std::sin(a)); }, V(1, 0, 0), 6.25f},
    {Player::DIR_DOWN, [](float a) { return V(1, std::cos(a), -std::sin(a)); }, V(1, 0, 0), 2.5f},
};

Vortel::CornerCubeTable table() {
    Vortel::CornerCubeTable t;
    Vortel::fillCornerCubeTable(t, 2.5f);
    return t;
}

TEST(CornerPiece, TheTableHoldsEachArcAndASweepEndsOnItsAngle) {
    const Vortel::CornerCubeTable t = table();
    const float a5 = Vortel::cornerArcAngle(5);
    EXPECT_EQ(a5, 0.31415927f + 0.31415927f + 0.31415927f + 0.31415927f + 0.31415927f);
    // Angle, arc points drawn: 0 gives a degenerate pair; 45 degrees ends between points 2 and 3.
    const struct {
        float angle;
        int points;
    } cuts[] = {{0.0f, 1}, {0.78539816f, 4}, {Vortel::cornerArcAngle(2), 3}, {1.6f, 6}};
    for (int d = 0; d < 4; ++d) {
        const Turn& turn = TURNS[d];
        for (int i = 0; i < 6; ++i) {
            const V arc = turn.arc(Vortel::cornerArcAngle(i));
            expectNear(t[2 * d][i], arc);
            expectNear(t[2 * d + 1][i], times(minus(arc, turn.extrusion), 2.5f));
        }
        for (const auto& cut : cuts) {
            SCOPED_TRACE(testing::Message() << "turn " << d << " angle " << cut.angle);
            CornerPiece piece;
            ASSERT_TRUE(Vortel::sweptCornerPiece(t, turn.dir, cut.angle, 2.5f, piece));
            ASSERT_EQ(piece.arcPoints, cut.points);
            for (int i = 0; i < cut.points; ++i) {
                const V arc = turn.arc(i + 1 < cut.points ? Vortel::cornerArcAngle(i) : std::fmin(cut.angle, a5));
                const V& p = piece.strip[2 * i];
                const V& q = piece.strip[2 * i + 1];
                expectNear(dot(p, turn.extrusion) > 0 ? p : q, arc);
                expectNear(times(turn.extrusion, std::fabs(dot(minus(p, q), turn.extrusion))), times(turn.extrusion, 2));
                expectNear(piece.caps[0].fan[i + 1], dot(piece.caps[0].fan[0], turn.extrusion) > 0 ? arc
                                                         : minus(arc, times(turn.extrusion, 2)));
            }
        }
    }
    CornerPiece none;
    EXPECT_FALSE(Vortel::sweptCornerPiece(t, Player::DIR_NONE, 1.0f, 2.5f, none));
    EXPECT_FALSE(Vortel::wholeCornerPiece(t, static_cast<Player::direction>(7), none));
}

// The side faces outward along its normals; each cap's front, by the winding it is drawn
// with, faces outward along its normal.
TEST(CornerPiece, EverySurfaceFacesOutward) {
    const Vortel::CornerCubeTable t = table();
    for (const Turn& turn : TURNS) {
        SCOPED_TRACE(turn.dir);
        CornerPiece piece;
        ASSERT_TRUE(Vortel::sweptCornerPiece(t, turn.dir, 1.6f, 2.5f, piece));
        for (int i = 0; i + 1 < piece.arcPoints; ++i) {
            const V& p0 = piece.strip[2 * i];
            const V face = cross(minus(piece.strip[2 * i + 1], p0), minus(piece.strip[2 * i + 2], p0));
            EXPECT_GT(dot(face, piece.stripNormals[2 * i]), 0.0f) << "quad " << i;
        }
        EXPECT_NEAR(dot(piece.caps[0].fan[0], turn.extrusion) + dot(piece.caps[1].fan[0], turn.extrusion), 0, 1e-6f);
        for (const CornerPiece::Cap& cap : piece.caps) {
            expectNear(cap.normal, times(cap.fan[0], turn.capNormal));
            const V counterClockwise = cross(minus(cap.fan[1], cap.fan[0]), minus(cap.fan[2], cap.fan[0]));
            EXPECT_EQ(dot(counterClockwise, cap.normal) > 0.0f, !cap.clockwise);
        }
    }
}

// Placed and turned into the new heading, an illustration's piece fills its cell from the
// edge where the face the path enters by meets the face it leaves by.
TEST(CornerPiece, TheWholePieceFillsTheCellFromTheEntryAndExitEdge) {
    const Vortel::CornerCubeTable t = table();
    for (const unsigned int move : {1u, 2u, 4u, 8u}) {
        SCOPED_TRACE(move);
        const Player::direction dir = Vortel::turnOfMove(move);
        Vector3<int> forward = Vector3<int>::Z_MINUS;
        Vector3<int> up = Vector3<int>::Y_PLUS;
        Vortel::grid::turnHeading(move, forward, up);
        const Matrix frame = Vortel::headingFrame(forward, up);
        const Vortel::CornerPiecePlacement at = Vortel::cornerPiecePlacement(dir, true);
        const auto inCell = [&](const V& p) {
            return frame * V(p.x * at.scale.x + at.translation.x, p.y * at.scale.y + at.translation.y,
                             p.z * at.scale.z + at.translation.z);
        };
        CornerPiece piece;
        ASSERT_TRUE(Vortel::wholeCornerPiece(t, dir, piece));
        ASSERT_EQ(piece.arcPoints, 6);
        const V entry(0, 0, 1);
        const V exit{V(forward)};
        for (const CornerPiece::Cap& cap : piece.caps) {
            const V pivot = inCell(cap.fan[0]);
            EXPECT_NEAR(dot(pivot, entry), 0.5f, 1e-5f);
            EXPECT_NEAR(dot(pivot, exit), 0.5f, 1e-5f);
            for (int i = 1; i <= 6; ++i) {
                const V p = inCell(cap.fan[i]);
                EXPECT_NEAR(length(minus(p, pivot)), 1.0f, 1e-5f);
                EXPECT_LE(std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z))), 0.5f + 1e-5f);
            }
            EXPECT_NEAR(dot(inCell(cap.fan[1]), exit), 0.5f, 1e-5f);
            EXPECT_NEAR(dot(inCell(cap.fan[6]), entry), 0.5f, 1e-5f);
        }
        const V across = minus(inCell(piece.caps[0].fan[0]), inCell(piece.caps[1].fan[0]));
        EXPECT_NEAR(length(across), 1.0f, 1e-5f);
        EXPECT_NEAR(std::fabs(dot(across, entry)) + std::fabs(dot(across, exit)), 0.0f, 1e-5f);
        expectNear(minus(inCell(piece.strip[1]), inCell(piece.strip[0])), across);
    }
}

}  // namespace
