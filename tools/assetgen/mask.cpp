#include "tools/assetgen/mask.h"

#include <cmath>

namespace assetgen {

Mask Mask::blurred(int radius, int passes) const
{
    Mask a = *this;
    Mask b(_width, _height);
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < _height; ++y)
            for (int x = 0; x < _width; ++x) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += a.at(x + k, y);
                b.set(x, y, sum * norm);
            }
        for (int y = 0; y < _height; ++y)
            for (int x = 0; x < _width; ++x) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += b.at(x, y + k);
                a.set(x, y, sum * norm);
            }
    }
    return a;
}

Mask Mask::grown(float radius) const
{
    Mask out(_width, _height);
    const int r = static_cast<int>(std::ceil(radius)) + 1;
    for (int y = 0; y < _height; ++y)
        for (int x = 0; x < _width; ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const float v = at(x + dx, y + dy);
                    if (v <= best)
                        continue;
                    const float dist = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    const float falloff = std::clamp(radius + 0.5f - dist, 0.0f, 1.0f);
                    best = std::max(best, v * falloff);
                }
            out.set(x, y, best);
        }
    return out;
}

}  // namespace assetgen
