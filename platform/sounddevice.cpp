#include "platform/sounddevice.h"

std::unique_ptr<SoundDevice> SoundDevice::open(int mixRate) {
    if (mixRate <= 0) {
        return nullptr;
    }
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        return nullptr;
    }
    const ALCint attributes[] = {ALC_FREQUENCY, mixRate, 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) {
            alcDestroyContext(context);
        }
        alcCloseDevice(device);
        return nullptr;
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    return std::unique_ptr<SoundDevice>(new SoundDevice(device, context));
}

SoundDevice::SoundDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {}

SoundDevice::~SoundDevice() {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

void SoundDevice::setListener(const ALfloat* position, const ALfloat* velocity, const ALfloat* forward,
                              const ALfloat* up) {
    if (position) {
        alListenerfv(AL_POSITION, position);
    }
    if (velocity) {
        alListenerfv(AL_VELOCITY, velocity);
    }
    const ALfloat orientation[6] = {forward[0], forward[1], forward[2], up[0], up[1], up[2]};
    alListenerfv(AL_ORIENTATION, orientation);
}

void SoundDevice::setGain(float gain) {
    alListenerf(AL_GAIN, gain);
}

void SoundDevice::setSpeedOfSound(float unitsPerSecond) {
    if (unitsPerSecond > 0.0f) {
        alSpeedOfSound(unitsPerSecond);
    }
}

void SoundDevice::setDopplerFactor(float factor) {
    if (factor >= 0.0f) {
        alDopplerFactor(factor);
    }
}
