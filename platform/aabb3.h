#ifndef QUELLARIS_PLATFORM_AABB3_H
#define QUELLARIS_PLATFORM_AABB3_H

#include "platform/vector3.h"

// An axis-aligned 3D box; like the 2D box it is never normalised.
template <typename T>
struct AABB3 {
    Vector3<T> min;
    Vector3<T> max;

    constexpr AABB3() = default;
    constexpr AABB3(T x0, T y0, T z0, T x1, T y1, T z1) : min(x0, y0, z0), max(x1, y1, z1) {}
    constexpr AABB3(const Vector3<T>& min_, const Vector3<T>& max_) : min(min_), max(max_) {}

    template <typename U>
    constexpr explicit AABB3(const AABB3<U>& other) : min(other.min), max(other.max) {}

    // min + (max - min) / 2, in that order per component.
    constexpr Vector3<T> center() const {
        return Vector3<T>(min.x + (max.x - min.x) / 2, min.y + (max.y - min.y) / 2, min.z + (max.z - min.z) / 2);
    }
};

#endif
