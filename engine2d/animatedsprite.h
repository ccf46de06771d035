#ifndef QUELLARIS_ENGINE2D_ANIMATEDSPRITE_H
#define QUELLARIS_ENGINE2D_ANIMATEDSPRITE_H

#include "engine2d/sprite.h"

namespace Stelkor {

class ImageSequence;

// A sprite whose image steps through an image sequence at a fixed frame delay, looping or
// going back and forth until the cycle end frame has been reached a given number of times,
// then holding that frame.
class AnimatedSprite : public virtual Sprite {
public:
    enum atype { ANIM_HOLD = 0, ANIM_LOOP = 1, ANIM_PINGPONG = 2 };

    AnimatedSprite();
    ~AnimatedSprite() override = default;

    void sequence(ImageSequence& s) { _sequence = &s; }
    void sequence(ImageSequence* s) { _sequence = s; }
    // A delay of 0 or less steps one frame per animate().
    AnimatedSprite& frameDelay(double delay);
    double frameDelay() const { return _frameDelay; }
    void frame(int f);
    int frame() const { return _frame; }
    void hold(int f);
    void loop(int cycles, bool forward);
    void pingPong(int cycles, bool forward);
    void animType(atype t) { _type = t; }
    atype animType() const { return _type; }
    void cycleEndFrame(int f) { _cycleEndFrame = f; }
    AnimatedSprite& animForward(bool forward);
    bool animForward() const { return _step == 1; }

    void animate(double dt) override;
    Sprite* duplicate() const override;
    void copyTo(AnimatedSprite* target) const;

private:
    void start(atype t, int cycles, bool forward);
    int stepsDue(double dt);
    void advance(int n, int count);

    atype _type;
    ImageSequence* _sequence;  // not owned
    int _frame;
    double _frameDelay;
    double _frameTime;
    int _step;
    int _cycles;
    int _cycleEndFrame;
};

}  // namespace Stelkor

#endif
