#ifndef QUELLARIS_ENGINE2D_TIMELINE_H
#define QUELLARIS_ENGINE2D_TIMELINE_H

#include <cstddef>
#include <vector>

#include "platform/math.h"

namespace Stelkor {

// Animates one value in memory from timed keyframes, writing the interpolated value into its
// target on every animate(). An absolute key (type 1) gives the value at its time; any other
// key adds its value to the value reached at the key before. A looping timeline starts again
// after its last key; a one-shot one holds the value reached there until it is rewound.
// Used for float and RGBA<float>.
template <typename T>
class Timeline {
public:
    enum { KEY_RELATIVE = 0, KEY_ABSOLUTE = 1 };

    struct Keyframe {
        double time;
        T value;
        int type;
    };

    Timeline();
    // A copy has the same target, keys and loop flag and starts from the beginning.
    Timeline(const Timeline& other);
    Timeline& operator=(const Timeline& other);

    void targetObject(T& target) { _target = &target; }
    void targetObject(T* target) { _target = target; }
    T* target() const { return _target; }

    // Keeps the keys sorted by time (equal times in the order added) and rewinds the time.
    void addKey(const Keyframe& key);
    void rewind();
    void clearKeys();
    // count absolute keys of amplitude * sin(pi / 2 / quarter * (phase + t)) + offset, spaced
    // duration / (count - 1) apart from the last key's time on.
    void addSineKeys(float amplitude, float offset, float quarter, float phase, float duration, int count);

    void animate(double dt);

    const std::vector<Keyframe>& keys() const { return _keys; }
    double time() const { return _time; }

    bool loop;

private:
    void restart();

    T* _target;
    std::vector<Keyframe> _keys;
    double _time;
    std::size_t _next;  // first key not yet passed; the one before it is the previous key
    T _running;         // the value reached at the previous key
};

template <>
void Timeline<float>::addSineKeys(float amplitude, float offset, float quarter, float phase, float duration,
                                  int count);

}  // namespace Stelkor

#endif
