#ifndef QUELLARIS_ENGINE2D_WAVREAD_H
#define QUELLARIS_ENGINE2D_WAVREAD_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/wavfile.h"

namespace Stelkor {

// Result codes of the WAV reader: success, and one code for every failure.
constexpr std::int32_t S_OK = 0;
constexpr std::int32_t E_FAIL = -2147467259;  // 0x80004005

// A file's format record as it is handed to a sound device: the sixteen bytes every format
// has, a 2-byte count of extra bytes (0 for plain PCM), then those bytes.
struct WaveFormatRecord {
    WavFormat format;

    std::uint16_t extraSize() const { return static_cast<std::uint16_t>(format.extra.size()); }
    std::size_t size() const { return 18 + format.extra.size(); }
};

// Opens a RIFF/WAVE file and reads its format record. A "data" chunk claiming more bytes than
// the file holds keeps the bytes that are there. On failure file and format are null.
std::int32_t WaveOpenFile(const std::string& path, std::unique_ptr<WavFile>& file,
                          std::unique_ptr<WaveFormatRecord>& format);
// Positions at the first sample byte.
std::int32_t WaveStartDataRead(WavFile& file);
// Copies up to size of the sample bytes not yet read; actual tells how many (0 at the end).
std::int32_t WaveReadFile(WavFile& file, unsigned int size, unsigned char* dest, unsigned int* actual);

// The reader as an object: closed, or open and positioned within the sample data.
class CWaveSoundRead {
public:
    CWaveSoundRead() = default;
    ~CWaveSoundRead() { Close(); }
    CWaveSoundRead(const CWaveSoundRead&) = delete;
    CWaveSoundRead& operator=(const CWaveSoundRead&) = delete;

    // Opens and positions at the first sample byte.
    std::int32_t Open(const std::string& path);
    std::int32_t Reset();
    std::int32_t Read(unsigned int size, unsigned char* dest, unsigned int* actual);
    std::int32_t Close();

    // Null while no file is open.
    const WaveFormatRecord* format() const { return _format.get(); }
    // Bytes of sample data in the open file.
    std::uint32_t dataSize() const { return _file ? _file->dataSize() : 0; }

private:
    std::unique_ptr<WaveFormatRecord> _format;
    std::unique_ptr<WavFile> _file;
};

}  // namespace Stelkor

#endif
