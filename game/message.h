#ifndef QUELLARIS_GAME_MESSAGE_H
#define QUELLARIS_GAME_MESSAGE_H

#include <sstream>

#include "platform/rgba.h"
#include "platform/vector2.h"

namespace Stelkor {
class Renderer2D;
}

namespace Vortel {

// The centre-screen message. Stand-in: holds its text, draws nothing yet.
class Message {
public:
    explicit Message(Stelkor::Renderer2D& renderer) : _renderer(renderer) {}

    void showText(double, double) {}
    void animate(double) {}
    void draw() {}
    void clear() { _text.str(""); }

    std::stringstream _text{std::ios::in | std::ios::out};
    Vector2<float> _pos;
    RGBA<float> _color{1.0f, 1.0f, 1.0f, 1.0f};

private:
    Stelkor::Renderer2D& _renderer;
};

}  // namespace Vortel

#endif
