#include "platform/quaternion.h"

#include <cmath>

Quaternion::Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

Quaternion::Quaternion(const Vector3<float>& axis, float angle) : x(0), y(0), z(0), w(1) {
    set(axis, angle);
}

void Quaternion::set(const Vector3<float>& axis, float angle) {
    const float s = std::sin(angle / 2);
    x = axis.x * s;
    y = axis.y * s;
    z = axis.z * s;
    w = std::cos(angle / 2);
    norm();
}

float Quaternion::magnitude() const {
    return std::sqrt(x * x + y * y + z * z + w * w);
}

void Quaternion::norm() {
    // A zero quaternion has no direction to keep; dividing would only spread NaNs.
    const float length = magnitude();
    if (length == 0.0f) {
        return;
    }
    x /= length;
    y /= length;
    z /= length;
    w /= length;
}
