#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/fsound.h"
#include "platform/soundsetup.h"
#include "tests/platform/wavfile_maker.h"

// The calls as the game makes them, on the silent output the tests choose (ALSOFT_DRIVERS=null).

namespace {

constexpr unsigned int PLAIN = FSOUND_16BITS | FSOUND_STEREO | FSOUND_SIGNED;
constexpr unsigned int LOOPING = PLAIN | FSOUND_LOOP_NORMAL;
constexpr unsigned int POSITIONAL = FSOUND_HW3D | FSOUND_FORCEMONO | FSOUND_NORMAL;

class FSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        wavmaker::writeFile(tone, wavmaker::toneWav(22050, 0.5, 440.0, 0.5));
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    }
    void TearDown() override { FSOUND_Close(); }

    wavmaker::TempDir dir;
    const std::string tone = dir.file("tone.wav");
};

// Every call that takes a channel, on that channel: true when any of them did something.
bool anyCallWorks(int channel) {
    const float where[3] = {1.0f, 0.0f, 0.0f};
    bool worked = false;
    worked |= FSOUND_SetVolume(channel, 200);
    worked |= FSOUND_SetPaused(channel, true);
    worked |= FSOUND_SetPaused(channel, false);
    worked |= FSOUND_SetFrequency(channel, 22050);
    worked |= FSOUND_3D_SetAttributes(channel, where, nullptr);
    worked |= FSOUND_StopSound(channel);
    return worked;
}

}  // namespace

TEST_F(FSoundTest, LoadsPcmWaveFilesAndNothingElse) {
    EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), PLAIN, 0, 0), nullptr);
    EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), POSITIONAL, 0, 0), nullptr);

    const wavmaker::Bytes good = wavmaker::toneWav(22050, 0.1, 440.0, 0.5);
    wavmaker::writeFile(dir.file("truncated.wav"), wavmaker::Bytes(good.begin(), good.end() - 100));
    wavmaker::writeFile(dir.file("text.wav"), wavmaker::Bytes{'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'u', 'n', 'd'});
    std::filesystem::create_directory(dir.file("sounds"));
    for (const char* name : {"missing.wav", "truncated.wav", "text.wav", "sounds/", "sounds", ""}) {
        EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, dir.file(name).c_str(), PLAIN, 0, 0), nullptr) << name;
    }
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, "sounds/", PLAIN, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, nullptr, PLAIN, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Sample_Load(0, tone.c_str(), PLAIN, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), PLAIN, 44, 0), nullptr);
}

TEST_F(FSoundTest, ANullSamplePlaysNothingAndItsChannelTakesNoCalls) {
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_FALSE(anyCallWorks(FSOUND_FREE));
    EXPECT_FALSE(FSOUND_Sample_SetMinMaxDistance(nullptr, 8.0f, 1.0e9f));
}

TEST_F(FSoundTest, StoppingAllMakesEveryEarlierChannelStale) {
    FSOUND_SAMPLE* music = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), LOOPING, 0, 0);
    FSOUND_SAMPLE* bang = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), POSITIONAL, 0, 0);
    ASSERT_TRUE(music && bang);
    EXPECT_TRUE(FSOUND_Sample_SetMinMaxDistance(bang, 8.0f, 1.0e9f));
    const int musicChannel = FSOUND_PlaySound(FSOUND_FREE, music);
    const int bangChannel = FSOUND_PlaySound(FSOUND_FREE, bang);
    ASSERT_GE(musicChannel, 0);
    ASSERT_GE(bangChannel, 0);
    EXPECT_TRUE(FSOUND_SetVolume(musicChannel, 128));
    const float at[3] = {1.0f, 2.0f, 7.0f};
    EXPECT_TRUE(FSOUND_3D_SetAttributes(bangChannel, at, nullptr));

    EXPECT_TRUE(FSOUND_StopSound(FSOUND_ALL));
    EXPECT_FALSE(anyCallWorks(musicChannel));
    EXPECT_FALSE(anyCallWorks(bangChannel));
    // Only "any free channel" plays.
    EXPECT_EQ(FSOUND_PlaySound(0, music), -1);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_ALL, music), -1);
}

TEST_F(FSoundTest, ReadsBackPlayingPausedAndVolumesAsTheCallsLeftThem) {
    FSOUND_SAMPLE* music = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), LOOPING, 0, 0);
    const int channel = FSOUND_PlaySound(FSOUND_FREE, music);
    ASSERT_GE(channel, 0);
    EXPECT_TRUE(FSOUND_IsPlaying(channel));
    EXPECT_FALSE(FSOUND_GetPaused(channel));
    EXPECT_EQ(FSOUND_GetVolume(channel), 255);
    const struct {
        int set, read;
    } volumes[] = {{77, 77}, {0, 0}, {300, 255}, {-4, 0}, {255, 255}};
    for (const auto& v : volumes) {
        EXPECT_TRUE(FSOUND_SetVolume(channel, v.set));
        EXPECT_EQ(FSOUND_GetVolume(channel), v.read) << v.set;
    }
    EXPECT_EQ(FSOUND_GetSFXMasterVolume(), 255);
    for (const auto& v : volumes) {
        FSOUND_SetSFXMasterVolume(v.set);
        EXPECT_EQ(FSOUND_GetSFXMasterVolume(), v.read) << v.set;
    }

    FSOUND_SetPaused(channel, true);
    EXPECT_FALSE(FSOUND_IsPlaying(channel));
    EXPECT_TRUE(FSOUND_GetPaused(channel));
    FSOUND_SetPaused(channel, false);
    EXPECT_TRUE(FSOUND_IsPlaying(channel));
    EXPECT_FALSE(FSOUND_GetPaused(channel));
    FSOUND_SetPaused(channel, true);
    FSOUND_StopSound(channel);
    for (const int nothing : {channel, FSOUND_FREE, FSOUND_ALL, 1 << 13}) {
        EXPECT_FALSE(FSOUND_IsPlaying(nothing)) << nothing;
        EXPECT_FALSE(FSOUND_GetPaused(nothing)) << nothing;
        EXPECT_EQ(FSOUND_GetVolume(nothing), 0) << nothing;
    }
}

TEST_F(FSoundTest, ClosingReleasesTheSamplesAndOpeningAgainStartsAfresh) {
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* before = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), PLAIN, 0, 0);
    ASSERT_NE(before, nullptr);
    const int channel = FSOUND_PlaySound(FSOUND_FREE, before);
    FSOUND_Close();

    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), PLAIN, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, before), -1);
    EXPECT_FALSE(anyCallWorks(channel));
    EXPECT_FALSE(FSOUND_Init(44100, 0, 0));
    EXPECT_FALSE(FSOUND_Init(0, 32, 0));

    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, before), -1);
    EXPECT_FALSE(anyCallWorks(channel));
}

TEST_F(FSoundTest, SetupOpensTheLibraryWithTheGamesScale) {
    FSOUND_Close();
    setupFmodSound();
    FSOUND_SAMPLE* bang = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), POSITIONAL, 0, 0);
    const int channel = FSOUND_PlaySound(FSOUND_FREE, bang);
    EXPECT_GE(channel, 0);
    // Opening twice is refused and reported.
    EXPECT_THROW(setupFmodSound(), std::runtime_error);
}

// Samples load on one thread while the other plays, as during the loading screen. Also the
// program for the ThreadSanitizer build.
TEST_F(FSoundTest, LoadsOnOneThreadWhilePlayingOnAnother) {
    FSOUND_SAMPLE* hum = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), LOOPING, 0, 0);
    ASSERT_NE(hum, nullptr);
    std::vector<FSOUND_SAMPLE*> loaded(40, nullptr);
    std::atomic<bool> done(false);
    std::thread loader([&] {
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            loaded[i] = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), i % 2 ? POSITIONAL : PLAIN, 0, 0);
            FSOUND_Sample_SetMinMaxDistance(loaded[i], 2.0f, 1.0e9f);
        }
        done = true;
    });
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    for (int frame = 0; frame < 200 || !done; ++frame) {
        const int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
        FSOUND_SetVolume(channel, frame % 256);
        FSOUND_SetFrequency(channel, 44100 + frame * 100);
        FSOUND_3D_Listener_SetAttributes(origin, origin, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f);
        FSOUND_Update();
        if (frame % 20 == 0) {
            FSOUND_StopSound(FSOUND_ALL);
        }
    }
    loader.join();
    for (FSOUND_SAMPLE* sample : loaded) {
        EXPECT_NE(sample, nullptr);
    }
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, loaded.back()), 0);
}

TEST(FSoundClosed, EveryCallDoesNothingBeforeTheLibraryOpens) {
    wavmaker::TempDir dir;
    wavmaker::writeFile(dir.file("tone.wav"), wavmaker::toneWav(22050, 0.1, 440.0, 0.5));
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, dir.file("tone.wav").c_str(), 0x150, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_FALSE(FSOUND_StopSound(FSOUND_ALL));
    EXPECT_FALSE(anyCallWorks(1 << 13));
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    FSOUND_3D_Listener_SetAttributes(origin, nullptr, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    FSOUND_SetSFXMasterVolume(100);
    FSOUND_3D_SetDistanceFactor(1.0f);
    FSOUND_3D_SetRolloffFactor(0.05f);
    FSOUND_3D_SetDopplerFactor(10.0f);
    FSOUND_Update();
    EXPECT_FALSE(FSOUND_IsPlaying(0));
    EXPECT_FALSE(FSOUND_GetPaused(0));
    EXPECT_EQ(FSOUND_GetVolume(0), 0);
    EXPECT_EQ(FSOUND_GetSFXMasterVolume(), -1);
    FSOUND_Close();
}
