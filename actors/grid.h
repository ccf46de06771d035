#ifndef QUELLARIS_ACTORS_GRID_H
#define QUELLARIS_ACTORS_GRID_H

#include "actors/movementtrack.h"
#include "platform/vector3.h"

namespace Vortel {

// Cell arithmetic for crafts on the grid. A craft's frame is its cell plus two perpendicular
// axis unit vectors, forward F and up U; its left is U x F and its right F x U.
namespace grid {

constexpr Vector3<int> add(const Vector3<int>& a, const Vector3<int>& b) {
    return Vector3<int>(a.x + b.x, a.y + b.y, a.z + b.z);
}

constexpr Vector3<int> sub(const Vector3<int>& a, const Vector3<int>& b) {
    return Vector3<int>(a.x - b.x, a.y - b.y, a.z - b.z);
}

constexpr Vector3<int> scaled(const Vector3<int>& v, int n) {
    return Vector3<int>(v.x * n, v.y * n, v.z * n);
}

constexpr Vector3<int> negated(const Vector3<int>& v) { return Vector3<int>(-v.x, -v.y, -v.z); }

constexpr Vector3<int> cross(const Vector3<int>& a, const Vector3<int>& b) {
    return Vector3<int>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// Into 0 .. size - 1 for any coordinate, however far a long step carried it.
constexpr int wrapCoordinate(int c, int size) {
    const int r = c % size;
    return r < 0 ? r + size : r;
}

constexpr Vector3<int> wrapCell(const Vector3<int>& c, int size) {
    return Vector3<int>(wrapCoordinate(c.x, size), wrapCoordinate(c.y, size), wrapCoordinate(c.z, size));
}

// Turns a heading by one recorded move: left, right, up or down relative to itself.
// Straight on, the wildcard and combinations of bits leave it as it is.
inline void turnHeading(unsigned int move, Vector3<int>& forward, Vector3<int>& up) {
    const Vector3<int> oldForward = forward;
    switch (move) {
        case MovementTrack::MOVE_LEFT: forward = cross(up, oldForward); break;
        case MovementTrack::MOVE_RIGHT: forward = cross(oldForward, up); break;
        case MovementTrack::MOVE_UP:
            forward = up;
            up = negated(oldForward);
            break;
        case MovementTrack::MOVE_DOWN:
            forward = negated(up);
            up = oldForward;
            break;
        default: break;
    }
}

}  // namespace grid

}  // namespace Vortel

#endif
