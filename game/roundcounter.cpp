#include "game/roundcounter.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "platform/math.h"

namespace Vortel {

namespace {

constexpr double PI = TRUE_PI<double>;
// The start angle is a float: the rim points are placed from it, not from the exact pi/2.
constexpr float TWELVE_O_CLOCK = static_cast<float>(PI / 2);

// Floats per ring pair: outer x, y, inner x, y.
constexpr int PAIR_FLOATS = 4;

}  // namespace

RoundCounter::RoundCounter(float innerRadius, float outerRadius, int segments)
    : _value(1.0f),
      _angle(static_cast<float>(-3 * PI / 2)),
      _litPairs(0),
      _innerRadius(innerRadius),
      _outerRadius(outerRadius),
      _backgroundRadius(0.0f),
      _segments(std::max(segments, 1)),
      _backgroundSegments(0) {
    const double step = 2 * PI / _segments;
    _ringVertices.reserve(static_cast<std::size_t>(_segments + 1) * PAIR_FLOATS);
    for (int i = 0; i <= _segments; ++i) {
        const double a = TWELVE_O_CLOCK - i * step;
        _ringVertices.push_back(static_cast<float>(std::cos(a) * _outerRadius));
        _ringVertices.push_back(static_cast<float>(std::sin(a) * _outerRadius));
        _ringVertices.push_back(static_cast<float>(std::cos(a) * _innerRadius));
        _ringVertices.push_back(static_cast<float>(std::sin(a) * _innerRadius));
    }
    value(1.0f);
}

void RoundCounter::value(float v) {
    if (v > 1.0f) {
        v = 1.0f;
    }
    if (!(v >= 0.0f)) {  // also NaN
        v = 0.0f;
    }
    _value = v;
    _angle = static_cast<float>(PI / 2 - 2 * PI * v);
    // The clamp guards against rounding of v x segments at very large segment counts.
    _litPairs = std::min(static_cast<int>(v * static_cast<float>(_segments)) + 1, _segments + 1);
}

void RoundCounter::background(const RGBA<float>& color, float radius, int segments) {
    _backgroundColor = color;
    _backgroundRadius = radius;
    _backgroundSegments = std::max(segments, 1);
    const double step = 2 * PI / _backgroundSegments;
    _backgroundVertices.assign(2, 0.0f);
    _backgroundVertices.reserve(static_cast<std::size_t>(_backgroundSegments + 2) * 2);
    for (int i = 0; i <= _backgroundSegments; ++i) {
        const double b = TWELVE_O_CLOCK + i * step;
        _backgroundVertices.push_back(static_cast<float>(std::cos(b) * _backgroundRadius));
        _backgroundVertices.push_back(static_cast<float>(std::sin(b) * _backgroundRadius));
    }
}

void RoundCounter::addColorGradientEntry(float t, const RGBA<float>& color) {
    _colorGradient.addEntry(t, color);
}

void RoundCounter::draw() const {
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glTranslatef(_pos.x, _pos.y, 0.0f);

    if (hasBackground()) {
        glColor4f(_backgroundColor.r, _backgroundColor.g, _backgroundColor.b, _backgroundColor.a);
        glVertexPointer(2, GL_FLOAT, 0, _backgroundVertices.data());
        glDrawArrays(GL_TRIANGLE_FAN, 0, _backgroundSegments + 2);
    }

    const RGBA<float> ring = ringColor();
    glColor4f(ring.r, ring.g, ring.b, ring.a);
    glVertexPointer(2, GL_FLOAT, 0, _ringVertices.data());
    glDrawArrays(GL_QUAD_STRIP, 0, 2 * _litPairs);

    // Whole segments stop short of the value: one quad closes the gap to the exact angle.
    const float* last = &_ringVertices[static_cast<std::size_t>(_litPairs - 1) * PAIR_FLOATS];
    const float c = std::cos(_angle);
    const float s = std::sin(_angle);
    glBegin(GL_QUADS);
    glVertex2f(last[0], last[1]);
    glVertex2f(last[2], last[3]);
    glVertex2f(c * _innerRadius, s * _innerRadius);
    glVertex2f(c * _outerRadius, s * _outerRadius);
    glEnd();

    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
}

}  // namespace Vortel
