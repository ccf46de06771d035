#include "platform/soundsetup.h"

#include <stdexcept>

#include "platform/fsound.h"

void setupFmodSound() {
    if (!FSOUND_Init(44100, 32, 0)) {
        throw std::runtime_error("cannot initialize fsound");
    }
    FSOUND_3D_SetDistanceFactor(1.0f);
    FSOUND_3D_SetRolloffFactor(0.05f);
    FSOUND_3D_SetDopplerFactor(10.0f);
}
