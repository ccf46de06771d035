#ifndef QUELLARIS_PLATFORM_SOUNDCHANNELS_H
#define QUELLARIS_PLATFORM_SOUNDCHANNELS_H

#include <cstdint>
#include <vector>

// Channel handles for a fixed set of voices. A handle names one voice and the generation of
// that voice's current sound, so once the sound is stopped or the voice plays something else,
// the old handle names nothing. Handles are never negative: the negative numbers stay free
// for "any channel" and "all channels".
class SoundChannelTable {
public:
    static constexpr int MAX_VOICES = 1 << 12;

    // voices is clamped to 0 .. MAX_VOICES.
    explicit SoundChannelTable(int voices);

    int voices() const;
    // The voice a handle names, or -1 when the handle is stale, negative or made up.
    int voiceOf(int handle) const;
    // Starts a new generation on the voice and returns its handle.
    int claim(int voice);
    // Makes every handle of the voice stale.
    void retire(int voice);
    void retireAll();

private:
    static constexpr int VOICE_BITS = 12;
    static constexpr std::uint32_t MAX_GENERATION = (1u << (31 - VOICE_BITS)) - 1;

    // Even while the voice has a sound, odd once it is retired; never 0, so no handle is below
    // 2 << VOICE_BITS.
    std::vector<std::uint32_t> generations_;
};

#endif
