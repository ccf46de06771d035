#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "actors/namegenerator.h"
#include "platform/settings.h"

namespace {

std::string sourceFile(const std::string& relative)
{
    const char* root = std::getenv("QUELLARIS_SOURCE_DIR");
    return std::string(root ? root : ".") + "/" + relative;
}

}  // namespace

TEST(NameStatistics, AreCapitalisedAsciiNamesOnePerLine)
{
    std::ifstream in("data/english_mf.txt", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    std::set<char> letters, followed;
    int names = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::string name = text.substr(start, end - start);
        ASSERT_FALSE(name.empty());
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(name[0]))) << name;
        for (size_t i = 0; i < name.size(); ++i) {
            ASSERT_TRUE(std::isalpha(static_cast<unsigned char>(name[i]))) << name;
            if (i > 0) {
                EXPECT_TRUE(std::islower(static_cast<unsigned char>(name[i]))) << name;
            }
            letters.insert(name[i]);
            if (i + 1 < name.size())
                followed.insert(name[i]);
        }
        ++names;
        start = end + 1;
    }
    EXPECT_GE(names, 300);
    // A letter that is never followed by another would end the name generator's walk there.
    EXPECT_EQ(letters, followed);
}

TEST(NameStatistics, MakeAThousandNamesOfThreeToSixteenLetters)
{
    const NameGenerator generator("data/english_mf.txt", 1);
    for (int i = 0; i < 1000; ++i) {
        const std::string name = generator.generate(3, 16);
        ASSERT_GE(name.size(), 3u) << name;
        ASSERT_LE(name.size(), 16u) << name;
        for (char c : name)
            ASSERT_TRUE(std::isalpha(static_cast<unsigned char>(c))) << name;
    }
}

// The template that a fresh game folder gets; the game rewrites its own copy.
TEST(SettingsTemplate, HoldsTheDefaultsTheGameStartsWith)
{
    Settings settings;
    ASSERT_TRUE(settings.load(sourceFile("assets/data/vasp.conf"), false));
    const struct {
        const char* key;
        const char* text;
    } expected[] = {{"fullscreen", "0"},       {"fov", "90"},          {"gameSpeed", "normal"},
                    {"colorScheme", "spectrum_light"},                  {"masterVolume", "8"},
                    {"effectsVolume", "8"},    {"musicVolume", "8"},   {"voiceVolume", "8"},
                    {"keyLeft", "203"},        {"keyRight", "205"},    {"keyUp", "200"},
                    {"keyDown", "208"},        {"keyFire", "256"},     {"keyNuke", "28"},
                    {"keyBoost", "768"},       {"keyPause", "157"},    {"keyMouselook", "512"},
                    {"trailReflection", "1"},  {"debrisParticleDensity", "4"}, {"effectsParticleDensity", "0.5"},
                    {"displayChaserNames", "1"}, {"displayChaserTypes", "1"}, {"displayChaserHitpoints", "1"},
                    {"displayChaserBoundingBoxes", "1"}, {"displayDestroyedChaserList", "1"},
                    {"displaySurroundDetector", "0"}, {"displayFps", "1"}, {"invertMouse", "1"},
                    {"mouseSensitivity", "10"}, {"mouselookEnabled", "1"}, {"pointAndClickEnabled", "1"},
                    {"cockpitHud", "1"}};
    for (const auto& e : expected) {
        ASSERT_TRUE(settings.exists(e.key)) << e.key;
        EXPECT_EQ(settings[e.key].text, e.text) << e.key;
    }
}

// The two user schemes: named in order, each with backgrounds and trails whose colour names
// are defined with their twelve values.
TEST(ColourSchemes, UserSchemesAreCompleteAndTheirColoursDefined)
{
    Settings colours;
    ASSERT_TRUE(colours.load("data/color", false));
    for (int n = 1; n <= 2; ++n) {
        const std::string scheme = std::to_string(n) + "_";
        ASSERT_TRUE(colours.exists(scheme + "name"));
        EXPECT_TRUE(colours.exists(scheme + "background"));
        EXPECT_TRUE(colours.exists(scheme + "hud@3"));
        EXPECT_TRUE(colours.exists(scheme + "hit@3"));
        int trails = 0;
        for (int k = 1; colours.exists(scheme + "trail" + std::to_string(k)); ++k, ++trails)
            for (int end = 0; end < 2; ++end) {
                const std::string colour = colours[scheme + "trail" + std::to_string(k) + "@" + std::to_string(end)].text;
                EXPECT_TRUE(colours.exists(colour + "@11")) << colour;
            }
        EXPECT_GE(trails, 2);
        const int player = colours[scheme + "playerTrail"].i;
        EXPECT_TRUE(player >= 1 && player <= trails);
    }
    EXPECT_FALSE(colours.exists("3_name"));
}

TEST(SpeedNotes, HoldOnlyComments)
{
    Settings speeds;
    ASSERT_TRUE(speeds.load("data/speed", false));
    EXPECT_FALSE(speeds.exists("normal"));
    std::ifstream in("data/speed");
    std::string line;
    while (std::getline(in, line))
        EXPECT_TRUE(line.empty() || line[0] == '#') << line;
}
