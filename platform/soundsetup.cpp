#include "platform/soundsetup.h"

#include <cstdlib>
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

std::string whyNoSoundDevice() {
    // The library takes its outputs from this variable where it is set (as the tests set it).
    const char* const outputs = std::getenv("ALSOFT_DRIVERS");
    if (outputs != nullptr && *outputs != '\0') {
        return std::string("none of the sound outputs that ALSOFT_DRIVERS=") + outputs + " names can be used";
    }
    return "this machine has no sound output that the sound library can use";
}
