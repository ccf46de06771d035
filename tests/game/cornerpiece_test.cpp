#include <gtest/gtest.h>

#include <cmath>

#include "game/cornerpiece.h"
#include "game/trickpath.h"

namespace {

using Vortel::CornerCubeTable;
using Vortel::CornerPiece;
using Vortel::Player;
typedef Vector3<float> V;

const float NORMAL_SIZE = 2.5f;
const float EPS = 1e-5f;

V minus(const V& a, const V& b) { return V(a.x - b.x, a.y - b.y, a.z - b.z); }
V cross(const V& a, const V& b) { return V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x); }
float dot(const V& a, const V& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float length(const V& v) { return std::sqrt(dot(v, v)); }

// The point moved along the extrusion axis onto the +1 end, where the table's points are.
V onPlusEnd(V p, const V& extrusion) {
    (extrusion.x != 0.0f ? p.x : p.y) = 1.0f;
    return p;
}

void expectNear(const V& actual, const V& expected) {
    EXPECT_NEAR(actual.x, expected.x, EPS);
    EXPECT_NEAR(actual.y, expected.y, EPS);
    EXPECT_NEAR(actual.z, expected.z, EPS);
}

// Each turn's arc point and outward direction at an angle, as the game's arc table has them.
struct Turn {
    Player::direction dir;
    int row;
    V (*vertex)(float c, float s);
    V (*radial)(float c, float s);
    V extrusion;         // unit vector of the axis the piece is extruded along
    float capNormalSize;  // right and up caps are lit harder
};

const Turn TURNS[] = {
    {Player::DIR_LEFT, 0, [](float c, float s) { return V(-c, 1, -s); }, [](float c, float s) { return V(-c, 0, -s); },
     V(0, 1, 0), 2.5f},
    {Player::DIR_RIGHT, 2, [](float c, float s) { return V(c, 1, -s); }, [](float c, float s) { return V(c, 0, -s); },
     V(0, 1, 0), 6.25f},
    {Player::DIR_UP, 4, [](float c, float s) { return V(1, -c, -s); }, [](float c, float s) { return V(0, -c, -s); },
     V(1, 0, 0), 6.25f},
    {Player::DIR_DOWN, 6, [](float c, float s) { return V(1, c, -s); }, [](float c, float s) { return V(0, c, -s); },
     V(1, 0, 0), 2.5f},
};

CornerCubeTable table() {
    CornerCubeTable t;
    Vortel::fillCornerCubeTable(t, NORMAL_SIZE);
    return t;
}

TEST(CornerCubeTable, RowsHoldEachTurnsArcWithNormalsTwoAndAHalfLong) {
    float a = 0.0f;
    for (int i = 0; i < 6; ++i, a += 0.31415927f) {
        EXPECT_EQ(Vortel::cornerArcAngle(i), a);
    }
    EXPECT_NEAR(Vortel::cornerArcAngle(5), 1.5707963f, 1e-6f);

    const CornerCubeTable t = table();
    for (const Turn& turn : TURNS) {
        SCOPED_TRACE(turn.row);
        for (int i = 0; i < 6; ++i) {
            const float angle = Vortel::cornerArcAngle(i);
            const V radial = turn.radial(std::cos(angle), std::sin(angle));
            expectNear(t[turn.row][i], turn.vertex(std::cos(angle), std::sin(angle)));
            EXPECT_NEAR(length(t[turn.row + 1][i]), 2.5f, EPS);
            expectNear(cross(t[turn.row + 1][i], radial), V());
            EXPECT_GT(dot(t[turn.row + 1][i], radial), 0.0f);
        }
    }
}

TEST(SweptCornerPiece, GrowsWithTheAngleAndEndsOnIt) {
    const CornerCubeTable t = table();
    const float quarter = 0.78539816f;
    struct Case {
        float angle;
        int points;
        float lastAngle;
    } cases[] = {
        {0.0f, 1, 0.0f},                                  // one degenerate pair, fans of one arc point
        {quarter, 4, quarter},                            // points 0, 1, 2, then exactly 45 degrees
        {Vortel::cornerArcAngle(2), 3, Vortel::cornerArcAngle(2)},  // on a table point: that point ends it
        {1.6f, 6, Vortel::cornerArcAngle(5)},             // past the last: the six table points alone
    };
    for (const Turn& turn : TURNS) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "row " << turn.row << " angle " << c.angle);
            CornerPiece piece;
            ASSERT_TRUE(Vortel::sweptCornerPiece(t, turn.dir, c.angle, NORMAL_SIZE, piece));
            ASSERT_EQ(piece.arcPoints, c.points);
            for (int i = 0; i < c.points; ++i) {
                const float a = i + 1 < c.points ? Vortel::cornerArcAngle(i) : c.lastAngle;
                const V arc = turn.vertex(std::cos(a), std::sin(a));
                // Both strip ends and both fans lie on the arc at the point's angle.
                for (const V& p : {piece.strip[2 * i], piece.strip[2 * i + 1], piece.caps[0].fan[i + 1],
                                   piece.caps[1].fan[i + 1]}) {
                    expectNear(onPlusEnd(p, turn.extrusion), arc);
                }
                EXPECT_NEAR(dot(piece.strip[2 * i], turn.extrusion) * dot(piece.strip[2 * i + 1], turn.extrusion),
                            -1.0f, EPS);
                EXPECT_NEAR(length(piece.stripNormals[2 * i]), 2.5f, EPS);
            }
        }
    }
}

// Whatever the turn, the side faces outward through the normals given, and each cap's front
// (by the winding it is drawn with) faces away from the piece along its normal.
TEST(SweptCornerPiece, EverySurfaceFacesOutward) {
    const CornerCubeTable t = table();
    for (const Turn& turn : TURNS) {
        SCOPED_TRACE(turn.row);
        CornerPiece piece;
        ASSERT_TRUE(Vortel::sweptCornerPiece(t, turn.dir, 1.6f, NORMAL_SIZE, piece));
        for (int i = 0; i + 1 < piece.arcPoints; ++i) {
            // Quad i of a strip runs 2i, 2i + 1, 2i + 3, 2i + 2; front faces counter-clockwise.
            const V& p0 = piece.strip[2 * i];
            const V face = cross(minus(piece.strip[2 * i + 1], p0), minus(piece.strip[2 * i + 2], p0));
            EXPECT_GT(dot(face, piece.stripNormals[2 * i]), 0.0f) << "quad " << i;
        }
        float planes = 0.0f;
        for (const CornerPiece::Cap& cap : piece.caps) {
            const float side = dot(cap.fan[0], turn.extrusion);
            planes += side;
            EXPECT_NEAR(std::fabs(side), 1.0f, EPS);
            expectNear(cap.normal, V(turn.extrusion.x * side * turn.capNormalSize,
                                     turn.extrusion.y * side * turn.capNormalSize, 0.0f));
            const V counterClockwise = cross(minus(cap.fan[1], cap.fan[0]), minus(cap.fan[2], cap.fan[0]));
            EXPECT_EQ(dot(counterClockwise, cap.normal) > 0.0f, !cap.clockwise);
        }
        EXPECT_NEAR(planes, 0.0f, EPS);
    }
    CornerPiece none;
    EXPECT_FALSE(Vortel::sweptCornerPiece(t, Player::DIR_NONE, 1.0f, NORMAL_SIZE, none));
    EXPECT_FALSE(Vortel::wholeCornerPiece(t, static_cast<Player::direction>(7), none));
}

// An illustration's piece, placed and turned into the new heading, fills its cell from the
// edge where the face the path comes in by meets the face it leaves by.
TEST(WholeCornerPiece, FillsTheCellFromTheEdgeOfEntryAndExit) {
    const CornerCubeTable t = table();
    const unsigned int moves[] = {1, 2, 4, 8};
    for (const unsigned int move : moves) {
        SCOPED_TRACE(move);
        const Player::direction dir = Vortel::turnOfMove(move);
        Vector3<int> forward = Vector3<int>::Z_MINUS;
        Vector3<int> up = Vector3<int>::Y_PLUS;
        Vortel::grid::turnHeading(move, forward, up);
        const Matrix frame = Vortel::headingFrame(forward, up);
        const Vortel::CornerPiecePlacement placement = Vortel::cornerPiecePlacement(dir, true);
        const auto inCell = [&](const V& p) {
            return frame * V(p.x * placement.scale.x + placement.translation.x,
                             p.y * placement.scale.y + placement.translation.y,
                             p.z * placement.scale.z + placement.translation.z);
        };
        CornerPiece piece;
        ASSERT_TRUE(Vortel::wholeCornerPiece(t, dir, piece));
        ASSERT_EQ(piece.arcPoints, 6);
        const V entry(0, 0, 1);  // the face the path came in by
        const V exit{V(forward)};
        for (const CornerPiece::Cap& cap : piece.caps) {
            const V pivot = inCell(cap.fan[0]);
            EXPECT_NEAR(dot(pivot, entry), 0.5f, EPS);
            EXPECT_NEAR(dot(pivot, exit), 0.5f, EPS);
            for (int i = 1; i <= 6; ++i) {
                const V p = inCell(cap.fan[i]);
                EXPECT_NEAR(length(minus(p, pivot)), 1.0f, EPS) << "point " << i;
                for (const float c : {p.x, p.y, p.z}) {
                    EXPECT_LE(std::fabs(c), 0.5f + EPS);
                }
            }
            // The arc runs from the exit face round to the entry face.
            EXPECT_NEAR(dot(inCell(cap.fan[1]), exit), 0.5f, EPS);
            EXPECT_NEAR(dot(inCell(cap.fan[6]), entry), 0.5f, EPS);
        }
        // The caps close the piece at the two faces across the turn.
        const V across = minus(inCell(piece.caps[0].fan[0]), inCell(piece.caps[1].fan[0]));
        EXPECT_NEAR(length(across), 1.0f, EPS);
        EXPECT_NEAR(dot(across, entry), 0.0f, EPS);
        EXPECT_NEAR(dot(across, exit), 0.0f, EPS);
        expectNear(minus(inCell(piece.strip[1]), inCell(piece.strip[0])), across);
    }
}

TEST(FaceShade, FollowsTheAxisAVectorRunsAlong) {
    EXPECT_EQ(Vortel::faceShadeOf(Vector3<int>(-1, 0, 0)), 1u);
    EXPECT_EQ(Vortel::faceShadeOf(Vector3<int>(0, 1, 0)), 2u);
    EXPECT_EQ(Vortel::faceShadeOf(Vector3<int>(0, 0, -1)), 0u);
    EXPECT_EQ(Vortel::faceShadeOf(Vector3<int>()), 0u);
}

}  // namespace
