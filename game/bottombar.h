#ifndef QUELLARIS_GAME_BOTTOMBAR_H
#define QUELLARIS_GAME_BOTTOMBAR_H

#include "platform/math.h"
#include "platform/mrand.h"

namespace Stelkor {
class Renderer2D;
}

namespace Vortel {

// The coloured band along the bottom edge of the screen. Its height slides toward a target at
// a set speed while its colour fades to the new one, arriving together; the screens read the
// current height to lay themselves out. Per frame: animate(frame time), then draw().
class BottomBar {
public:
    // Not owned: the renderer must outlive the bar.
    explicit BottomBar(Stelkor::Renderer2D& renderer);

    float height() const { return _height; }
    float targetHeight() const { return _targetHeight; }

    // Sets the colour at once without touching the fade, so the next animate() returns to the
    // fade's colour and the next set() fades from this one.
    void color(const RGBA<float>& c) { _color = c; }
    const RGBA<float>& color() const { return _color; }

    // Slides from the current height to h at s pixels per second, fading from the current
    // colour to c on the way. A bar already at h takes c at once. A speed that is not above 0,
    // or not finite, puts the bar at h in c at once. A negative h slides the bar out of view.
    void set(float h, float s, RGBA<float> c);
    void set(float h, float s) { set(h, s, _color); }

    // A step that passes the target is shown for its frame; the next call settles on the
    // target.
    void animate(double dt);

    // A filled box from the bottom-left corner across the viewport's width, _height tall.
    // Loads the identity modelview first.
    void draw() const;

private:
    // The arrival test: a bar at or past its target in the direction it moves comes to rest
    // on the target. True when it did.
    bool settleIfArrived();

    Stelkor::Renderer2D* _renderer;
    float _height = 10.0f;
    float _targetHeight = 10.0f;
    float _speed = 0.0f;  // pixels per second, negative while shrinking, 0 at rest
    double _time = 0.0;   // since the last set(): the fade's clock
    RGBA<float> _color = RGBA<float>(0.0f, 0.0f, 0.0f, 1.0f);
    Gradient<RGBA<float> > _fade;
};

}  // namespace Vortel

#endif
