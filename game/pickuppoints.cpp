#include "game/pickuppoints.h"

namespace Vortel {

int scorePickupPoints(int r) {
    // r is scaled onto 0 .. 2 in floats; the halfway line then falls between 16383 and 16384.
    const float x = static_cast<float>(r) * (2.0f / 32767.0f);
    return x <= 1.0f ? 500 : 250;
}

}  // namespace Vortel
