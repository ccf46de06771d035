#ifndef QUELLARIS_ASSETGEN_SDF_H
#define QUELLARIS_ASSETGEN_SDF_H

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assetgen/vec.h"

// Signed distances in pixels (negative inside) of the shapes that the pictures are drawn from.
namespace assetgen::sdf {

inline double circle(double x, double y, double cx, double cy, double r) { return std::hypot(x - cx, y - cy) - r; }

inline double ring(double x, double y, double cx, double cy, double r, double halfWidth)
{
    return std::abs(std::hypot(x - cx, y - cy) - r) - halfWidth;
}

// Box with centre, half sizes and corner radius.
inline double box(double x, double y, double cx, double cy, double hw, double hh, double radius = 0.0)
{
    const double qx = std::abs(x - cx) - hw + radius, qy = std::abs(y - cy) - hh + radius;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

// Capsule round the segment a-b.
inline double segment(double x, double y, double ax, double ay, double bx, double by, double halfWidth)
{
    const double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

// Any simple polygon (corners in order).
inline double polygon(double x, double y, const std::vector<Vec2>& pts)
{
    double d = 1e30;
    bool inside = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const Vec2 a = pts[j], b = pts[i];
        const double ex = b.x - a.x, ey = b.y - a.y, wx = x - a.x, wy = y - a.y;
        const double t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
        d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside ? -d : d;
}

// Ring segment between two angles (radians, counter-clockwise from +x).
inline double arc(double x, double y, double cx, double cy, double r, double halfWidth, double from, double to)
{
    double a = std::atan2(y - cy, x - cx);
    while (a < from)
        a += 2.0 * kPi;
    if (a <= to)
        return ring(x, y, cx, cy, r, halfWidth);
    const double ax = cx + r * std::cos(from), ay = cy + r * std::sin(from);
    const double bx = cx + r * std::cos(to), by = cy + r * std::sin(to);
    return std::min(std::hypot(x - ax, y - ay), std::hypot(x - bx, y - by)) - halfWidth;
}

}  // namespace assetgen::sdf

#endif
