#ifndef QUELLARIS_ASSETGEN_RNG_H
#define QUELLARIS_ASSETGEN_RNG_H

#include <cstdint>

namespace assetgen {

// The generator's own random numbers (SplitMix64): the same seed gives the same content on every
// machine, whatever the C library's rand() does.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : _state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform in [-1, 1).
    double signedUnit() { return uniform() * 2.0 - 1.0; }
    int below(int n) { return static_cast<int>(uniform() * n); }

private:
    std::uint64_t _state;
};

}  // namespace assetgen

#endif
