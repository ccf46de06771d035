#include "game/craftframe.h"

#include <algorithm>
#include <cmath>

#include "actors/player.h"
#include "platform/math.h"
#include "platform/quaternion.h"

namespace Vortel {

namespace {

constexpr float DEGREES_TO_RADIANS = TRUE_PI<float> / 180.0f;

Vector3<float> toFloat(const Vector3<int>& v) { return Vector3<float>(v); }

Vector3<float> cross(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

Vector3<float> column(const Matrix& m, int col) {
    return Vector3<float>(static_cast<float>(m(1, col)), static_cast<float>(m(2, col)), static_cast<float>(m(3, col)));
}

}  // namespace

Matrix craftMatrix(const Player& craft) {
    Vector3<float> forward = toFloat(craft._forward);
    Vector3<float> up = toFloat(craft._up);
    const float angle = craft.turnAngle();
    if (angle != 0.0f) {
        Matrix turn;
        turn.rotation(Quaternion(toFloat(craft._turnAxisWorld), angle * DEGREES_TO_RADIANS));
        forward = turn.mult(forward, 0.0f);
        up = turn.mult(up, 0.0f);
    }
    // load() fills column 0 from its third argument and column 2 from its first.
    return Matrix(forward, up, cross(up, forward), craft._pos);
}

CameraPlacement placeCamera(const Matrix& frame, int mode, float orbitAngle, float bob) {
    const Vector3<float> origin = column(frame, 4);
    const Vector3<float> up = column(frame, 2);
    if (mode == CAMERA_FIRST_PERSON) {
        const Vector3<float> forward = column(frame, 3);
        return CameraPlacement{origin, Vector3<float>(origin.x + forward.x, origin.y + forward.y, origin.z + forward.z),
                               up};
    }
    Vector3<float> local(4.0f, 4.0f + bob, -4.0f);
    if (mode == CAMERA_ORBIT) {
        const float c = std::cos(orbitAngle);
        const float s = std::sin(orbitAngle);
        local = Vector3<float>(local.x * c + local.z * s, local.y, -local.x * s + local.z * c);
    }
    return CameraPlacement{frame * local, origin, up};
}

float viewTurnDegrees(float degrees) {
    if (std::fabs(degrees) < 0.2f) {
        return 0.0f;
    }
    return std::clamp(degrees, -90.0f, 90.0f);
}

}  // namespace Vortel
