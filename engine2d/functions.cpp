#include "engine2d/functions.h"

#include <cmath>

namespace Stelkor {

std::vector<float> TableTrig::_sinValues;
std::vector<float> TableTrig::_cosValues;

void TableTrig::init() {
    const float step = 1.5707963e-5f;
    std::vector<float> sines(SIZE);
    std::vector<float> cosines(SIZE);
    for (int i = 0; i < SIZE; ++i) {
        const double angle = static_cast<double>(i) * step;
        sines[i] = static_cast<float>(std::sin(angle));
        cosines[i] = static_cast<float>(std::cos(angle));
    }
    _sinValues.swap(sines);
    _cosValues.swap(cosines);
}

}  // namespace Stelkor
