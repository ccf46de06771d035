#ifndef QUELLARIS_PLATFORM_AABB2_H
#define QUELLARIS_PLATFORM_AABB2_H

#include <algorithm>

#include "platform/vector2.h"

namespace Quib {

// An axis-aligned 2D box. Corners are never swapped: a box whose min exceeds its max is
// "invalid" and stays so; an intersection of disjoint boxes comes out that way.
template <typename T>
struct AABB2 {
    Vector2<T> min;
    Vector2<T> max;

    constexpr AABB2() = default;
    constexpr AABB2(const T& x0, const T& y0, const T& x1, const T& y1) : min(x0, y0), max(x1, y1) {}
    constexpr AABB2(const Vector2<T>& min_, const Vector2<T>& max_) : min(min_), max(max_) {}

    void set(const T& x0, const T& y0, const T& x1, const T& y1) {
        min.set(x0, y0);
        max.set(x1, y1);
    }

    // Min edges belong to the box, max edges do not.
    constexpr bool pointInside(const Vector2<T>& p) const {
        return min.x <= p.x && p.x < max.x && min.y <= p.y && p.y < max.y;
    }

    constexpr Vector2<T> size() const { return max - min; }

    // A zero-width box is valid.
    constexpr bool isValid() const { return min.x <= max.x && min.y <= max.y; }

    constexpr AABB2 operator&(const AABB2& other) const {
        return AABB2(std::max(min.x, other.min.x), std::max(min.y, other.min.y),
                     std::min(max.x, other.max.x), std::min(max.y, other.max.y));
    }

    constexpr AABB2 operator+(const Vector2<T>& offset) const { return AABB2(min + offset, max + offset); }
    constexpr AABB2 operator-(const Vector2<T>& offset) const { return AABB2(min - offset, max - offset); }

    constexpr bool operator==(const AABB2& o) const { return min == o.min && max == o.max; }
};

}  // namespace Quib

#endif
