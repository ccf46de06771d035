#ifndef QUELLARIS_PLATFORM_SOUNDSAMPLE_H
#define QUELLARIS_PLATFORM_SOUNDSAMPLE_H

#include <AL/al.h>

#include <cstdint>
#include <memory>

struct SoundPcm;

// One loaded sound held by the sound device, with how it is to be played: looping or once,
// and placed in space (with its distances) or heard at the listener.
class SoundSample {
public:
    static constexpr float DEFAULT_MIN_DISTANCE = 1.0f;
    static constexpr float DEFAULT_MAX_DISTANCE = 1.0e9f;

    // Null when the device refuses the data. Needs the device's context to be current.
    static std::unique_ptr<SoundSample> create(const SoundPcm& pcm, bool loops, bool positional);
    ~SoundSample();
    SoundSample(const SoundSample&) = delete;
    SoundSample& operator=(const SoundSample&) = delete;

    ALuint buffer() const;
    std::uint32_t rate() const;
    bool loops() const;
    bool positional() const;
    float minDistance() const;
    float maxDistance() const;
    // False, keeping the old distances, unless 0 < min <= max.
    bool setMinMaxDistance(float min, float max);

private:
    SoundSample(ALuint buffer, std::uint32_t rate, bool loops, bool positional);

    const ALuint buffer_;
    const std::uint32_t rate_;
    const bool loops_;
    const bool positional_;
    float minDistance_;
    float maxDistance_;
};

#endif
