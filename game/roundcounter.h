#ifndef QUELLARIS_GAME_ROUNDCOUNTER_H
#define QUELLARIS_GAME_ROUNDCOUNTER_H

#include "platform/rgba.h"
#include "platform/vector2.h"

namespace Vortel {

// A round segmented dial. Stand-in: keeps its value and draws nothing yet.
class RoundCounter {
public:
    RoundCounter(float innerSize, float outerSize, int segments)
        : _innerSize(innerSize), _outerSize(outerSize), _segments(segments) {}

    void value(float v) { _value = v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
    float value() const { return _value; }
    void pos(const Vector2<float>& p) { _pos = p; }
    const Vector2<float>& pos() const { return _pos; }
    void background(const RGBA<float>&, float, int) {}
    void addColorGradientEntry(float, const RGBA<float>&) {}
    void animate(double) {}
    void draw() {}

private:
    float _innerSize;
    float _outerSize;
    int _segments;
    float _value = 1.0f;
    Vector2<float> _pos;
};

}  // namespace Vortel

#endif
