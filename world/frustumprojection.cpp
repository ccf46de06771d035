#include "world/frustumprojection.h"

#include <cmath>

namespace Vortel {

namespace {

enum { PLANE_RIGHT, PLANE_LEFT, PLANE_BOTTOM, PLANE_TOP, PLANE_FAR, PLANE_NEAR };

// Below this, w is taken for the eye's own plane: nothing there can be placed on screen.
const double AHEAD_W = 1e-6;

}  // namespace

FrustumProjection::FrustumProjection(const float frustum[6][4]) {
    for (int c = 0; c < 4; ++c) {
        _rows[0][c] = (static_cast<double>(frustum[PLANE_LEFT][c]) - frustum[PLANE_RIGHT][c]) / 2.0;
        _rows[1][c] = (static_cast<double>(frustum[PLANE_BOTTOM][c]) - frustum[PLANE_TOP][c]) / 2.0;
        _rows[2][c] = (static_cast<double>(frustum[PLANE_NEAR][c]) - frustum[PLANE_FAR][c]) / 2.0;
        _rows[3][c] = (static_cast<double>(frustum[PLANE_LEFT][c]) + frustum[PLANE_RIGHT][c]) / 2.0;
    }
}

namespace {

ScreenPoint toScreen(const double clip[4]) {
    ScreenPoint p;
    p.ahead = clip[3] > AHEAD_W;
    if (!p.ahead) {
        p.x = p.y = p.depth = 0.0f;
        return p;
    }
    const double inverseW = 1.0 / clip[3];
    p.x = static_cast<float>(clip[0] * inverseW);
    p.y = static_cast<float>(clip[1] * inverseW);
    p.depth = static_cast<float>(0.5 + 0.5 * clip[2] * inverseW);
    return p;
}

}  // namespace

ScreenPoint FrustumProjection::project(float x, float y, float z) const {
    double clip[4];
    for (int r = 0; r < 4; ++r) {
        clip[r] = _rows[r][0] * x + _rows[r][1] * y + _rows[r][2] * z + _rows[r][3];
    }
    return toScreen(clip);
}

// Clip coordinates are linear in the point, so the corners are the low corner's plus the
// box's edges along each axis.
void FrustumProjection::projectBox(const Vector3<float>& low, const Vector3<float>& high,
                                   ScreenPoint corners[8]) const {
    double base[4];
    double edge[3][4];
    const double size[3] = {static_cast<double>(high.x) - low.x, static_cast<double>(high.y) - low.y,
                            static_cast<double>(high.z) - low.z};
    for (int r = 0; r < 4; ++r) {
        base[r] = _rows[r][0] * low.x + _rows[r][1] * low.y + _rows[r][2] * low.z + _rows[r][3];
        for (int axis = 0; axis < 3; ++axis) {
            edge[axis][r] = _rows[r][axis] * size[axis];
        }
    }
    for (int c = 0; c < 8; ++c) {
        double clip[4];
        for (int r = 0; r < 4; ++r) {
            clip[r] = base[r] + ((c & 1) != 0 ? edge[0][r] : 0.0) + ((c & 2) != 0 ? edge[1][r] : 0.0) +
                      ((c & 4) != 0 ? edge[2][r] : 0.0);
        }
        corners[c] = toScreen(clip);
    }
}

// The eye is where clip x, y and w all vanish.
bool FrustumProjection::eye(Vector3<float>& at) const {
    const double (*m)[4] = _rows;
    const int r[3] = {0, 1, 3};
    const double a[3][3] = {{m[r[0]][0], m[r[0]][1], m[r[0]][2]},
                            {m[r[1]][0], m[r[1]][1], m[r[1]][2]},
                            {m[r[2]][0], m[r[2]][1], m[r[2]][2]}};
    const double b[3] = {-m[r[0]][3], -m[r[1]][3], -m[r[2]][3]};
    const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                       a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                       a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    const double scale = std::fabs(a[0][0]) + std::fabs(a[1][1]) + std::fabs(a[2][2]) + std::fabs(a[0][1]) +
                         std::fabs(a[1][0]) + std::fabs(a[2][0]) + std::fabs(a[2][1]);
    if (!(std::fabs(det) > 1e-9 * scale * scale * scale)) {
        return false;
    }
    double solved[3];
    for (int column = 0; column < 3; ++column) {
        double c[3][3];
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                c[i][j] = j == column ? b[i] : a[i][j];
            }
        }
        solved[column] = (c[0][0] * (c[1][1] * c[2][2] - c[1][2] * c[2][1]) -
                          c[0][1] * (c[1][0] * c[2][2] - c[1][2] * c[2][0]) +
                          c[0][2] * (c[1][0] * c[2][1] - c[1][1] * c[2][0])) /
                         det;
    }
    at.set(static_cast<float>(solved[0]), static_cast<float>(solved[1]), static_cast<float>(solved[2]));
    return true;
}

Vector3<float> FrustumProjection::depthDirection() const {
    return Vector3<float>(static_cast<float>(_rows[2][0]), static_cast<float>(_rows[2][1]),
                          static_cast<float>(_rows[2][2]));
}

}  // namespace Vortel
