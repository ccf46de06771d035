#ifndef QUELLARIS_PLATFORM_VECTOR2_H
#define QUELLARIS_PLATFORM_VECTOR2_H

#include <cmath>
#include <vector>

// A plain 2D vector passed by value: screen positions, sizes and grid offsets.
template <typename T>
struct Vector2 {
    T x;
    T y;

    constexpr Vector2() : x(0), y(0) {}
    constexpr Vector2(T x_, T y_) : x(x_), y(y_) {}

    void set(T x_, T y_) {
        x = x_;
        y = y_;
    }

    // Length of the vector, not a component-wise absolute value.
    float abs() const { return std::sqrt(static_cast<float>(x * x + y * y)); }

    constexpr Vector2 operator+(const Vector2& other) const { return Vector2(x + other.x, y + other.y); }
    constexpr Vector2 operator-(const Vector2& other) const { return Vector2(x - other.x, y - other.y); }
    constexpr bool operator==(const Vector2& other) const { return x == other.x && y == other.y; }
    constexpr bool operator!=(const Vector2& other) const { return !(*this == other); }

    // Even-odd crossing test towards +x. Edges straddle the point's y half-open (lower end
    // included), so a point on a bottom edge is inside and one on a top edge is not; a
    // crossing exactly at the point's x does not count.
    bool pointInsidePolygon(const std::vector<Vector2<float> >& vertices) const {
        const float px = static_cast<float>(x);
        const float py = static_cast<float>(y);
        const std::size_t n = vertices.size();
        bool inside = false;
        for (std::size_t i = 0; i < n; ++i) {
            const Vector2<float>& a = vertices[i];
            const Vector2<float>& b = vertices[i + 1 == n ? 0 : i + 1];
            const bool straddles = (a.y <= py && b.y > py) || (a.y > py && b.y <= py);
            if (!straddles) {
                continue;
            }
            const float t = (py - a.y) / (b.y - a.y);
            const float crossX = (b.x - a.x) * t + a.x;
            if (crossX > px) {
                inside = !inside;
            }
        }
        return inside;
    }
};

#endif
