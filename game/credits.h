#ifndef QUELLARIS_GAME_CREDITS_H
#define QUELLARIS_GAME_CREDITS_H

namespace Stelkor {
class Renderer2D;
}

namespace Vortel {

// The credits roll. Stand-in: holds no entry yet.
class Credits {
public:
    explicit Credits(Stelkor::Renderer2D& renderer) : _renderer(renderer) {}

    void animate(double) {}
    void draw() {}
    int loops() const { return _loops; }
    void resetLoopCounter() { _loops = 0; }

private:
    Stelkor::Renderer2D& _renderer;
    int _loops = 0;
};

}  // namespace Vortel

#endif
