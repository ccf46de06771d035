#include <gtest/gtest.h>

#include <cstring>

#include "platform/soundpcm.h"
#include "tests/platform/wavfile_maker.h"

using wavmaker::Bytes;

namespace {

class SoundPcmTest : public ::testing::Test {
protected:
    std::string write(const Bytes& bytes) {
        const std::string path = dir.file("pcm" + std::to_string(count++) + ".wav");
        wavmaker::writeFile(path, bytes);
        return path;
    }

    std::vector<std::int16_t> values16(const SoundPcm& pcm) {
        std::vector<std::int16_t> v(pcm.bytes.size() / 2);
        std::memcpy(v.data(), pcm.bytes.data(), v.size() * 2);
        return v;
    }

    wavmaker::TempDir dir;
    int count = 0;
};

}  // namespace

TEST_F(SoundPcmTest, KeepsSixteenBitFramesAsTheyAre) {
    SoundPcm pcm;
    ASSERT_TRUE(loadSoundPcm(write(wavmaker::pcmWav(2, 22050, 16, wavmaker::samples16({-32768, 32767, 5, -5}))),
                             false, pcm));
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_EQ(pcm.bits, 16);
    EXPECT_EQ(pcm.rate, 22050u);
    EXPECT_EQ(pcm.frames(), 2u);
    EXPECT_EQ(values16(pcm), (std::vector<std::int16_t>{-32768, 32767, 5, -5}));
}

TEST_F(SoundPcmTest, MixesStereoDownToMonoWhenAsked) {
    SoundPcm pcm;
    ASSERT_TRUE(loadSoundPcm(
        write(wavmaker::pcmWav(2, 44100, 16, wavmaker::samples16({-32768, -32768, 32767, 32767, 1000, -3000}))), true,
        pcm));
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(values16(pcm), (std::vector<std::int16_t>{-32768, 32767, -1000}));

    ASSERT_TRUE(loadSoundPcm(write(wavmaker::pcmWav(2, 8000, 8, Bytes{0, 255, 255, 255, 128, 130})), true, pcm));
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.bits, 8);
    EXPECT_EQ(pcm.bytes, (Bytes{127, 255, 129}));

    // Mono stays as it is.
    ASSERT_TRUE(loadSoundPcm(write(wavmaker::pcmWav(1, 8000, 8, Bytes{1, 2, 3})), true, pcm));
    EXPECT_EQ(pcm.bytes, (Bytes{1, 2, 3}));
}

TEST_F(SoundPcmTest, DropsATrailingPartFrame) {
    SoundPcm pcm;
    ASSERT_TRUE(loadSoundPcm(write(wavmaker::pcmWav(2, 8000, 16, Bytes{1, 0, 2, 0, 3, 0, 4})), false, pcm));
    EXPECT_EQ(pcm.frames(), 1u);
    EXPECT_EQ(pcm.bytes.size(), 4u);
}

TEST_F(SoundPcmTest, RefusesWhatTheDeviceCannotPlay) {
    const Bytes data(12, 0);
    SoundPcm pcm;
    pcm.rate = 7;
    EXPECT_FALSE(loadSoundPcm(write(wavmaker::pcmWav(1, 8000, 24, data)), false, pcm));
    EXPECT_FALSE(loadSoundPcm(write(wavmaker::pcmWav(3, 8000, 16, data)), false, pcm));
    EXPECT_FALSE(loadSoundPcm(write(wavmaker::pcmWav(1, 0, 16, data)), false, pcm));
    EXPECT_FALSE(loadSoundPcm(write(wavmaker::pcmWav(2, 8000, 16, Bytes(3, 0))), false, pcm));  // no whole frame
    EXPECT_FALSE(loadSoundPcm(write(wavmaker::riff({{"fmt ", wavmaker::formatBody(3, 1, 8000, 32)},
                                                    {"data", data}})),
                              false, pcm));  // floating point
    Bytes badAlign = wavmaker::formatBody(1, 2, 8000, 16);
    badAlign[12] = 3;
    EXPECT_FALSE(loadSoundPcm(write(wavmaker::riff({{"fmt ", badAlign}, {"data", data}})), false, pcm));
    EXPECT_FALSE(loadSoundPcm(dir.file("missing.wav"), false, pcm));
    EXPECT_EQ(pcm.rate, 7u);
    EXPECT_TRUE(pcm.bytes.empty());
}
