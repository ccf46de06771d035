#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine2d/wavread.h"
#include "tests/platform/wavfile_maker.h"

using Stelkor::CWaveSoundRead;
using Stelkor::E_FAIL;
using Stelkor::S_OK;
using wavmaker::Bytes;

namespace {

class WavReadTest : public ::testing::Test {
protected:
    std::string write(const Bytes& bytes) {
        const std::string path = dir.file("f" + std::to_string(count++) + ".wav");
        wavmaker::writeFile(path, bytes);
        return path;
    }

    wavmaker::TempDir dir;
    int count = 0;
};

}  // namespace

TEST_F(WavReadTest, FormatRecordsAreEighteenBytesPlusTheirExtra) {
    CWaveSoundRead pcm;
    ASSERT_EQ(pcm.Open(write(wavmaker::pcmWav(1, 8000, 8, {1, 2, 3}))), S_OK);
    ASSERT_NE(pcm.format(), nullptr);
    EXPECT_EQ(pcm.format()->size(), 18u);
    EXPECT_EQ(pcm.format()->extraSize(), 0);
    EXPECT_EQ(pcm.format()->format.samplesPerSec, 8000u);

    Bytes adpcm = wavmaker::formatBody(2, 1, 8000, 4);
    wavmaker::put16(adpcm, 2);
    adpcm.push_back(0xAB);
    adpcm.push_back(0xCD);
    CWaveSoundRead other;
    ASSERT_EQ(other.Open(write(wavmaker::riff({{"fmt ", adpcm}, {"data", {1, 2}}}))), S_OK);
    EXPECT_EQ(other.format()->size(), 20u);
    EXPECT_EQ(other.format()->format.extra, (std::vector<std::uint8_t>{0xAB, 0xCD}));
}

TEST_F(WavReadTest, RefusesOtherFormsAndShortFormatChunks) {
    CWaveSoundRead wav;
    EXPECT_EQ(wav.Open(write(wavmaker::riff({{"fmt ", wavmaker::formatBody(1, 1, 8000, 8)}, {"data", {1}}},
                                            "AVI "))),
              E_FAIL);
    EXPECT_EQ(wav.format(), nullptr);
    EXPECT_EQ(wav.Open(write(wavmaker::riff({{"fmt ", Bytes(14, 0)}, {"data", {1, 2}}}))), E_FAIL);
    EXPECT_EQ(wav.Open(dir.file("missing.wav")), E_FAIL);
    unsigned char b[4];
    unsigned int actual = 9;
    EXPECT_EQ(wav.Read(4, b, &actual), E_FAIL);
    EXPECT_EQ(actual, 0u);
}

TEST_F(WavReadTest, ReadsNoMoreThanTheDataChunkOrTheFileHolds) {
    CWaveSoundRead wav;
    ASSERT_EQ(wav.Open(write(wavmaker::pcmWav(1, 8000, 8, {10, 20, 30, 40}))), S_OK);
    unsigned char buffer[16] = {};
    unsigned int actual = 0;
    EXPECT_EQ(wav.Read(3, buffer, &actual), S_OK);
    EXPECT_EQ(actual, 3u);
    EXPECT_EQ(wav.Read(16, buffer, &actual), S_OK);
    EXPECT_EQ(actual, 1u);
    EXPECT_EQ(buffer[0], 40);
    EXPECT_EQ(wav.Read(16, buffer, &actual), S_OK);
    EXPECT_EQ(actual, 0u);
    EXPECT_EQ(wav.Reset(), S_OK);
    EXPECT_EQ(wav.Read(16, buffer, &actual), S_OK);
    EXPECT_EQ(actual, 4u);

    // A data chunk claiming 1000 bytes in a file that holds 6 of them.
    Bytes cut = wavmaker::pcmWav(1, 8000, 8, {1, 2, 3, 4, 5, 6});
    const std::size_t sizeAt = cut.size() - 6 - 4;
    cut[sizeAt] = 0xE8;
    cut[sizeAt + 1] = 0x03;
    CWaveSoundRead claimed;
    ASSERT_EQ(claimed.Open(write(cut)), S_OK);
    EXPECT_EQ(claimed.dataSize(), 6u);
    EXPECT_EQ(claimed.Read(16, buffer, &actual), S_OK);
    EXPECT_EQ(actual, 6u);
    EXPECT_EQ(buffer[5], 6);
}
