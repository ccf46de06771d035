#include "engine2d/timeline.h"

#include <algorithm>
#include <cmath>

#include "platform/math.h"

namespace Stelkor {

namespace {

float plus(float a, float b) {
    return a + b;
}

RGBA<float> plus(const RGBA<float>& a, const RGBA<float>& b) {
    return RGBA<float>(a.r + b.r, a.g + b.g, a.b + b.b, a.a + b.a);
}

float minus(float a, float b) {
    return a - b;
}

RGBA<float> minus(const RGBA<float>& a, const RGBA<float>& b) {
    return RGBA<float>(a.r - b.r, a.g - b.g, a.b - b.b, a.a - b.a);
}

float along(float from, double fraction, float d) {
    return static_cast<float>(from + fraction * d);
}

RGBA<float> along(const RGBA<float>& from, double fraction, const RGBA<float>& d) {
    return RGBA<float>(along(from.r, fraction, d.r), along(from.g, fraction, d.g), along(from.b, fraction, d.b),
                       along(from.a, fraction, d.a));
}

}  // namespace

template <typename T>
Timeline<T>::Timeline() : loop(true), _target(nullptr), _time(0), _next(0), _running() {}

template <typename T>
Timeline<T>::Timeline(const Timeline& other)
    : loop(other.loop), _target(other._target), _keys(other._keys), _time(0), _next(0), _running() {}

template <typename T>
Timeline<T>& Timeline<T>::operator=(const Timeline& other) {
    if (this != &other) {
        loop = other.loop;
        _target = other._target;
        _keys = other._keys;
        _time = 0;
        _next = 0;
        _running = T();
    }
    return *this;
}

template <typename T>
void Timeline<T>::restart() {
    _time = 0;
    _next = 0;
}

template <typename T>
void Timeline<T>::addKey(const Keyframe& key) {
    _keys.push_back(key);
    std::stable_sort(_keys.begin(), _keys.end(),
                     [](const Keyframe& a, const Keyframe& b) { return a.time < b.time; });
    restart();
}

template <typename T>
void Timeline<T>::rewind() {
    restart();
    _running = T();
}

template <typename T>
void Timeline<T>::clearKeys() {
    _keys.clear();
    restart();
}

// Samples a single value, so only float timelines have it.
template <>
void Timeline<float>::addSineKeys(float amplitude, float offset, float quarter, float phase, float duration,
                                  int count) {
    if (count <= 0) {
        return;
    }
    const double halfPi = TRUE_PI<double> / 2.0;
    float t = _keys.empty() ? 0.0f : static_cast<float>(_keys.back().time);
    const float step = count > 1 ? duration / static_cast<float>(count - 1) : 0.0f;
    for (int i = 0; i < count; ++i) {
        const float value = static_cast<float>(amplitude * std::sin(halfPi / quarter * (phase + t)) + offset);
        addKey(Keyframe{t, value, KEY_ABSOLUTE});
        t += step;
    }
}

// The previous key is _keys[_next - 1]; with _next 0 no key has been passed in this pass, and
// the running value is taken from the target afresh.
template <typename T>
void Timeline<T>::animate(double dt) {
    if (!_target) {
        return;
    }
    const bool finished = !_keys.empty() && _next == _keys.size();
    if (!loop && finished) {
        return;
    }
    _time += dt;
    if (_keys.empty()) {
        return;
    }
    if (_next == 0) {
        _running = *_target;
    }
    while (_next < _keys.size() && _keys[_next].time <= _time) {
        const Keyframe& key = _keys[_next];
        _running = key.type == KEY_ABSOLUTE ? key.value : plus(_running, key.value);
        ++_next;
    }
    if (_next == _keys.size()) {
        if (loop) {
            _time -= _keys.back().time;
            _next = 0;
        } else {
            // The value reached, so that a relative last key lands where the keys add up to.
            *_target = _running;
        }
        return;
    }
    if (_next == 0) {
        return;  // before the first key there is nothing to interpolate from
    }
    const Keyframe& prev = _keys[_next - 1];
    const Keyframe& next = _keys[_next];
    const double fraction = (_time - prev.time) / (next.time - prev.time);
    const T d = next.type == KEY_ABSOLUTE ? minus(next.value, _running) : next.value;
    *_target = along(_running, fraction, d);
}

template class Timeline<float>;
template class Timeline<RGBA<float> >;

}  // namespace Stelkor
