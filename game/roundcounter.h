#ifndef QUELLARIS_GAME_ROUNDCOUNTER_H
#define QUELLARIS_GAME_ROUNDCOUNTER_H

#include <vector>

#include "platform/math.h"
#include "platform/mrand.h"

namespace Vortel {

// A round cockpit gauge: a flat ring that lights clockwise from 12 o'clock in proportion to a
// value in 0..1, optionally over a filled background disc. Its geometry is built once (by the
// constructor and by background); each frame the owner calls pos, then value where the dial
// shows one, then draw. Draws no text.
class RoundCounter {
public:
    // A segment count below 1 counts as 1. Starts full (value 1).
    RoundCounter(float innerRadius, float outerRadius, int segments);

    // Clamps to 0..1; NaN gives 0, so the lit part never leaves the ring array.
    void value(float v);
    float value() const { return _value; }
    // End angle of the lit arc in radians: pi/2 - 2 pi x value.
    float angle() const { return _angle; }
    // Whole ring vertex pairs that draw uses, 1 .. segments + 1.
    int litPairs() const { return _litPairs; }

    void pos(const Vector2<float>& p) { _pos = p; }
    void pos(float x, float y) { _pos.set(x, y); }
    const Vector2<float>& pos() const { return _pos; }

    // Replaces any earlier disc. A segment count below 1 counts as 1.
    void background(const RGBA<float>& color, float radius, int segments);
    bool hasBackground() const { return !_backgroundVertices.empty(); }
    const RGBA<float>& backgroundColor() const { return _backgroundColor; }
    float backgroundRadius() const { return _backgroundRadius; }
    int backgroundSegments() const { return _backgroundSegments; }

    // The ring takes the colour that these stops give for the value.
    void addColorGradientEntry(float t, const RGBA<float>& color);
    RGBA<float> ringColor() const { return _colorGradient.value(_value); }

    void animate(double) {}

    // In the current 2D projection (window pixels, y up). Leaves 2D texturing off; sets the GL
    // colour but not the 2D renderer's colour field, so a caller that prints afterwards sets
    // its own. Allocates nothing.
    void draw() const;

    float innerRadius() const { return _innerRadius; }
    float outerRadius() const { return _outerRadius; }
    int segments() const { return _segments; }

    // Pair i is the outer then the inner point (x, y) at pi/2 - i x 2 pi / segments:
    // segments + 1 pairs, the last equal to the first.
    const std::vector<float>& ringVertices() const { return _ringVertices; }
    // The centre, then segments + 1 rim points counter-clockwise from 12 o'clock: a fan.
    const std::vector<float>& backgroundVertices() const { return _backgroundVertices; }

private:
    float _value;
    float _angle;
    int _litPairs;
    float _innerRadius;
    float _outerRadius;
    float _backgroundRadius;
    Vector2<float> _pos;
    int _segments;
    int _backgroundSegments;
    Gradient<RGBA<float> > _colorGradient;
    RGBA<float> _backgroundColor;
    std::vector<float> _ringVertices;
    std::vector<float> _backgroundVertices;
};

}  // namespace Vortel

#endif
