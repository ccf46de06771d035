#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "engine2d/soundplayer.h"
#include "platform/sounddevice.h"
#include "tests/platform/wavfile_maker.h"

using Stelkor::SoundPlayer;

namespace {

// Runs on OpenAL's silent output; skips when no device at all can be opened.
class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            player.reset(new SoundPlayer);
        } catch (const std::runtime_error& e) {
            GTEST_SKIP() << e.what();
        }
    }

    std::string expectLoadError(const std::string& path) {
        try {
            player->load(path, "broken");
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "no error";
    }

    wavmaker::TempDir dir;
    std::unique_ptr<SoundPlayer> player;
};

}  // namespace

TEST_F(SoundPlayerTest, PlaysLoadedSoundsAndKeepsTheFirstOfAName) {
    const std::string tone = dir.file("tone.wav");
    const std::string other = dir.file("other.wav");
    wavmaker::writeFile(tone, wavmaker::toneWav(22050, 0.1, 440, 0.5));
    wavmaker::writeFile(other, wavmaker::pcmWav(2, 11025, 8, {128, 128, 130, 126}));
    player->load(tone, "beep");
    player->load(other, "beep");
    player->load(other, "stereo");
    player->play("beep", false);
    player->play("beep", true);
    player->play("nothing", false);

    EXPECT_EQ(player->volume("beep"), 0);
    player->volume("beep", -1500);
    EXPECT_EQ(player->volume("beep"), -1500);
    player->volume("beep", 200);
    EXPECT_EQ(player->volume("beep"), -1500);
    player->volume("nothing", -100);
    EXPECT_EQ(player->volume("nothing"), -10000);
}

TEST_F(SoundPlayerTest, LoadFailuresNameTheFile) {
    const std::string missing = dir.file("missing.wav");
    EXPECT_EQ(expectLoadError(missing), "cannot open wav file '" + missing + "'");

    const std::string noData = dir.file("nodata.wav");
    wavmaker::writeFile(noData, wavmaker::riff({{"fmt ", wavmaker::formatBody(1, 1, 8000, 8)}}));
    EXPECT_EQ(expectLoadError(noData), "cannot start wav read of file '" + noData + "'");

    const std::string compressed = dir.file("adpcm.wav");
    wavmaker::Bytes format = wavmaker::formatBody(2, 1, 8000, 4);
    wavmaker::put16(format, 0);
    wavmaker::writeFile(compressed, wavmaker::riff({{"fmt ", format}, {"data", {1, 2}}}));
    EXPECT_EQ(expectLoadError(compressed), "cannot create sound buffer for '" + compressed + "'");
    player->play("broken", false);
    EXPECT_EQ(player->volume("broken"), -10000);
}

TEST_F(SoundPlayerTest, CutSampleFramesAreDroppedAndRefusedUploadsAreNotFiled) {
    const std::string cut = dir.file("cut.wav");
    wavmaker::writeFile(cut, wavmaker::pcmWav(1, 22050, 16, {0, 1, 2, 3, 4}));
    player->load(cut, "cut");
    alGetError();
    player->play("cut", false);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);

    const std::string noRate = dir.file("norate.wav");
    wavmaker::writeFile(noRate, wavmaker::pcmWav(1, 0, 8, {128, 128}));
    EXPECT_EQ(expectLoadError(noRate), "cannot create sound buffer for '" + noRate + "'");
    EXPECT_EQ(player->volume("broken"), -10000);
}

TEST_F(SoundPlayerTest, KeepsPlayingInItsOwnContextAfterAnotherDeviceOpens) {
    const std::string tone = dir.file("tone.wav");
    wavmaker::writeFile(tone, wavmaker::toneWav(22050, 0.1, 440, 0.5));
    player->load(tone, "beep");

    const std::unique_ptr<SoundDevice> other = SoundDevice::open(22050);
    ASSERT_NE(other, nullptr);
    ALCcontext* const game = alcGetCurrentContext();
    alGetError();
    player->play("beep", true);
    player->volume("beep", -500);
    EXPECT_EQ(alGetError(), AL_NO_ERROR) << "the player's calls reached the other context";
    player->load(tone, "again");
    EXPECT_EQ(alcGetCurrentContext(), game);

    player.reset();
    EXPECT_EQ(alcGetCurrentContext(), game);
}
