#ifndef QUELLARIS_TESTS_SUPPORT_DRAW_RECORDER_H
#define QUELLARIS_TESTS_SUPPORT_DRAW_RECORDER_H

#include <vector>

#include "engine2d/renderer2d.h"

namespace testsupport {

// A renderer that notes every image it is asked to draw instead of drawing it, so sprite trees
// and printed text can be checked without a GL context.
class DrawRecorder : public Stelkor::Renderer2D {
public:
    struct Call {
        const Stelkor::Image* image;
        Vector2<float> pos;
        float rotation;
        Vector2<float> scale;
        RGBA<float> color;
    };

    void drawImage(const Stelkor::Image& image, const Vector2<float>& pos, float rotation, float scaleX,
                   float scaleY) override {
        calls.push_back(Call{&image, pos, rotation, Vector2<float>(scaleX, scaleY), _color});
    }
    void placeGlyph(const Stelkor::Image& glyph, const Vector2<float>& pen, const Vector2<float>& scale) override {
        drawImage(glyph, pen, 0.0f, scale.x, scale.y);
    }

    std::vector<Call> calls;
};

}  // namespace testsupport

#endif
