#ifndef QUELLARIS_ASSETGEN_WAVWRITER_H
#define QUELLARIS_ASSETGEN_WAVWRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Writes canonical 16-bit PCM WAV files (format tag 1, 44-byte header). Samples are interleaved
// when there are two channels.
void writeWav(const std::string& path, int sampleRate, int channels, const std::vector<std::int16_t>& samples);

// Scales float samples so the loudest reaches peak (below 1), then rounds them to 16 bits.
std::vector<std::int16_t> toPcm16(const std::vector<float>& samples, double peak);

}  // namespace assetgen

#endif
