#ifndef QUELLARIS_ENGINE2D_FUNCTIONS_H
#define QUELLARIS_ENGINE2D_FUNCTIONS_H

#include <vector>

namespace Stelkor {

// The library's own round values: a half turn and a whole turn (rotations are turned into
// degrees with the same 6.28).
constexpr float PI = 3.14f;
constexpr float PI_2 = 6.28f;

// Sine and cosine over a quarter turn in 100000 steps, filled by init().
class TableTrig {
public:
    static constexpr int SIZE = 100000;

    // Replaces any tables made before.
    static void init();

    static std::vector<float> _sinValues;
    static std::vector<float> _cosValues;
};

}  // namespace Stelkor

#endif
