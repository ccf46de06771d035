#ifndef QUELLARIS_TESTS_PLATFORM_WAVFILE_MAKER_H
#define QUELLARIS_TESTS_PLATFORM_WAVFILE_MAKER_H

// Builds RIFF/WAVE files in memory for the sound tests, so no sample files live in the tree.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/math.h"

namespace wavmaker {

using Bytes = std::vector<std::uint8_t>;

struct Chunk {
    std::string id;
    Bytes body;
};

inline void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// Byte by byte: g++ 12's optimiser warns falsely about a range insert into an empty vector.
inline void putId(Bytes& b, const std::string& id) {
    for (const char c : id) {
        b.push_back(static_cast<std::uint8_t>(c));
    }
}

// The sixteen fields every format record has.
inline Bytes formatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    Bytes b;
    put16(b, tag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * blockAlign);
    put16(b, blockAlign);
    put16(b, bits);
    return b;
}

// A RIFF file of the given chunks; odd bodies get their pad byte.
inline Bytes riff(const std::vector<Chunk>& chunks, const std::string& form = "WAVE") {
    Bytes b;
    putId(b, "RIFF");
    put32(b, 0);
    putId(b, form);
    for (const Chunk& c : chunks) {
        putId(b, c.id);
        put32(b, static_cast<std::uint32_t>(c.body.size()));
        b.insert(b.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2) {
            b.push_back(0);
        }
    }
    const std::uint32_t riffSize = static_cast<std::uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) {
        b[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    }
    return b;
}

inline Bytes pcmWav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const Bytes& data) {
    return riff({{"fmt ", formatBody(1, channels, rate, bits)}, {"data", data}});
}

inline Bytes samples16(const std::vector<int>& values) {
    Bytes b;
    for (int v : values) {
        put16(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
    }
    return b;
}

// A 16-bit mono sine tone.
inline Bytes toneWav(std::uint32_t rate, double seconds, double hz, double amplitude) {
    std::vector<int> values(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<int>(amplitude * 32767.0 * std::sin(2.0 * TRUE_PI<double> * hz * double(i) / rate));
    }
    return pcmWav(1, rate, 16, samples16(values));
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quellaris-sound-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace wavmaker

#endif
