#include "tools/assetgen/wavwriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace assetgen {

namespace {

void put32(std::vector<unsigned char>& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

void put16(std::vector<unsigned char>& b, std::uint16_t v)
{
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

void putTag(std::vector<unsigned char>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

}  // namespace

void writeWav(const std::string& path, int sampleRate, int channels, const std::vector<std::int16_t>& samples)
{
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> bytes;
    bytes.reserve(44 + dataBytes);
    putTag(bytes, "RIFF");
    put32(bytes, 36 + dataBytes);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put32(bytes, 16);
    put16(bytes, 1);
    put16(bytes, static_cast<std::uint16_t>(channels));
    put32(bytes, static_cast<std::uint32_t>(sampleRate));
    put32(bytes, static_cast<std::uint32_t>(sampleRate * channels * 2));
    put16(bytes, static_cast<std::uint16_t>(channels * 2));
    put16(bytes, 16);
    putTag(bytes, "data");
    put32(bytes, dataBytes);
    for (std::int16_t s : samples)
        put16(bytes, static_cast<std::uint16_t>(s));

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write '" + path + "'");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written)
        throw std::runtime_error("cannot write '" + path + "'");
}

std::vector<std::int16_t> toPcm16(const std::vector<float>& samples, double peak)
{
    float loudest = 0.0f;
    for (float s : samples)
        loudest = std::max(loudest, std::abs(s));
    const double gain = loudest > 0.0f ? peak / loudest : 0.0;
    std::vector<std::int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const long v = std::lround(samples[i] * gain * 32767.0);
        pcm[i] = static_cast<std::int16_t>(std::clamp(v, -32767L, 32767L));
    }
    return pcm;
}

}  // namespace assetgen
