#include "game/cornerpiece.h"

#include <cmath>

namespace Vortel {

namespace {

const float ARC_STEP = 0.31415927f;  // pi / 10

enum Axis { AXIS_X = 0, AXIS_Y = 1 };

struct CapRule {
    float plane;   // -1 or +1 on the extrusion axis; the normal points the same way
    bool squared;  // normal normalSize squared long instead of normalSize
    bool clockwise;
};

// One row per turn, left, right, up, down. The arc runs in the plane across the extrusion
// axis: cosine on the other of x and y (with the sign below), minus sine on z.
struct DirectionRule {
    Axis extrusion;
    float cosineSign;
    float stripFirst;
    float stripSecond;
    CapRule caps[2];
};

const DirectionRule DIRECTION_RULES[4] = {
    {AXIS_Y, -1.0f, -1.0f, 1.0f, {{1.0f, false, true}, {-1.0f, false, false}}},
    {AXIS_Y, 1.0f, 1.0f, -1.0f, {{-1.0f, true, true}, {1.0f, true, false}}},
    {AXIS_X, -1.0f, 1.0f, -1.0f, {{-1.0f, true, true}, {1.0f, true, false}}},
    {AXIS_X, 1.0f, -1.0f, 1.0f, {{-1.0f, false, false}, {1.0f, false, true}}},
};

// The rule's index, or -1 for a value that is no turn.
int ruleIndex(Player::direction dir) {
    switch (dir) {
        case Player::DIR_LEFT: return 0;
        case Player::DIR_RIGHT: return 1;
        case Player::DIR_UP: return 2;
        case Player::DIR_DOWN: return 3;
        default: return -1;
    }
}

Vector3<float> onAxis(Axis axis, float value) {
    return axis == AXIS_X ? Vector3<float>(value, 0.0f, 0.0f) : Vector3<float>(0.0f, value, 0.0f);
}

Vector3<float> withExtrusion(Vector3<float> v, Axis axis, float value) {
    (axis == AXIS_X ? v.x : v.y) = value;
    return v;
}

// Arc point at angle a on the +1 end, and its outward normal normalSize long.
void arcPoint(const DirectionRule& rule, float a, float normalSize, Vector3<float>& vertex, Vector3<float>& normal) {
    const float c = rule.cosineSign * std::cos(a);
    const float s = -std::sin(a);
    const float length = std::sqrt(c * c + s * s);
    const float k = normalSize / length;
    if (rule.extrusion == AXIS_Y) {
        vertex = Vector3<float>(c, 1.0f, s);
        normal = Vector3<float>(c * k, 0.0f, s * k);
    } else {
        vertex = Vector3<float>(1.0f, c, s);
        normal = Vector3<float>(0.0f, c * k, s * k);
    }
}

typedef std::array<Vector3<float>, CornerPiece::MAX_ARC_POINTS> Arc;

// Strip pairs and both fans over the piece's arc points (vertices on the +1 end and their
// normals).
void buildFromArc(const DirectionRule& rule, const Arc& vertices, const Arc& normals, float first, float second,
                  const CapRule (&caps)[2], float normalSize, CornerPiece& piece) {
    for (int i = 0; i < piece.arcPoints; ++i) {
        piece.strip[2 * i] = withExtrusion(vertices[i], rule.extrusion, first);
        piece.strip[2 * i + 1] = withExtrusion(vertices[i], rule.extrusion, second);
        piece.stripNormals[2 * i] = normals[i];
        piece.stripNormals[2 * i + 1] = normals[i];
    }
    for (int c = 0; c < 2; ++c) {
        CornerPiece::Cap& cap = piece.caps[c];
        const CapRule& capRule = caps[c];
        cap.clockwise = capRule.clockwise;
        cap.normal = onAxis(rule.extrusion, capRule.plane * (capRule.squared ? normalSize * normalSize : normalSize));
        cap.fan[0] = onAxis(rule.extrusion, capRule.plane);
        for (int i = 0; i < piece.arcPoints; ++i) {
            cap.fan[i + 1] = withExtrusion(vertices[i], rule.extrusion, capRule.plane);
        }
    }
}

}  // namespace

float cornerArcAngle(int i) {
    float a = 0.0f;
    for (int k = 0; k < i; ++k) {
        a += ARC_STEP;
    }
    return a;
}

void fillCornerCubeTable(CornerCubeTable& table, float normalSize) {
    for (int d = 0; d < 4; ++d) {
        float a = 0.0f;
        for (int i = 0; i < CornerPiece::MAX_ARC_POINTS; ++i, a += ARC_STEP) {
            arcPoint(DIRECTION_RULES[d], a, normalSize, table[2 * d][i], table[2 * d + 1][i]);
        }
    }
}

bool sweptCornerPiece(const CornerCubeTable& table, Player::direction dir, float angle, float normalSize,
                      CornerPiece& piece) {
    const int d = ruleIndex(dir);
    if (d < 0) {
        return false;
    }
    const DirectionRule& rule = DIRECTION_RULES[d];
    Arc vertices;
    Arc normals;
    piece.arcPoints = 0;
    float a = 0.0f;
    for (int i = 0; i < CornerPiece::MAX_ARC_POINTS; ++i, a += ARC_STEP) {
        piece.arcPoints = i + 1;
        if (angle <= a) {
            // The piece ends on the turn's present angle, between two table points.
            arcPoint(rule, angle, normalSize, vertices[i], normals[i]);
            break;
        }
        vertices[i] = table[2 * d][i];
        normals[i] = table[2 * d + 1][i];
    }
    buildFromArc(rule, vertices, normals, rule.stripFirst, rule.stripSecond, rule.caps, normalSize, piece);
    return true;
}

bool wholeCornerPiece(const CornerCubeTable& table, Player::direction dir, CornerPiece& piece) {
    const int d = ruleIndex(dir);
    if (d < 0) {
        return false;
    }
    piece.arcPoints = CornerPiece::MAX_ARC_POINTS;
    const Arc unlitNormals{};
    const CapRule plainCaps[2] = {{1.0f, false, false}, {-1.0f, false, false}};
    buildFromArc(DIRECTION_RULES[d], table[2 * d], unlitNormals, -1.0f, 1.0f, plainCaps, 0.0f, piece);
    return true;
}

CornerPiecePlacement cornerPiecePlacement(Player::direction dir, bool wholeCell) {
    const float z = wholeCell ? 0.5f : -0.5f;
    const Vector3<float> acrossY(1.0f, 0.5f, 1.0f);
    const Vector3<float> acrossX(0.5f, 1.0f, 1.0f);
    switch (dir) {
        case Player::DIR_LEFT: return {Vector3<float>(0.5f, 0.0f, z), acrossY};
        case Player::DIR_RIGHT: return {Vector3<float>(-0.5f, 0.0f, z), acrossY};
        case Player::DIR_UP: return {Vector3<float>(0.0f, 0.5f, z), acrossX};
        case Player::DIR_DOWN: return {Vector3<float>(0.0f, -0.5f, z), acrossX};
        default: return {Vector3<float>(), Vector3<float>(0.0f, 0.0f, 0.0f)};
    }
}

unsigned int faceShadeOf(const Vector3<int>& axis) {
    if (axis.x != 0) {
        return 1;
    }
    return axis.y != 0 ? 2 : 0;
}

}  // namespace Vortel
