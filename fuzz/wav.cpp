// Sound samples under sounds/: any file in a WAV's place must open or be refused, in both of
// the reader's open modes, and what opens must read back exactly the sample bytes it claims.
// Also the sample loader that turns a file into frames for the sound device.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine2d/wavread.h"
#include "fuzz/support/scratch.h"
#include "platform/soundpcm.h"
#include "platform/wavfile.h"

using fuzzsupport::require;

namespace {

// Odd on purpose, so reads end inside frames.
constexpr std::size_t kPiece = 1001;

void readWavFile(const std::string& path, bool keepCutData, std::size_t fileSize) {
    WavFile wav;
    if (!wav.open(path, keepCutData)) {
        require(!wav.isOpen(), "a refused file stayed open");
        return;
    }
    require(wav.dataSize() <= fileSize, "the data chunk claims more than the file holds");
    std::vector<std::uint8_t> piece(kPiece);
    std::size_t total = 0;
    std::size_t actual = 0;
    while (wav.read(piece.data(), piece.size(), actual) && actual > 0) {
        total += actual;
    }
    require(!wav.hasData() || total == wav.dataSize(), "reading in pieces gave another count of bytes");
    std::vector<std::uint8_t> all;
    if (wav.readAll(all)) {
        require(all.size() == wav.dataSize(), "reading whole gave another count of bytes");
    }
}

void readThroughPlayer(const std::string& path) {
    Stelkor::CWaveSoundRead reader;
    if (reader.Open(path) != Stelkor::S_OK) {
        return;
    }
    require(reader.format() != nullptr, "an open reader has no format");
    std::vector<unsigned char> piece(kPiece);
    for (int pass = 0; pass < 2; ++pass) {
        std::size_t total = 0;
        unsigned int actual = 0;
        while (reader.Read(static_cast<unsigned int>(piece.size()), piece.data(), &actual) == Stelkor::S_OK &&
               actual > 0) {
            total += actual;
        }
        require(total == reader.dataSize(), "the reader gave another count of bytes than its data chunk");
        reader.Reset();
    }
}

void loadSample(const std::string& path, bool mono) {
    SoundPcm pcm;
    if (!loadSoundPcm(path, mono, pcm)) {
        require(pcm.bytes.empty(), "a refused sample left frames behind");
        return;
    }
    require(pcm.frames() > 0, "a loaded sample has no frame");
    require(!mono || pcm.channels == 1, "a sample asked in mono has two channels");
    const std::size_t frameBytes = static_cast<std::size_t>(pcm.channels) * static_cast<std::size_t>(pcm.bits / 8);
    require(pcm.bytes.size() == pcm.frames() * frameBytes, "a loaded sample ends inside a frame");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::writeScratchFile("sound.wav", data, size);
    readWavFile(path, false, size);
    readWavFile(path, true, size);
    readThroughPlayer(path);
    loadSample(path, false);
    loadSample(path, true);
    return 0;
}
