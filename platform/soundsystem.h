#ifndef QUELLARIS_PLATFORM_SOUNDSYSTEM_H
#define QUELLARIS_PLATFORM_SOUNDSYSTEM_H

#include <memory>
#include <vector>

#include "platform/soundchannels.h"

class SoundDevice;
class SoundSample;
class SoundVoice;
struct SoundPcm;

// The running sound library: the output device, a fixed set of voices addressed through
// channel handles, and every sample loaded since it opened (all released when it closes).
// Samples and channels it did not hand out are ignored, and so are stale channels: those
// calls do nothing and answer false or -1. Positions and vectors come in the game's axes.
// Not thread-safe on its own: one caller at a time.
class SoundSystem {
public:
    // Null when the device cannot open or cannot give that many voices.
    static std::unique_ptr<SoundSystem> open(int mixRate, int voices);
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    SoundSample* addSample(const SoundPcm& pcm, bool loops, bool positional);
    bool setMinMaxDistance(SoundSample* sample, float min, float max);

    // Plays the sample on a free voice: its channel, or -1 when every voice is taken.
    int play(SoundSample* sample);
    bool stop(int channel);
    void stopAll();
    // Volumes are 0 .. 255; values outside are clamped.
    bool setVolume(int channel, int volume);
    bool setPaused(int channel, bool paused);
    bool setFrequency(int channel, int hz);
    bool place(int channel, const float* position, const float* velocity);

    void setListener(const float* position, const float* velocity, const float forward[3], const float up[3]);
    void setMasterVolume(int volume);
    void setDistanceFactor(float unitsPerMetre);
    void setRolloffFactor(float rolloff);
    void setDopplerFactor(float factor);

    // A paused sound is not playing.
    bool isPlaying(int channel) const;
    bool isPaused(int channel) const;
    // The volume last set (255 from the start of the sound), 0 for a channel that addresses nothing.
    int volume(int channel) const;
    // The master volume last set; 255 from the start.
    int masterVolume() const;
    int voicesInUse() const;

private:
    SoundSystem(std::unique_ptr<SoundDevice> device, std::vector<std::unique_ptr<SoundVoice>> voices);
    bool owns(const SoundSample* sample) const;
    SoundVoice* voice(int channel) const;
    int freeVoice();

    // Declared so that voices let go of their samples before the samples and the device go.
    std::unique_ptr<SoundDevice> device_;
    std::vector<std::unique_ptr<SoundSample>> samples_;
    std::vector<std::unique_ptr<SoundVoice>> voices_;
    SoundChannelTable channels_;
    int nextVoice_;
    float rolloff_;
    int masterVolume_;
};

#endif
