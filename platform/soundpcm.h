#ifndef QUELLARIS_PLATFORM_SOUNDPCM_H
#define QUELLARIS_PLATFORM_SOUNDPCM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Sample frames ready for the sound device: 8-bit unsigned or 16-bit signed in the machine's
// byte order, one or two channels interleaved.
struct SoundPcm {
    int channels = 0;
    int bits = 0;
    std::uint32_t rate = 0;
    std::vector<std::uint8_t> bytes;

    std::size_t frames() const;
};

// Reads a PCM WAV file (8 or 16 bits, mono or stereo) into pcm, mixing stereo down to mono when
// mono is asked. False, with pcm untouched, for a file that is missing, damaged, in another
// format or without a single whole frame. Safe to call from any thread.
bool loadSoundPcm(const std::string& path, bool mono, SoundPcm& pcm);

// Why loadSoundPcm refuses what is there, in a few words ("not a RIFF/WAVE file", "a named
// pipe, not a regular file"), from its headers alone; empty where there is no such file (a
// folder is none) or its headers are sound.
std::string soundFileRefusal(const std::string& path);

#endif
