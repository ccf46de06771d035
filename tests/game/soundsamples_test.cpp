#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "game/soundsamples.h"
#include "platform/soundsample.h"
#include "tests/platform/wavfile_maker.h"

// The sample list and its files are written into the test's working folder, where the game
// looks for "sounds/".

using Vortel::INTRO_SAMPLE;
using Vortel::SOUND_LIST_PATH;

namespace {

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

class SoundSamplesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all("sounds");
        std::filesystem::create_directories("sounds/fx");
        wavmaker::writeFile("sounds/tone.wav", wavmaker::pcmWav(2, 22050, 16, wavmaker::Bytes(400, 0)));
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    }
    void TearDown() override {
        FSOUND_Close();
        std::filesystem::remove_all("sounds");
    }

    // Every name names tone.wav but those given, whose values are written as given; an empty
    // one leaves the name out.
    static void writeList(const std::map<std::string, std::string>& values) {
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

    Vortel::SoundSampleMap samples;
};

}  // namespace

TEST_F(SoundSamplesTest, EveryNameLoadsWithItsLoopingAndPlacing) {
    writeList({});
    Vortel::loadSoundSamples(samples);
    ASSERT_EQ(samples.size(), tableNames().size());
    for (const std::string& name : tableNames()) {
        SCOPED_TRACE(name);
        const SoundSample* sample = samples[name];
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->loops(), std::count(loops.begin(), loops.end(), name) == 1);
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

// The value is taken exactly as the list gives it, and a row that fails stops no other.
TEST_F(SoundSamplesTest, PathsAreTheValueAsWrittenAndRowsAreIndependent) {
    wavmaker::writeFile("sounds/fx/in folder.wav", wavmaker::toneWav(22050, 0.05, 440.0, 0.5));
    wavmaker::writeFile("sounds/ lead.wav", wavmaker::toneWav(22050, 0.05, 440.0, 0.5));
    wavmaker::writeFile("sounds/trimmed.wav", wavmaker::toneWav(22050, 0.05, 440.0, 0.5));
    writeList({{"lazer", "\"fx/in folder.wav\""},
               {"menu_up_down", "\" lead.wav\""},
               {"menu_left_right", "missing.wav"},
               {"menu_enter", "\"trimmed.wav \""},
               {"swoosh_left", "\"\""},
               {"swoosh_right", ""}});
    Vortel::loadSoundSamples(samples);
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

TEST_F(SoundSamplesTest, WithoutAListEveryEntryIsNullAndNothingFails) {
    Vortel::loadSoundSamples(samples);
    Vortel::loadIntroSample(samples);
    EXPECT_EQ(samples.size(), tableNames().size() + 1);
    for (const auto& entry : samples) {
        EXPECT_EQ(entry.second, nullptr) << entry.first;
        EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, entry.second), -1);
    }
}
