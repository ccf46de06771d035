#ifndef QUELLARIS_PLATFORM_MRAND_H
#define QUELLARIS_PLATFORM_MRAND_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/rgba.h"

// The game's own reproducible random source: MT19937 exactly as its authors' reference
// code, so a given seed yields the same sequence everywhere. The C-runtime stand-in
// (crand) serves effects; this one serves weighted choices and texture jitter.
class RandGenerator {
public:
    static constexpr std::uint32_t DEFAULT_SEED = 5489u;

    RandGenerator();

    void seed(std::uint32_t s);

    // The next output word scaled to the closed interval [0, 1].
    double rand();
    // rand() scaled to [lo, hi].
    double rand(double lo, double hi);

private:
    static constexpr int STATE_SIZE = 624;

    void regenerate();
    std::uint32_t nextWord();

    std::array<std::uint32_t, STATE_SIZE> _state;
    int _index;
};

// Draws one of a set of values with probability proportional to its weight. Every chooser
// has its own generator, so its sequence depends only on its own seed.
template <typename T>
class RandWeighted {
public:
    struct Entry {
        T value;
        float weight;
    };

    // A value already present keeps its place and takes the new weight.
    void addValue(T value, float weight) {
        Entry* const existing = find(value);
        if (existing != nullptr) {
            existing->weight = weight;
        } else {
            _entries.push_back(Entry{value, weight});
        }
        updateTotalWeight();
    }

    void updateTotalWeight() {
        float total = 0.0f;
        for (const Entry& e : _entries) {
            total += e.weight;
        }
        _total = total;
    }

    void seed(std::uint32_t s) { _generator.seed(s); }

    T operator()() { return valueAt(_generator.rand(0.0, _total)); }

    // The value a draw of r in [0, total] selects: the first entry whose running sum of
    // weights reaches r, so a draw on a boundary goes to the earlier entry.
    T valueAt(double r) const {
        float sum = 0.0f;
        for (const Entry& e : _entries) {
            sum += e.weight;
            if (sum >= r) {
                return e.value;
            }
        }
        // Only an empty chooser or a draw the weights cannot reach (negative or
        // non-finite weights) gets here; callers still expect one of the values.
        return _entries.empty() ? T() : _entries.back().value;
    }

    float totalWeight() const { return _total; }
    const std::vector<Entry>& entries() const { return _entries; }

private:
    Entry* find(const T& value) {
        for (Entry& e : _entries) {
            if (e.value == value) {
                return &e;
            }
        }
        return nullptr;
    }

    std::vector<Entry> _entries;
    float _total = 0.0f;
    RandGenerator _generator;
};

// Blending between two gradient stops: a + (b - a) * offset / span, channel by channel.
// Overload for further value types as they are needed.
inline float gradientBlend(float a, float b, float offset, float span) {
    return a + (b - a) * offset / span;
}

template <typename C>
RGBA<C> gradientBlend(const RGBA<C>& a, const RGBA<C>& b, float offset, float span) {
    return RGBA<C>(static_cast<C>(a.r + (b.r - a.r) * offset / span),
                   static_cast<C>(a.g + (b.g - a.g) * offset / span),
                   static_cast<C>(a.b + (b.b - a.b) * offset / span),
                   static_cast<C>(a.a + (b.a - a.a) * offset / span));
}

// A ramp of values by position: linear between sorted stops and held at the end stops.
// Used as Gradient<RGBA<float> > for colour fades.
template <typename T>
class Gradient {
public:
    struct Entry {
        float position;
        T value;
    };

    Gradient() : _min(0.0f), _max(1.0f) {}
    Gradient(float min, float max) : _min(std::min(min, max)), _max(std::max(min, max)) {}

    // Stops at an equal position stay in the order they were added.
    void addEntry(float position, const T& value) {
        const auto at = std::upper_bound(
            _stops.begin(), _stops.end(), position,
            [](float p, const Entry& stop) { return p < stop.position; });
        _stops.insert(at, Entry{position, value});
    }

    void clear() { _stops.clear(); }

    // The stops' own positions decide; the nominal range is not consulted.
    T value(float t) const {
        if (_stops.empty()) {
            return _default;
        }
        if (_stops.size() == 1) {
            return _stops.front().value;
        }
        const auto after = std::upper_bound(
            _stops.begin(), _stops.end(), t,
            [](float p, const Entry& stop) { return p < stop.position; });
        if (after == _stops.end()) {
            return _stops.back().value;
        }
        if (after == _stops.begin()) {
            return after->value;
        }
        const Entry& a = *(after - 1);
        const Entry& b = *after;
        return gradientBlend(a.value, b.value, t - a.position, b.position - a.position);
    }

    int count() const { return static_cast<int>(_stops.size()); }
    float min() const { return _min; }
    float max() const { return _max; }
    const std::vector<Entry>& entries() const { return _stops; }

private:
    float _min;
    float _max;
    std::vector<Entry> _stops;
    T _default = T();
};

#endif
