#ifndef QUELLARIS_PLATFORM_SOUNDVOICE_H
#define QUELLARIS_PLATFORM_SOUNDVOICE_H

#include <AL/al.h>

#include <memory>

class SoundSample;

// One source of the sound device and the sample it was last given. A positional sample is
// heard at the listener until it is placed; any other plays at the listener throughout.
// Positions and velocities are in the device's axes.
class SoundVoice {
public:
    // Null when the device has no source left. Needs the device's context to be current.
    static std::unique_ptr<SoundVoice> create();
    ~SoundVoice();
    SoundVoice(const SoundVoice&) = delete;
    SoundVoice& operator=(const SoundVoice&) = delete;

    // Playing or paused: the voice is taken.
    bool busy() const;
    bool playing() const;
    bool paused() const;
    bool positional() const;

    // Starts the sample from its beginning at full volume (255) and its own rate.
    void start(const SoundSample& sample, float rolloff);
    void stop();
    // Only a playing voice pauses and only a paused one resumes, so a finished one-shot is not
    // started again.
    void setPaused(bool paused);
    // 0 .. 255; values outside are clamped. The volume is kept as given, so reading it back
    // does not go through the device's floating-point gain.
    void setVolume(int volume);
    int volume() const;
    // Pitch relative to the sample's own rate; 0 Hz or less is refused.
    bool setFrequency(int hz);
    // Either may be null to keep the current value. Only positional voices take it.
    bool place(const ALfloat* position, const ALfloat* velocity);
    void setRolloff(float rolloff);

private:
    explicit SoundVoice(ALuint source);
    ALint state() const;

    const ALuint source_;
    const SoundSample* sample_;
    int volume_;
};

// The device gain of a volume byte: 0 .. 255 (clamped) to 0 .. 1.
float soundGain(int volume);

#endif
