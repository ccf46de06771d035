#ifndef QUELLARIS_PLATFORM_SOUNDDEVICE_H
#define QUELLARIS_PLATFORM_SOUNDDEVICE_H

#include <AL/al.h>
#include <AL/alc.h>

#include <memory>

// The default sound output with its one context, made current for the whole process, and the
// settings that hold for everything heard through it: the listener, the overall gain and the
// speed of sound and Doppler strength. Positions and vectors are in the device's axes.
class SoundDevice {
public:
    // Null when no output device or context can be had at that mixing rate.
    static std::unique_ptr<SoundDevice> open(int mixRate);
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Position or velocity may be null to keep the current value.
    void setListener(const ALfloat* position, const ALfloat* velocity, const ALfloat* forward, const ALfloat* up);
    void setGain(float gain);
    void setSpeedOfSound(float unitsPerSecond);
    void setDopplerFactor(float factor);

private:
    SoundDevice(ALCdevice* device, ALCcontext* context);

    ALCdevice* const device_;
    ALCcontext* const context_;
};

#endif
