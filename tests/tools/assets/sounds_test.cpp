#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "platform/wavfile.h"
#include "tests/tools/assets/catalogue.h"

using catalogue::SoundKind;

namespace {

struct Clip {
    WavFormat format;
    std::vector<std::int16_t> samples;  // interleaved
    double seconds() const { return static_cast<double>(samples.size()) / format.channels / format.samplesPerSec; }
};

std::string soundPath(Settings& list, const std::string& name) { return "sounds/" + list[name].text; }

bool read(const std::string& path, Clip& clip)
{
    WavFile file;
    if (!file.open(path))
        return false;
    clip.format = file.format();
    std::vector<std::uint8_t> bytes;
    if (!file.readAll(bytes))
        return false;
    clip.samples.resize(bytes.size() / 2);
    for (size_t i = 0; i < clip.samples.size(); ++i)
        clip.samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return true;
}

// A 44-byte header: RIFF, WAVE, a 16-byte fmt chunk and the data chunk right after it.
bool canonicalHeader(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char h[44];
    if (!in.read(h, 44))
        return false;
    const auto u32 = [&](int at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(h[at]) | static_cast<unsigned char>(h[at + 1]) << 8 |
                                          static_cast<unsigned char>(h[at + 2]) << 16 |
                                          static_cast<unsigned char>(h[at + 3]) << 24);
    };
    return std::string(h, 4) == "RIFF" && std::string(h + 8, 4) == "WAVE" && std::string(h + 12, 4) == "fmt " &&
           u32(16) == 16 && std::string(h + 36, 4) == "data";
}

Settings soundList()
{
    Settings list;
    EXPECT_TRUE(list.load("sounds/sound.conf", false));
    return list;
}

}  // namespace

TEST(Sounds, TheSoundListNamesExactlyTheGamesSounds)
{
    Settings list = soundList();
    for (const catalogue::Sound& s : catalogue::sounds())
        EXPECT_TRUE(list.exists(s.name)) << s.name;
    // No other names: count the file's entries.
    std::ifstream in("sounds/sound.conf");
    std::string line;
    int entries = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        if (words >> first && first[0] != '#')
            ++entries;
    }
    EXPECT_EQ(entries, 53);
    EXPECT_EQ(catalogue::sounds().size(), 53u);
}

TEST(Sounds, EverySoundIsCanonicalSixteenBitPcmOfItsKind)
{
    Settings list = soundList();
    for (const catalogue::Sound& s : catalogue::sounds()) {
        SCOPED_TRACE(s.name);
        const std::string path = soundPath(list, s.name);
        Clip clip;
        ASSERT_TRUE(read(path, clip)) << path;
        EXPECT_TRUE(canonicalHeader(path));
        EXPECT_EQ(clip.format.formatTag, WavFormat::PCM);
        EXPECT_EQ(clip.format.bitsPerSample, 16);
        EXPECT_FALSE(clip.samples.empty());
        switch (s.kind) {
        case SoundKind::Positional:
            EXPECT_EQ(clip.format.channels, 1);
            break;
        case SoundKind::Music:
            EXPECT_EQ(clip.format.channels, 2);
            EXPECT_EQ(clip.format.samplesPerSec, 44100u);
            break;
        case SoundKind::Loop:
            EXPECT_EQ(clip.format.channels, 1);
            EXPECT_EQ(clip.format.samplesPerSec, 44100u);
            break;
        case SoundKind::Voice:
            EXPECT_EQ(clip.format.channels, 1);
            EXPECT_EQ(clip.format.samplesPerSec, 22050u);
            break;
        case SoundKind::Effect:
            break;
        }
    }
}

TEST(Sounds, VoicesAreAudibleAndOfSpeakingLength)
{
    Settings list = soundList();
    for (const catalogue::Sound& s : catalogue::sounds()) {
        if (s.kind != SoundKind::Voice)
            continue;
        SCOPED_TRACE(s.name);
        Clip clip;
        ASSERT_TRUE(read(soundPath(list, s.name), clip));
        EXPECT_GE(clip.seconds(), 0.4);
        EXPECT_LE(clip.seconds(), 2.5);
        int loudest = 0;
        for (std::int16_t v : clip.samples)
            loudest = std::max(loudest, std::abs(static_cast<int>(v)));
        EXPECT_GT(loudest, 16000);
    }
}

TEST(Sounds, MusicAndJingleLastAsTheScreensNeed)
{
    Settings list = soundList();
    const struct {
        const char* name;
        double min, max;
    } lengths[] = {{"theme_main", 25, 35}, {"theme_play", 50, 60}, {"theme_game_over", 10, 20}, {"quendle_intro", 1, 4.5},
                   {"hum_player", 2, 2}, {"hum_chaser", 1, 1}};
    for (const auto& l : lengths) {
        SCOPED_TRACE(l.name);
        Clip clip;
        ASSERT_TRUE(read(soundPath(list, l.name), clip));
        EXPECT_GE(clip.seconds(), l.min - 1e-3);
        EXPECT_LE(clip.seconds(), l.max + 1e-3);
    }
}

// A loop's last sample leads into its first: that step must be no larger than the steps the
// sound makes anyway (its 99.9th percentile), on every channel.
TEST(Sounds, LoopsJoinWithoutAStep)
{
    Settings list = soundList();
    for (const char* name : {"hum_player", "hum_chaser", "theme_main", "theme_play", "theme_game_over"}) {
        SCOPED_TRACE(name);
        Clip clip;
        ASSERT_TRUE(read(soundPath(list, name), clip));
        const size_t channels = clip.format.channels;
        const size_t frames = clip.samples.size() / channels;
        for (size_t c = 0; c < channels; ++c) {
            std::vector<int> steps;
            for (size_t i = 0; i + 1 < frames; ++i)
                steps.push_back(std::abs(clip.samples[(i + 1) * channels + c] - clip.samples[i * channels + c]));
            const auto percentile = steps.begin() + static_cast<long>(steps.size() * 999 / 1000);
            std::nth_element(steps.begin(), percentile, steps.end());
            const int ordinary = *percentile;
            const int join = std::abs(clip.samples[c] - clip.samples[(frames - 1) * channels + c]);
            EXPECT_LE(join, ordinary) << "channel " << c;
        }
    }
}
