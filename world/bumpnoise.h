#ifndef QUELLARIS_WORLD_BUMPNOISE_H
#define QUELLARIS_WORLD_BUMPNOISE_H

#include <memory>

#include "engine2d/timelinesprite.h"
#include "platform/math.h"
#include "platform/mrand.h"

namespace Stelkor {
class Bitmap;
class Image;
}  // namespace Stelkor

namespace Vortel {

// The burst of screen static when the craft bumps into a cube: a full-screen overlay cut from
// a noise picture that flashes up at 30 % opacity and fades out within 0.4 s, its texture
// jumping to a random offset fifty times a second while it shows. It jitters from a
// generator of its own, so the effect sequences of the game are not disturbed by it.
class BumpNoise {
public:
    static constexpr float START_ALPHA = 0.3f;
    static constexpr double FADE_TIME = 0.4;
    static constexpr float VISIBLE_ALPHA = 0.01f;  // fainter than this counts as gone
    static constexpr double JITTER_INTERVAL = 0.02;

    // Cuts the 170 x 128 picture at the bitmap's lower-left corner and lays it over a screen of
    // the given size, starting invisible. The bitmap (with its texture made) is not owned and
    // must outlive the flash. Needs the GL context.
    BumpNoise(Stelkor::Bitmap& bitmap, const Vector2<float>& screenSize);
    ~BumpNoise();

    BumpNoise(const BumpNoise&) = delete;
    BumpNoise& operator=(const BumpNoise&) = delete;

    // Starts the flash again from full strength.
    void bump();
    // Ends the flash at once.
    void clear();

    void animate(double dt);
    // Draws over whatever is on screen, through the 2D projection; nothing while invisible.
    void draw();

    float alpha() const { return _sprite->_color.a; }
    bool visible() const { return alpha() >= VISIBLE_ALPHA; }
    // Texture translation (s, t) of the present jump.
    const Vector2<float>& textureOffset() const { return _textureOffset; }
    const Stelkor::TimelineSprite& sprite() const { return *_sprite; }

private:
    void jump();

    Stelkor::Bitmap* _bitmap;
    std::unique_ptr<Stelkor::Image> _image;
    std::unique_ptr<Stelkor::TimelineSprite> _sprite;  // shows _image, so it goes first
    RandGenerator _random;
    double _jitterInterval;
    double _jitterTimer;
    Vector2<float> _textureOffset;
};

}  // namespace Vortel

#endif
