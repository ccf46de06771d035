#ifndef QUELLARIS_PLATFORM_SHAKER_H
#define QUELLARIS_PLATFORM_SHAKER_H

#include "platform/vector3.h"

// A decaying oscillation along a random direction; the game adds its displacement to the
// view for explosions and hits.
class Shaker {
public:
    // Angular speed of the oscillation in radians per second.
    explicit Shaker(float velocity);

    Shaker& velocity(float v);
    const Vector3<float>& displacement() const { return _displacement; }

    // Starts or renews a shake. A longer shake already running keeps its end; the new
    // amplitude then fades out over that longer time.
    void shake(float amplitude, float duration);
    void animate(double dt);

private:
    Vector3<float> _displacement;
    Vector3<float> _direction;
    float _value;
    // Amplitude and times are summed frame by frame; in double so that the amplitude and the
    // remaining time run out together instead of leaving a rounding residue behind.
    double _amplitude;
    double _decay;
    float _velocity;
    double _remaining;
    double _elapsed;
};

#endif
