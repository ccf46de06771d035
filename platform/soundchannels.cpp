#include "platform/soundchannels.h"

#include <algorithm>

SoundChannelTable::SoundChannelTable(int voices) : generations_(std::clamp(voices, 0, MAX_VOICES), 1u) {}

int SoundChannelTable::voices() const {
    return static_cast<int>(generations_.size());
}

int SoundChannelTable::voiceOf(int handle) const {
    if (handle < 0) {
        return -1;
    }
    const int voice = handle & (MAX_VOICES - 1);
    const std::uint32_t generation = static_cast<std::uint32_t>(handle) >> VOICE_BITS;
    return voice < voices() && generation % 2 == 0 && generations_[voice] == generation ? voice : -1;
}

int SoundChannelTable::claim(int voice) {
    std::uint32_t& g = generations_[voice];
    g = (g | 1u) + 1u;
    if (g > MAX_GENERATION) {
        g = 2u;
    }
    return static_cast<int>((generations_[voice] << VOICE_BITS) | static_cast<std::uint32_t>(voice));
}

void SoundChannelTable::retire(int voice) {
    std::uint32_t& g = generations_[voice];
    if (g % 2 == 0) {
        ++g;
    }
}

void SoundChannelTable::retireAll() {
    for (int v = 0; v < voices(); ++v) {
        retire(v);
    }
}
