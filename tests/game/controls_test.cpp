#include <gtest/gtest.h>

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

// Loads the settings with only this key in the store.
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
    g._starfield = std::make_unique<Vortel::Starfield>(Vector3<float>(), Vector3<float>(1, 0, 0), 0.2f, 400, 0);
    struct Case {
        const char* key;
        const char* text;
        float (*read)(const Game&);
        float expected;
    };
    const auto fov = [](const Game& g) { return g._camera.fov() == g._fov ? g._fov : -1.0f; };
    const auto sensitivity = [](const Game& g) { return g._mouseSensitivity; };
    const auto stars = [](const Game& g) { return g._starfield->numParticles() + 0.01f * g._debrisParticleDensity; };
    const auto effects = [](const Game& g) { return g._effectsParticleDensity; };
    const auto voice = [](const Game& g) { return static_cast<float>(g._voiceVolume); };
    const auto stretch = [](const Game& g) { return g._timeStretch; };
    const auto left = [](const Game& g) { return static_cast<float>(g._keyLeft); };
    const Case cases[] = {
        {"fov", "93", fov, 90},       {"fov", "99.9", fov, 95},     {"fov", "40", fov, 45},
        {"fov", "120", fov, 100},     {"fov", "-7", fov, 45},       {"fov", "1e30", fov, 100},
        {"fov", "-1e30", fov, 45},    {"fov", "many", fov, 45},
        {"mouseSensitivity", "0", sensitivity, 0.1f},  {"mouseSensitivity", "25", sensitivity, 2.5f},
        {"mouseSensitivity", "2.5", sensitivity, 0.2f},
        {"debrisParticleDensity", "15", stars, 1000.1f}, {"debrisParticleDensity", "-3", stars, 0},
        {"debrisParticleDensity", "7", stars, 700.07f},  {"fov", "90", stars, 700.07f},
        {"effectsParticleDensity", "1.5", effects, 1},   {"effectsParticleDensity", "-0.2", effects, 0},
        {"voiceVolume", "11", voice, 255},  {"voiceVolume", "-1", voice, 0},  {"voiceVolume", "3", voice, 76},
        {"gameSpeed", "FAST", stretch, 1.4f}, {"gameSpeed", "slow", stretch, 0.6f},
        {"gameSpeed", "Very Slow", stretch, 0.6f},
        // Codes that no key or button gives are read as no key.
        {"keyLeft", "255", left, 255}, {"keyLeft", "1024", left, 1024}, {"keyLeft", "300", left, 0},
        {"keyLeft", "257", left, 0},   {"keyLeft", "-5", left, 0},
    };
    for (const Case& c : cases) {
        loadOne(g, c.key, c.text);
        EXPECT_FLOAT_EQ(c.read(g), c.expected) << c.key << " " << c.text;
    }

    const int bytes[] = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
    for (int step = 0; step <= 10; ++step) {
        for (const char* key : {"masterVolume", "effectsVolume", "musicVolume"}) {
            loadOne(g, key, std::to_string(step));
        }
        EXPECT_EQ(std::vector<int>({g._masterVolume, g._effectsVolume, g._musicVolume}),
                  std::vector<int>(3, bytes[step]));
    }
}

TEST_F(ControlsGL, TrailReflectionsDarkenTheTrailColoursOnce) {
    Game& g = game();
    for (const auto& [text, reflections] :
         std::vector<std::pair<std::string, bool> >{{"", true}, {"1", true}, {"0", false}}) {
        const RGBA<float> orange(0.8f, 0.4f, 0.2f, 1.0f);
        const unsigned char triplet = g._octree.createColorTriplet(orange, orange, orange);
        loadOne(g, text.empty() ? "fov" : "trailReflection", text.empty() ? "90" : text);
        EXPECT_EQ(g._octree.renderReflections(), reflections) << text;
        const RGBA<float>& shade = Vortel::OcTree::cubeRenderer().colors().triplet(triplet).shadeFloats[1];
        EXPECT_FLOAT_EQ(shade.r, reflections ? 0.4f : 0.8f) << text;
        EXPECT_FLOAT_EQ(shade.a, 1.0f);
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
}

TEST_F(ControlsGL, RedefiningAKeyTakesItFromItsOldActionAndSavesAllNine) {
    Game& g = game();
    g.defaultControls();
    g.refreshRedefineKeysMenu();  // no menu yet: the names only
    EXPECT_EQ(g._keyNames[4], "MOUSE 3");

    g._menuRedefineKeys = std::make_unique<Stelkor::SimpleMenu>(g._menuItemPrototype, g._menuItemHighlightPrototype);
    const char* const labels[] = {"Turn Left", "Turn Right", "Turn Up", "Turn Down", "Boost",
                                  "Fire",      "EMP Blast",  "Pause",   "Mouselook"};
    for (const char* label : labels) {
        g._menuRedefineKeys->addItem(label, false).addValue("old", true).addValue("older", false);
    }
    const auto shown = [&g, &labels] {
        std::string text;
        for (const char* label : labels) {
            const Stelkor::SimpleMenu::Item& item = *g._menuRedefineKeys->item(label);
            text += item.values.at(static_cast<std::size_t>(item.selectedValueID())) +
                    (item.valueCount() == 1 ? ";" : "+;");
        }
        return text;
    };
    g.refreshRedefineKeysMenu();
    EXPECT_EQ(shown(), "LEFT ARROW;RIGHT ARROW;UP ARROW;DOWN ARROW;MOUSE 3;MOUSE 1;ENTER;RIGHT CTRL;MOUSE 2;");

    // Fire redefined with the EMP key, as the menu does it.
    g.unbindKey(28);
    g._keyFire = 28;
    g.refreshRedefineKeysMenu();
    g.saveControls();
    EXPECT_EQ(shown(),
              "LEFT ARROW;RIGHT ARROW;UP ARROW;DOWN ARROW;MOUSE 3;ENTER;*** UNDEFINED ***;RIGHT CTRL;MOUSE 2;");
    Settings saved;
    ASSERT_TRUE(saved.load("data/vasp.conf", false));
    std::vector<unsigned int> written;
    for (const char* key : {"keyLeft", "keyRight", "keyUp", "keyDown", "keyBoost", "keyFire", "keyNuke", "keyPause",
                            "keyMouselook"}) {
        written.push_back(saved.exists(key) ? static_cast<unsigned int>(saved[key].i) : 9999u);
    }
    EXPECT_EQ(written, bindings(g));

    // A file that cannot be written costs nothing but the file.
    g._settingsPath = "no such folder/vasp.conf";
    g.unbindKey(203);
    g._keyBoost = 203;
    g.saveControls();
    EXPECT_EQ(bindings(g), (std::vector<unsigned int>{0, 205, 200, 208, 203, 28, 0, 157, 512}));
}

// Keeps the input messages the game is sent.
class RecordingGame : public testgame::TestGame {
public:
    using TestGame::TestGame;
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
    for (const unsigned char state : {0x80, 0x00}) {
        for (const unsigned int key : {203u, 157u, 1u, 63u, unbound}) {
            g.device.keys.at(key) = state;
        }
        g.device.mouse.buttons = {state, state, 0, 0};  // fire, and mouselook no longer
        g.device.mouse.x = 5;
        g.received.clear();
        g._input.update();
        const UINT key = state != 0 ? g._wmKeyDownDI : g._wmKeyUpDI;
        const UINT move = g._wmMouseMoveDI;
        EXPECT_EQ(g.received, (std::vector<std::pair<UINT, unsigned int> >{
                                  {key, 203}, {key, 157}, {key, 1}, {key, 63}, {key, 256}, {move, 0}}));
    }
}

}  // namespace
