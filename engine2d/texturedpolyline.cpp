#include "engine2d/texturedpolyline.h"

#include <cmath>

#include "platform/math.h"

namespace Stelkor {

namespace {

// The unit vector along d, or false when d has no length.
bool normalised(const Vector2<float>& d, Vector2<float>& unit) {
    const float length = d.abs();
    if (length == 0) {
        return false;
    }
    unit.set(d.x / length, d.y / length);
    return true;
}

}  // namespace

TexturedPolyLine::TexturedPolyLine() : _width(16.0f), _textureBitmap(nullptr), _tileLength(10) {}

TexturedPolyLine& TexturedPolyLine::addPoint(const Vector2<float>& p) {
    PolyLine::addPoint(p);
    refreshCache();
    return *this;
}

TexturedPolyLine& TexturedPolyLine::addPoint(float x, float y) {
    return addPoint(Vector2<float>(x, y));
}

// The direction at a point runs from the point before it to the one after it. Where those
// coincide (a lone point, or a line turning straight back) it falls back to the segment
// leading in, then the one leading out; a lone point gets no direction and a zero-width band.
void TexturedPolyLine::refreshCache() {
    const std::size_t n = _points.size();
    _normals.clear();
    _directions.clear();
    _distances.clear();
    _quadStrip.clear();
    _normals.reserve(n);
    _directions.reserve(n);
    _distances.reserve(n);
    _quadStrip.reserve(4 * n);

    const double halfPi = TRUE_PI<double> / 2.0;
    const double cosQuarter = std::cos(halfPi);
    const double sinQuarter = std::sin(halfPi);
    const float h = _width / 2;
    float length = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vector2<float>& p = _points[i];
        const Vector2<float>& a = i == 0 ? p : _points[i - 1];
        const Vector2<float>& b = i + 1 == n ? p : _points[i + 1];
        const Vector2<float> out = b - p;
        const Vector2<float> in = p - a;
        Vector2<float> d;
        if (!normalised(out + in, d) && !normalised(in, d) && !normalised(out, d)) {
            d.set(0, 0);
        }
        const Vector2<float> normal(static_cast<float>(d.x * cosQuarter - d.y * sinQuarter),
                                    static_cast<float>(d.x * sinQuarter + d.y * cosQuarter));
        length += out.abs();
        _directions.push_back(d);
        _normals.push_back(normal);
        _distances.push_back(length);

        const float u = _tileLength > 0 ? length / _tileLength : 0.0f;
        const Vector2<float> side(normal.x * h, normal.y * h);
        _quadStrip.push_back(Vector2<float>(u, 0));
        _quadStrip.push_back(p + side);
        _quadStrip.push_back(Vector2<float>(u, 1));
        _quadStrip.push_back(p - side);
    }
}

}  // namespace Stelkor
