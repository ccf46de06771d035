#ifndef QUELLARIS_PLATFORM_QUATERNION_H
#define QUELLARIS_PLATFORM_QUATERNION_H

#include "platform/vector3.h"

// A rotation about an axis, kept as a unit quaternion: vector part first, scalar part last.
// Matrix::rotation(Quaternion) turns it into a transform.
struct Quaternion {
    float x;
    float y;
    float z;
    float w;

    Quaternion(float x_, float y_, float z_, float w_);
    Quaternion(const Vector3<float>& axis, float angle);

    // Angle in radians. The axis need not be unit length: the whole quaternion is
    // normalised afterwards instead.
    void set(const Vector3<float>& axis, float angle);

    float magnitude() const;
    void norm();
};

#endif
