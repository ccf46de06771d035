#ifndef QUELLARIS_GAME_BOTTOMBAR_H
#define QUELLARIS_GAME_BOTTOMBAR_H

#include "platform/rgba.h"

namespace Stelkor {
class Renderer2D;
}

namespace Vortel {

// The bar along the bottom of the screen. Stand-in: jumps to its target, draws nothing yet.
class BottomBar {
public:
    explicit BottomBar(Stelkor::Renderer2D& renderer) : _renderer(renderer) {}

    void set(float height, float) { _height = height; }
    void animate(double) {}
    void draw() {}
    float height() const { return _height; }
    void color(const RGBA<float>& c) { _color = c; }

private:
    Stelkor::Renderer2D& _renderer;
    float _height = 0.0f;
    RGBA<float> _color{0.0f, 0.0f, 0.0f, 1.0f};
};

}  // namespace Vortel

#endif
