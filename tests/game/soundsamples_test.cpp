#include <gtest/gtest.h>

#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "game/soundsamples.h"
#include "platform/soundsample.h"
#include "tests/game/game_fixture.h"
#include "tests/platform/wavfile_maker.h"

// The sample lists and their files are written into the working folder, where the game looks
// for "sounds/".

using Vortel::INTRO_SAMPLE;
using Vortel::SOUND_LIST_PATH;

namespace {

namespace fs = std::filesystem;

// The game's 52 logical sounds in load order, and how the exceptional ones must load.
const std::vector<std::string>& tableNames() {
    static const std::vector<std::string> names = {
        "lazer", "menu_up_down", "menu_left_right", "menu_enter", "swoosh_left", "swoosh_right", "swoosh_up",
        "swoosh_down", "explosion", "bullet_hit", "next_wave_signal", "bump", "block_explode", "pickup", "good",
        "verygood", "excellent", "superior", "getready", "gameover", "chaserentered", "chaserdestroyed",
        "chasercutoff", "2combo", "3combo", "4combo", "5combo", "6combo", "7combo", "8combo", "9combo", "10combo",
        "score", "ammo", "emp", "shields", "warning_low_shields", "weapon_empty", "trick", "combo", "emp_blast",
        "melt_all", "hum_player", "hum_chaser", "signal_left", "signal_right", "signal_up", "signal_down",
        "trick_failed", "theme_main", "theme_play", "theme_game_over"};
    return names;
}
const std::map<std::string, float> placedAt = {{"explosion", 8.0f}, {"block_explode", 2.0f}, {"hum_chaser", 3.0f}};
const std::vector<std::string> loops = {"hum_player", "theme_main", "theme_play", "theme_game_over"};

bool isLoop(const std::string& name) {
    return std::count(loops.begin(), loops.end(), name) == 1;
}

constexpr double SHORT_SECONDS = 0.05;

// A fresh "sounds/" in place of whatever was there (the game folder links the shipped one)
// with the file tone.wav, named by every name but those given, whose values are written as
// given; an empty one leaves the name out.
void writeSoundList(const std::map<std::string, std::string>& values) {
    fs::remove("sounds");
    fs::remove_all("sounds");
    fs::create_directories("sounds/fx");
    wavmaker::writeFile("sounds/tone.wav", wavmaker::toneWav(22050, SHORT_SECONDS, 440.0, 0.5));
    std::ofstream list(SOUND_LIST_PATH);
    list << "# logical name, file\r\n";
    for (const std::string& name : tableNames()) {
        const auto given = values.find(name);
        if (given == values.end()) {
            list << name << "\ttone.wav\r\n";
        } else if (!given->second.empty()) {
            list << name << "  " << given->second << "\n";
        }
    }
    list << INTRO_SAMPLE.name << " tone.wav\n";
}

class SoundSamplesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FSOUND_Init(44100, 32, 0)); }
    void TearDown() override {
        FSOUND_Close();
        fs::remove_all("sounds");
    }

    Vortel::SoundSampleMap samples;
};

}  // namespace

// The mode words as the sound library reads them, written out: a wrong flag in a word loads
// the sample in another way even where looping and placing come out the same.
TEST(SoundSampleTable, EveryRowHoldsItsNameModeWordAndDistanceInLoadOrder) {
    const std::map<std::string, std::pair<unsigned int, float> > exceptions = {
        {"explosion", {0x41130u, 8.0f}}, {"block_explode", {0x41130u, 2.0f}}, {"hum_chaser", {0x41130u, 3.0f}},
        {"weapon_empty", {0x130u, 0.0f}}, {"hum_player", {0x152u, 0.0f}},      {"theme_main", {0x152u, 0.0f}},
        {"theme_play", {0x152u, 0.0f}},   {"theme_game_over", {0x152u, 0.0f}}};
    ASSERT_EQ(Vortel::SOUND_SAMPLE_TABLE.size(), tableNames().size());
    for (std::size_t i = 0; i < tableNames().size(); ++i) {
        const std::string& name = tableNames()[i];
        SCOPED_TRACE(name);
        const auto exception = exceptions.find(name);
        const std::pair<unsigned int, float> expected =
            exception == exceptions.end() ? std::make_pair(0x150u, 0.0f) : exception->second;
        const Vortel::SoundSampleRow& row = Vortel::SOUND_SAMPLE_TABLE[i];
        EXPECT_EQ(row.name, name);
        EXPECT_EQ(row.mode, expected.first);
        EXPECT_EQ(row.minDistance, expected.second);
    }
    EXPECT_STREQ(INTRO_SAMPLE.name, "quendle_intro");
    EXPECT_EQ(INTRO_SAMPLE.mode, 0x130u);
    EXPECT_EQ(INTRO_SAMPLE.minDistance, 0.0f);
}

TEST_F(SoundSamplesTest, EveryNameLoadsWithItsLoopingAndPlacing) {
    writeSoundList({});
    Vortel::loadSoundSamples(samples);
    ASSERT_EQ(samples.size(), tableNames().size());
    for (const std::string& name : tableNames()) {
        SCOPED_TRACE(name);
        const SoundSample* sample = samples[name];
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->loops(), isLoop(name));
        EXPECT_EQ(sample->positional(), placedAt.count(name) == 1);
        if (sample->positional()) {
            EXPECT_EQ(sample->minDistance(), placedAt.at(name));
            EXPECT_EQ(sample->maxDistance(), 1.0e9f);
        }
    }
    for (int count = 2; count <= 10; ++count) {
        EXPECT_NE(samples[std::to_string(count) + "combo"], nullptr) << count;
    }
    EXPECT_EQ(samples.size(), tableNames().size());

    // The intro comes alone, one-shot at the listener, and replaces what was stored before.
    samples[INTRO_SAMPLE.name] = samples["lazer"];
    Vortel::loadIntroSample(samples);
    const SoundSample* intro = samples[INTRO_SAMPLE.name];
    ASSERT_NE(intro, nullptr);
    EXPECT_NE(intro, samples["lazer"]);
    EXPECT_FALSE(intro->loops() || intro->positional());
    EXPECT_EQ(samples.size(), tableNames().size() + 1);
}

// The value is taken exactly as the list gives it, and a row that fails stops no other. A
// file that is not there, or a name that leads to the sound folder itself, goes unsaid: a list
// may leave sounds out.
TEST_F(SoundSamplesTest, PathsAreTheValueAsWrittenAndRowsAreIndependent) {
    writeSoundList({{"lazer", "\"fx/in folder.wav\""},
                    {"menu_up_down", "\" lead.wav\""},
                    {"menu_left_right", "missing.wav"},
                    {"menu_enter", "\"trimmed.wav \""},
                    {"swoosh_left", "\"\""},
                    {"swoosh_right", ""}});
    for (const char* file : {"sounds/fx/in folder.wav", "sounds/ lead.wav", "sounds/trimmed.wav"}) {
        fs::copy_file("sounds/tone.wav", file);
    }
    testing::internal::CaptureStderr();
    Vortel::loadSoundSamples(samples);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(samples["lazer"], nullptr);
    EXPECT_NE(samples["menu_up_down"], nullptr);
    EXPECT_EQ(samples["menu_left_right"], nullptr);
    EXPECT_EQ(samples["menu_enter"], nullptr);
    EXPECT_EQ(samples["swoosh_left"], nullptr);
    EXPECT_EQ(samples["swoosh_right"], nullptr);
    for (std::size_t i = 6; i < tableNames().size(); ++i) {
        EXPECT_NE(samples[tableNames()[i]], nullptr) << tableNames()[i];
    }
}

// ---- playing through the game -------------------------------------------------------------

namespace {

using SoundPlayGL = testgame::GameFixture;

// Whether the sound output has a source placed at p in the world (not at the listener).
bool aSourceIsAt(const Vector3<float>& p) {
    for (ALuint source = 1; source < 1024; ++source) {
        if (!alIsSource(source)) {
            continue;
        }
        ALint relative = AL_TRUE;
        ALfloat at[3] = {};
        alGetSourcei(source, AL_SOURCE_RELATIVE, &relative);
        alGetSourcefv(source, AL_POSITION, at);
        if (relative == AL_FALSE && at[0] == p.x && at[1] == p.y && at[2] == p.z) {
            return true;
        }
    }
    return false;
}

// Waits, longer than the file lasts, until none of the channels but the loops plays.
void waitForOneShots(const std::map<std::string, int>& channels) {
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    const auto oneShotPlaying = [&] {
        return std::any_of(channels.begin(), channels.end(),
                           [](const auto& c) { return !isLoop(c.first) && FSOUND_IsPlaying(c.second); });
    };
    while (elapsed() < 4 * SHORT_SECONDS || (oneShotPlaying() && elapsed() < 5.0)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// The game's own start-up and loader thread, up to the hand-over of what it loaded.
void initAndLoad(Vortel::Game& g) {
    g.init();
    g.load();
    g._loaderThread.join();
}

}  // namespace

TEST_F(SoundPlayGL, TheShippedListLoadsEverySample) {
    Vortel::Game& g = game();
    initAndLoad(g);
    EXPECT_EQ(g._soundSamples.size(), tableNames().size() + 1);
    for (const auto& entry : g._soundSamples) {
        EXPECT_NE(entry.second, nullptr) << entry.first;
    }
}

// Each name on a channel of its own, at most 26 at once on the 32 voices.
TEST_F(SoundPlayGL, LoopsPlayOnAndOneShotsEndAtTheVolumeGiven) {
    Vortel::Game& g = game();
    writeSoundList({});
    Vortel::loadSoundSamples(g._soundSamples);
    const std::size_t half = tableNames().size() / 2;
    for (std::size_t first : {std::size_t(0), half}) {
        std::map<std::string, int> channels;
        for (std::size_t i = first; i < first + half; ++i) {
            const std::string& name = tableNames()[i];
            channels[name] = g.playSound(name, static_cast<unsigned char>(i));
            ASSERT_GE(channels[name], 0) << name;
            EXPECT_EQ(FSOUND_GetVolume(channels[name]), static_cast<int>(i)) << name;
        }
        waitForOneShots(channels);
        for (const auto& c : channels) {
            EXPECT_EQ(FSOUND_IsPlaying(c.second), isLoop(c.first)) << c.first;
        }
        FSOUND_StopSound(FSOUND_ALL);
    }
}

TEST_F(SoundPlayGL, WithoutAListNothingPlaysAndNothingFails) {
    // A folder in its place is refused like a missing list; either is told once.
    folder->remove(SOUND_LIST_PATH);
    std::filesystem::create_directory(SOUND_LIST_PATH);
    Vortel::Game& g = game();
    testing::internal::CaptureStderr();
    initAndLoad(g);
    const std::string told = testing::internal::GetCapturedStderr();
    const std::string line = std::string("Cannot read the sound list ") + SOUND_LIST_PATH + ": the game runs silent\n";
    const std::size_t at = told.find(line);
    EXPECT_NE(at, std::string::npos) << told;
    EXPECT_EQ(told.find(line, at + 1), std::string::npos) << told;
    EXPECT_NE(g._loadingLog.str().find("Loading sounds...OK\n"), std::string::npos);
    EXPECT_EQ(g._soundSamples.size(), tableNames().size() + 1);
    const Vector3<float> somewhere(1.0f, 2.0f, 3.0f);
    for (const auto& entry : g._soundSamples) {
        EXPECT_EQ(entry.second, nullptr) << entry.first;
        EXPECT_EQ(g.playSound(entry.first, 200, &somewhere), -1) << entry.first;
    }
    EXPECT_EQ(g.playSound("unheard_of", 200), -1);
    EXPECT_EQ(g._soundSamples.size(), tableNames().size() + 2);
    EXPECT_EQ(g._soundSamples.at("unheard_of"), nullptr);
}

TEST_F(SoundPlayGL, MusicReadsBackAndItsOldNumberReachesNoNewerSound) {
    Vortel::Game& g = game();
    writeSoundList({});
    Vortel::loadSoundSamples(g._soundSamples);
    const int music = g.playSound("theme_main", 77);
    EXPECT_TRUE(FSOUND_IsPlaying(music));
    EXPECT_EQ(FSOUND_GetVolume(music), 77);
    FSOUND_SetPaused(music, true);
    EXPECT_TRUE(FSOUND_GetPaused(music));
    EXPECT_FALSE(FSOUND_IsPlaying(music));
    FSOUND_SetPaused(music, false);
    EXPECT_TRUE(FSOUND_IsPlaying(music));
    FSOUND_StopSound(music);
    EXPECT_FALSE(FSOUND_IsPlaying(music));

    // Every voice busy, one of them the old music's.
    std::vector<int> newer;
    for (int i = 0; i < 32; ++i) {
        newer.push_back(g.playSound("theme_main", 77));
        ASSERT_GE(newer.back(), 0);
    }
    for (const int stale : {music, FSOUND_FREE}) {
        FSOUND_SetPaused(stale, true);
        FSOUND_SetVolume(stale, 5);
        FSOUND_StopSound(stale);
    }
    for (const int channel : newer) {
        EXPECT_TRUE(FSOUND_IsPlaying(channel));
        EXPECT_EQ(FSOUND_GetVolume(channel), 77);
    }
}

TEST_F(SoundPlayGL, APlacedSoundIsHeardWhereItIsPlayed) {
    Vortel::Game& g = game();
    writeSoundList({});
    Vortel::loadSoundSamples(g._soundSamples);
    const Vector3<float> crash(3.0f, -2.0f, 8.0f);
    EXPECT_GE(g.playSound("explosion", 120, &crash), 0);
    EXPECT_TRUE(aSourceIsAt(crash));
}
