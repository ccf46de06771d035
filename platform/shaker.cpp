#include "platform/shaker.h"

#include <cmath>

#include "platform/crand.h"

namespace {

// A shake whose remaining time is below this is over: frame times summed in floating point
// rarely land on the duration exactly.
const double kEndTolerance = 1e-6;

}  // namespace

Shaker::Shaker(float velocity)
    : _value(0), _amplitude(0), _decay(1), _velocity(velocity), _remaining(0), _elapsed(0) {}

Shaker& Shaker::velocity(float v) {
    _velocity = v;
    return *this;
}

void Shaker::shake(float amplitude, float duration) {
    _elapsed = 0;
    if (duration > _remaining) {
        _remaining = duration;
    }
    // With no time left to fade out in, there is nothing to shake.
    _amplitude = _remaining > 0 ? amplitude : 0.0f;
    _decay = _remaining > 0 ? _amplitude / _remaining : 1.0;

    const float k = 2.0f / static_cast<float>(crand::CRAND_MAX);
    const float x = k * static_cast<float>(crand::rand()) - 1.0f;
    const float y = k * static_cast<float>(crand::rand()) - 1.0f;
    const float z = k * static_cast<float>(crand::rand()) - 1.0f;
    const float length = std::sqrt(x * x + y * y + z * z);
    _direction = length > 0.0f ? Vector3<float>(x / length, y / length, z / length) : Vector3<float>();
}

void Shaker::animate(double dt) {
    _remaining -= dt;
    _elapsed += dt;
    _amplitude -= dt * _decay;
    const float s = static_cast<float>(std::sin(_velocity * _elapsed));

    if (_amplitude > 0 && _remaining > kEndTolerance) {
        _value = s * static_cast<float>(_amplitude);
        // The direction drifts round the x axis so that a long shake does not stay on one line.
        const double angle = 0.5 * _velocity * dt;
        const float c = static_cast<float>(std::cos(angle));
        const float sn = static_cast<float>(std::sin(angle));
        const float y = _direction.y * c - _direction.z * sn;
        const float z = _direction.y * sn + _direction.z * c;
        _direction.y = y;
        _direction.z = z;
    } else {
        _value = 0;
        _amplitude = 0;
        _remaining = 0;
    }
    _displacement.set(_direction.x * _value, _direction.y * _value, _direction.z * _value);
}
