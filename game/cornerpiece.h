#ifndef QUELLARIS_GAME_CORNERPIECE_H
#define QUELLARIS_GAME_CORNERPIECE_H

#include <array>

#include "actors/player.h"
#include "platform/vector3.h"

// The geometry of the rounded trail corner: where a craft turns, its trail bends through a
// quarter of a cylinder one cell in radius. Everything here is plain arithmetic on the arc
// table; the game's drawing turns it into GL calls, so the shape tests without a context.
//
// The piece's own frame, before its placement: the arc has radius 1 about the extrusion
// axis (y for left and right turns, x for up and down) and the extrusion runs from -1 to +1.

namespace Vortel {

// Rows: vertices and normals of the left, right, up and down pieces, in that order; each
// row holds the six arc points 0, pi/10, ... about pi/2.
typedef std::array<std::array<Vector3<float>, 6>, 8> CornerCubeTable;

// The drawing's points of one corner piece, in strip and fan order.
struct CornerPiece {
    static constexpr int MAX_ARC_POINTS = 6;

    // One end of the piece, a triangle fan: the arc's centre, then the arc points.
    struct Cap {
        Vector3<float> normal;
        bool clockwise = false;  // front faces of the fan
        std::array<Vector3<float>, MAX_ARC_POINTS + 1> fan{};
    };

    // Arc points used: strip pairs, and fan points after each cap's centre.
    int arcPoints = 0;
    // The side surface as a quad strip: pair k is strip[2k], strip[2k + 1], each vertex
    // with the normal of the same index.
    std::array<Vector3<float>, 2 * MAX_ARC_POINTS> strip{};
    std::array<Vector3<float>, 2 * MAX_ARC_POINTS> stripNormals{};
    std::array<Cap, 2> caps;
};

// Where a piece sits in its cell: scale first, then translate.
struct CornerPiecePlacement {
    Vector3<float> translation;
    Vector3<float> scale;
};

// Angle of arc point i, summed in float from 0 in steps of pi/10 as the table was built.
float cornerArcAngle(int i);

// Fills every row; normals are normalSize long, for lighting never normalises them.
void fillCornerCubeTable(CornerCubeTable& table, float normalSize);

// The piece of a turn in progress, swept from 0 to angle radians: the table's points below
// angle, then one last point at exactly angle (none past the sixth). Cap normals are
// normalSize long for left and down turns but normalSize squared for right and up, which
// lights those caps harder. False, and nothing filled, for DIR_NONE or any other value.
bool sweptCornerPiece(const CornerCubeTable& table, Player::direction dir, float angle, float normalSize,
                      CornerPiece& piece);

// The whole quarter piece of a trick illustration: all six points, every strip pair from -1
// to +1, caps on +1 then -1. Normals are left zero. False for DIR_NONE or any other value.
bool wholeCornerPiece(const CornerCubeTable& table, Player::direction dir, CornerPiece& piece);

// Placement of a turning chaser's piece in its model frame (half a cell ahead), or, with
// wholeCell, of an illustration's piece filling the cell it turns in. Zero scale for DIR_NONE.
CornerPiecePlacement cornerPiecePlacement(Player::direction dir, bool wholeCell);

// Which shade of a colour triplet faces along an axis: 1 for x, 2 for y, else 0 (z).
unsigned int faceShadeOf(const Vector3<int>& axis);

}  // namespace Vortel

#endif
