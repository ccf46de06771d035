#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine2d/simplemenu.h"
#include "tests/game/game_fixture.h"
#include "world/cuberenderer.h"
#include "world/starfield.h"

namespace {

using Vortel::Game;
using ControlsGL = testgame::GameFixture;

const char* const allSettingsKeys[] = {
    "fov", "fullscreen", "colorScheme", "trailReflection", "debrisParticleDensity", "effectsParticleDensity",
    "displayChaserNames", "displayChaserTypes", "displayChaserHitpoints", "displayChaserBoundingBoxes",
    "displayDestroyedChaserList", "displaySurroundDetector", "displayFps", "invertMouse", "mouseSensitivity",
    "mouselookEnabled", "pointAndClickEnabled", "gameSpeed", "cockpitHud", "keyLeft", "keyRight", "keyUp",
    "keyDown", "keyFire", "keyNuke", "keyBoost", "keyPause", "keyMouselook", "masterVolume", "effectsVolume",
    "musicVolume", "voiceVolume"};

std::vector<unsigned int> bindings(const Game& g) {
    return {g._keyLeft, g._keyRight, g._keyUp,    g._keyDown,     g._keyBoost,
            g._keyFire, g._keyNuke,  g._keyPause, g._keyMouselook};
}

// Loads the settings with only this key set to this text.
void loadOne(Game& g, const char* key, const std::string& text) {
    for (const char* other : allSettingsKeys) {
        g._settings.erase(other);
    }
    g._settings[key] = text;
    g.loadSettings();
}

TEST_F(ControlsGL, EachSettingIsHeldToItsLimits) {
    Game& g = game();
    g.setupSpeeds();
    g._starfield = std::make_unique<Vortel::Starfield>(Vector3<float>(), Vector3<float>(1.0f, 0.0f, 0.0f), 0.2f,
                                                       400, 0);

    for (const auto& [text, fov] : std::vector<std::pair<std::string, float> >{
             {"93", 90.0f}, {"99.9", 95.0f}, {"40", 45.0f}, {"120", 100.0f}, {"-7", 45.0f}, {"1e30", 100.0f},
             {"-1e30", 45.0f}, {"many", 45.0f}}) {
        SCOPED_TRACE("fov " + text);
        loadOne(g, "fov", text);
        EXPECT_FLOAT_EQ(g._fov, fov);
        EXPECT_FLOAT_EQ(g._camera.fov(), fov);
    }
    for (const auto& [text, sensitivity] :
         std::vector<std::pair<std::string, float> >{{"0", 0.1f}, {"25", 2.5f}, {"2.5", 0.2f}, {"-4", 0.1f}}) {
        SCOPED_TRACE("mouseSensitivity " + text);
        loadOne(g, "mouseSensitivity", text);
        EXPECT_FLOAT_EQ(g._mouseSensitivity, sensitivity);
    }
    for (const auto& [text, density] :
         std::vector<std::pair<std::string, int> >{{"15", 10}, {"-3", 0}, {"7", 7}}) {
        SCOPED_TRACE("debrisParticleDensity " + text);
        loadOne(g, "debrisParticleDensity", text);
        EXPECT_EQ(g._debrisParticleDensity, density);
        EXPECT_EQ(g._starfield->numParticles(), density * 100);
    }
    loadOne(g, "fov", "90");
    EXPECT_EQ(g._starfield->numParticles(), 700) << "an absent density keeps the stars";
    for (const auto& [text, density] :
         std::vector<std::pair<std::string, float> >{{"1.5", 1.0f}, {"-0.2", 0.0f}, {"0.25", 0.25f}}) {
        SCOPED_TRACE("effectsParticleDensity " + text);
        loadOne(g, "effectsParticleDensity", text);
        EXPECT_FLOAT_EQ(g._effectsParticleDensity, density);
    }

    const int bytes[] = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
    for (int step = -1; step <= 11; ++step) {
        const int expected = bytes[std::clamp(step, 0, 10)];
        for (const char* key : {"masterVolume", "effectsVolume", "musicVolume", "voiceVolume"}) {
            SCOPED_TRACE(std::string(key) + " " + std::to_string(step));
            loadOne(g, key, std::to_string(step));
        }
        EXPECT_EQ(g._masterVolume, expected);
        EXPECT_EQ(g._effectsVolume, expected);
        EXPECT_EQ(g._musicVolume, expected);
        EXPECT_EQ(g._voiceVolume, expected);
    }

    for (const auto& [text, key] : std::vector<std::pair<std::string, std::string> >{
             {"FAST", "fast"}, {"turbo", "fast"}, {"slow", "slow"}, {"Very Slow", "slow"}}) {
        SCOPED_TRACE("gameSpeed " + text);
        loadOne(g, "gameSpeed", text);
        EXPECT_EQ(g._currentGameSpeed->first, key);
    }

    // Codes that no key or button gives are read as no key; duplicates stay.
    for (const auto& [text, code] : std::vector<std::pair<std::string, unsigned int> >{
             {"255", 255}, {"1024", 1024}, {"28", 28}, {"300", 0}, {"257", 0}, {"-5", 0}, {"4096", 0}}) {
        SCOPED_TRACE("keyLeft " + text);
        loadOne(g, "keyLeft", text);
        EXPECT_EQ(g._keyLeft, code);
    }
}

TEST_F(ControlsGL, TrailReflectionsDarkenTheTrailColoursOnce) {
    Game& g = game();
    Vortel::CubeRenderer& cubes = Vortel::OcTree::cubeRenderer();
    for (const auto& [text, reflections] :
         std::vector<std::pair<std::string, bool> >{{"", true}, {"1", true}, {"0", false}}) {
        SCOPED_TRACE("trailReflection '" + text + "'");
        const RGBA<float> red(0.8f, 0.4f, 0.2f, 1.0f);
        const unsigned char triplet = g._octree.createColorTriplet(red, red, red);
        if (text.empty()) {
            loadOne(g, "fov", "90");
        } else {
            loadOne(g, "trailReflection", text);
        }
        EXPECT_EQ(g._trailReflection, reflections);
        EXPECT_EQ(g._octree.renderReflections(), reflections);
        const float scale = reflections ? 0.5f : 1.0f;
        EXPECT_FLOAT_EQ(cubes.colors().triplet(triplet).shadeFloats[1].r, 0.8f * scale);
        EXPECT_FLOAT_EQ(cubes.colors().triplet(triplet).shadeFloats[2].g, 0.4f * scale);
        EXPECT_FLOAT_EQ(cubes.colors().triplet(triplet).shadeFloats[0].a, 1.0f);
    }
}

TEST_F(ControlsGL, AFileOfOneBindingKeepsTheOtherDefaultsAndGainsNoKey) {
    std::ofstream("data/vasp.conf") << "keyFire 512\n";
    Game& g = game();
    g.defaultControls();
    g.loadSettings();
    EXPECT_EQ(bindings(g), (std::vector<unsigned int>{203, 205, 200, 208, 768, 512, 28, 157, 512}));
    for (const char* key : allSettingsKeys) {
        EXPECT_EQ(g._settings.exists(key), std::string(key) == "keyFire") << key;
    }
    EXPECT_FLOAT_EQ(g._fov, 90.0f);
    EXPECT_EQ(g._masterVolume, 128);
    EXPECT_TRUE(g._invertMouse);
    EXPECT_FALSE(g._displaySurroundDetector);
}

TEST_F(ControlsGL, RedefiningAKeyTakesItFromItsOldActionAndSavesAllNine) {
    Game& g = game();
    g.defaultControls();
    g.refreshRedefineKeysMenu();  // no menu yet: the names only
    EXPECT_EQ(g._keyNames[4], "MOUSE 3");

    g._menuRedefineKeys = std::make_unique<Stelkor::SimpleMenu>(g._menuItemPrototype, g._menuItemHighlightPrototype);
    const std::vector<std::pair<std::string, std::string> > shown = {
        {"Turn Left", "LEFT ARROW"}, {"Turn Right", "RIGHT ARROW"}, {"Turn Up", "UP ARROW"},
        {"Turn Down", "DOWN ARROW"}, {"Boost", "MOUSE 3"},          {"Fire", "MOUSE 1"},
        {"EMP Blast", "ENTER"},      {"Pause", "RIGHT CTRL"},       {"Mouselook", "MOUSE 2"}};
    for (const auto& row : shown) {
        g._menuRedefineKeys->addItem(row.first, false).addValue("old", true).addValue("older", false);
    }
    g._menuRedefineKeys->addItem("RESET TO DEFAULTS", false);
    g.refreshRedefineKeysMenu();
    for (const auto& [label, name] : shown) {
        SCOPED_TRACE(label);
        const Stelkor::SimpleMenu::Item& item = *g._menuRedefineKeys->item(label);
        EXPECT_EQ(item.values, std::vector<std::string>{name});
        EXPECT_EQ(item.selectedValueID(), 0);
    }
    EXPECT_EQ(g._menuRedefineKeys->item("RESET TO DEFAULTS")->valueCount(), 0);

    // Fire redefined with the EMP key, as the menu does it.
    g.unbindKey(28);
    g._keyFire = 28;
    g.refreshRedefineKeysMenu();
    g.saveControls();
    EXPECT_EQ(g._keyNuke, 0u);
    EXPECT_EQ(g._menuRedefineKeys->item("EMP Blast")->values, std::vector<std::string>{"*** UNDEFINED ***"});
    EXPECT_EQ(g._menuRedefineKeys->item("Fire")->values, std::vector<std::string>{"ENTER"});
    Settings saved;
    ASSERT_TRUE(saved.load("data/vasp.conf", false));
    const std::vector<std::pair<const char*, int> > written = {
        {"keyLeft", 203}, {"keyRight", 205}, {"keyUp", 200},   {"keyDown", 208},     {"keyBoost", 768},
        {"keyFire", 28},  {"keyNuke", 0},    {"keyPause", 157}, {"keyMouselook", 512}};
    for (const auto& [key, code] : written) {
        ASSERT_TRUE(saved.exists(key)) << key;
        EXPECT_EQ(saved[key].i, code) << key;
    }

    // A file that cannot be written costs nothing but the file.
    g._settingsPath = "no such folder/vasp.conf";
    g.unbindKey(203);
    g._keyBoost = 203;
    g.saveControls();
    EXPECT_EQ(g._keyLeft, 0u);
    EXPECT_EQ(g._keyBoost, 203u);
    EXPECT_FALSE(std::filesystem::exists("no such folder"));
    ASSERT_TRUE(saved.load("data/vasp.conf", false));
    EXPECT_EQ(saved["keyBoost"].i, 768);
}

// Keeps the input messages the game is sent.
class RecordingGame : public testgame::TestGame {
public:
    RecordingGame(std::unique_ptr<testsupport::FakeEventSource> events,
                  std::unique_ptr<testsupport::FakeDevice> device)
        : TestGame(std::move(events), std::move(device)) {}

    bool message(HWND, UINT msg, WPARAM wParam, LPARAM) override {
        received.emplace_back(msg, static_cast<unsigned int>(wParam));
        return true;
    }

    std::vector<std::pair<UINT, unsigned int> > received;
};

TEST_F(ControlsGL, FlightReportsTheBoundKeysEscapeAndF5AndTheMouse) {
    RecordingGame g(std::make_unique<testsupport::FakeEventSource>(), std::make_unique<testsupport::FakeDevice>());
    g.defaultControls();
    g._keyMouselook = 0;
    g._input.trackAllKeys(true);
    g.trackPlayerKeys();

    const unsigned int unbound = 30;
    for (const unsigned int key : {203u, 157u, 1u, 63u, unbound}) {
        g.device.keys.at(key) = 0x80;
    }
    g.device.mouse.buttons[0] = 0x80;  // fire
    g.device.mouse.buttons[1] = 0x80;  // mouselook no longer
    g._input.update();
    using Message = std::pair<UINT, unsigned int>;
    const UINT down = g._wmKeyDownDI;
    EXPECT_EQ(g.received,
              (std::vector<Message>{{down, 203}, {down, 157}, {down, 1}, {down, 63}, {down, 256}}));

    g.received.clear();
    for (const unsigned int key : {203u, 157u, 1u, 63u, unbound}) {
        g.device.keys.at(key) = 0;
    }
    g.device.mouse.buttons[0] = 0;
    g.device.mouse.x = 5;
    g._input.update();
    const UINT up = g._wmKeyUpDI;
    ASSERT_EQ(g.received.size(), 6u);
    EXPECT_EQ(std::vector<Message>(g.received.begin(), g.received.begin() + 5),
              (std::vector<Message>{{up, 203}, {up, 157}, {up, 1}, {up, 63}, {up, 256}}));
    EXPECT_EQ(g.received.back().first, g._wmMouseMoveDI);
}

}  // namespace
