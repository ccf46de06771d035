#ifndef QUELLARIS_ENGINE2D_SOUNDPLAYER_H
#define QUELLARIS_ENGINE2D_SOUNDPLAYER_H

#include <AL/alc.h>

#include <cstdint>
#include <string>
#include <unordered_map>

namespace Stelkor {

// Plays short WAV sounds by name, once or looping, each with its own volume. It joins the
// sound context already current in the process, or opens the default device with a context
// of its own. Each of its calls makes that context current and then restores the one that
// was current before, so it neither loses its sounds to nor disturbs another device's
// context. Volumes are attenuations in hundredths of a decibel: 0 is full volume and
// -10000 silence.
class SoundPlayer {
public:
    static constexpr std::int32_t VOLUME_SILENT = -10000;
    static constexpr std::int32_t VOLUME_FULL = 0;

    // Throws std::runtime_error when no sound device can be had.
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Reads a PCM WAV file (8 or 16 bits, mono or stereo) and files it under name; a name
    // already taken keeps its first sound. Throws std::runtime_error naming the file.
    void load(const std::string& file, const std::string& name);
    // From the beginning, even when the sound is already playing. Unknown names do nothing.
    void play(const std::string& name, bool loop);
    // Values outside VOLUME_SILENT .. VOLUME_FULL are refused and change nothing.
    void volume(const std::string& name, std::int32_t volume);
    // VOLUME_SILENT for an unknown name.
    std::int32_t volume(const std::string& name) const;

private:
    struct Sound {
        unsigned int buffer;
        unsigned int source;
        std::int32_t volume;
    };

    ALCdevice* _device;    // only when the player opened its own
    ALCcontext* _context;  // only when the player made its own
    ALCcontext* _soundContext;  // where its sounds live: the one joined, or its own
    std::unordered_map<std::string, Sound> _sounds;
};

}  // namespace Stelkor

#endif
