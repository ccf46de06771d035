#ifndef QUELLARIS_PLATFORM_WAVFILE_H
#define QUELLARIS_PLATFORM_WAVFILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// The format record of a RIFF/WAVE file's "fmt " chunk: the sixteen bytes every format has,
// plus the extra bytes that formats other than plain PCM carry after their 2-byte count.
struct WavFormat {
    static constexpr std::uint16_t PCM = 1;

    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::vector<std::uint8_t> extra;
};

// Reads a RIFF/WAVE file: finds its "fmt " and "data" chunks and copies the sample bytes in
// pieces. Every size in the file is checked against the file itself, so a truncated or bogus
// file fails to open instead of being read past its end.
class WavFile {
public:
    // The most sample bytes a "data" chunk may hold: over three minutes of 44.1 kHz 16-bit
    // stereo, three times the game's longest sound. A larger chunk refuses the file, so a
    // forged or endless one cannot take gigabytes.
    static constexpr std::uint32_t MAX_DATA_BYTES = std::uint32_t(32) << 20;

    WavFile();
    ~WavFile();
    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    // Opens the file and reads its format record; false (and closed) when it is not a readable
    // RIFF/WAVE file with a sound "fmt " chunk, or whose "data" chunk holds more than
    // MAX_DATA_BYTES. A file without a "data" chunk still opens.
    // With keepCutData, a "data" chunk that claims more bytes than the file holds is kept with
    // the bytes that are there instead of refusing the file.
    bool open(const std::string& path, bool keepCutData = false);
    // Why the last open failed, in a few words ("not a RIFF/WAVE file"); empty after one
    // that did not.
    const std::string& problem() const;
    void close();
    bool isOpen() const;

    const WavFormat& format() const;
    bool hasData() const;
    // Bytes of the whole "data" chunk.
    std::uint32_t dataSize() const;
    // Bytes of the "data" chunk not yet read.
    std::uint32_t dataLeft() const;

    // Back to the first sample byte; false when the file has no "data" chunk.
    bool rewind();
    // Copies up to size of the bytes not yet read into dest; actual tells how many.
    // A read past the chunk's end copies what is left (0 at the end) and succeeds.
    bool read(void* dest, std::size_t size, std::size_t& actual);
    // Reads the whole "data" chunk from its start.
    bool readAll(std::vector<std::uint8_t>& bytes);

private:
    struct Closer {
        void operator()(std::FILE* f) const;
    };

    // Keeps the first reason given for the open that fails; returns false.
    bool refuse(const std::string& why);
    bool readHeader(std::uint64_t fileSize, bool keepCutData);
    bool readFormat(std::uint32_t chunkSize);
    bool seek(std::uint64_t offset);
    bool readBytes(void* dest, std::size_t size);

    std::unique_ptr<std::FILE, Closer> file_;
    WavFormat format_;
    bool hasData_;
    std::uint64_t dataOffset_;
    std::uint32_t dataSize_;
    std::uint32_t dataLeft_;
    std::string problem_;
};

#endif
