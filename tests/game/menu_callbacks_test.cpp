#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "engine2d/textsprite.h"
#include "platform/fsound.h"
#include "platform/settings.h"
#include "tests/game/menu_fixture.h"
#include "world/cuberenderer.h"
#include "world/starfield.h"

namespace {

using testmenu::itemAt;
using Vortel::Game;
using Stelkor::SimpleMenu;
using Callback = SimpleMenu::ActionCallback;
using MenuCallbacksGL = testmenu::MenuFixture;

Settings writtenFile() {
    Settings file;
    file.load("data/vasp.conf", false);
    return file;
}

void call(Game& g, Callback callback, const std::string& value, const std::string& item = "") {
    callback(item, value, &g);
}

// Every member a setting callback writes, as one line to compare.
std::string settingsOf(Game& g) {
    std::ostringstream s;
    s << "hud " << g._cockpitHud << " full " << g.fullscreen() << " fov " << g._fov << " names "
      << g._displayChaserNames << " types " << g._displayChaserTypes << " hp " << g._displayChaserHitpoints
      << " boxes " << g._displayChaserBoundingBoxes << " dead " << g._displayDestroyedChaserList << " surround "
      << g._displaySurroundDetector << " fps " << g._displayFps << " refl " << g._trailReflection << " debris "
      << g._debrisParticleDensity << " effects " << g._effectsParticleDensity << " scheme "
      << g._currentColorScheme->first << " speed " << g._currentGameSpeed->first << " invert " << g._invertMouse
      << " sens " << g._mouseSensitivity << " look " << g._mouselookEnabled << " click " << g._pointAndClickEnabled
      << " vol " << int(g._masterVolume) << "/" << int(g._effectsVolume) << "/" << int(g._musicVolume) << "/"
      << int(g._voiceVolume);
    return s.str();
}

TEST_F(MenuCallbacksGL, EverySettingWrittenReadsBackIntoAFreshGame) {
    Game& g = loadedGame();
    const struct {
        Callback callback;
        const char* value;
    } steps[] = {
        {&Game::_menucallback_cockpitType, "SIMPLE BAR"},
        {&Game::_menucallback_displayMode, "WINDOWED"},
        {&Game::_menucallback_AdjustFov, "55"},
        {&Game::_menucallback_displayChaserNames, "OFF"},
        {&Game::_menucallback_displayChaserTypes, "OFF"},
        {&Game::_menucallback_displayChaserHitpoints, "OFF"},
        {&Game::_menucallback_displayChaserBoundingBoxes, "OFF"},
        {&Game::_menucallback_displayDestroyedChaserList, "OFF"},
        {&Game::_menucallback_displaySurroundDetector, "ON"},
        {&Game::_menucallback_displayFps, "off"},  // only "ON" is on
        {&Game::_menucallback_trailReflection, "OFF"},
        {&Game::_menucallback_debrisParticleDensity, "7"},
        {&Game::_menucallback_effectsParticleDensity, "3"},
        {&Game::_menucallback_colorScheme, "spectrum_dark"},
        {&Game::_menucallback_gameSpeed, "FAST"},
        {&Game::_menucallback_invertMouse, "OFF"},
        {&Game::_menucallback_mouseSensitivity, "7"},
        {&Game::_menucallback_aimingMode, "POINT AND CLICK"},
        {&Game::_menucallback_masterVolume, "5"},
        {&Game::_menucallback_effectsVolume, "9"},
        {&Game::_menucallback_musicVolume, "2"},
        {&Game::_menucallback_voiceVolume, "0"},
    };
    for (const auto& step : steps) {
        call(g, step.callback, step.value);
    }
    const std::string expected =
        "hud 0 full 0 fov 55 names 0 types 0 hp 0 boxes 0 dead 0 surround 1 fps 0 refl 0 debris 7 effects 0.3 "
        "scheme spectrum_dark speed fast invert 0 sens 0.7 look 0 click 1 vol 127/229/51/0";
    ASSERT_EQ(settingsOf(g), expected);
    // The trail colours are back as the scheme gave them, for the next game of this process.
    call(g, &Game::_menucallback_trailReflection, "ON");
    call(g, &Game::_menucallback_trailReflection, "OFF");

    menuGame.reset();
    Game& fresh = game();
    fresh.setupColorSchemes();
    fresh.setupSpeeds();
    fresh.loadSettings();
    EXPECT_EQ(settingsOf(fresh), expected);
}

TEST_F(MenuCallbacksGL, LevelsBecomeTheirValuesAndTheFileKeepsTheMenusNumbers) {
    testmenu::MenuGame& g = loadedGame();
    g._musicChannel = -1;

    call(g, &Game::_menucallback_masterVolume, "5");
    EXPECT_EQ(g._masterVolume, 127);
    EXPECT_EQ(FSOUND_GetSFXMasterVolume(), 127);
    EXPECT_EQ(writtenFile()["masterVolume"].text, "5");
    call(g, &Game::_menucallback_masterVolume, "10");
    EXPECT_EQ(g._masterVolume, 255);
    // Out of the menu's range: held to it, and written so.
    call(g, &Game::_menucallback_masterVolume, "14");
    EXPECT_EQ(g._masterVolume, 255);
    EXPECT_EQ(writtenFile()["masterVolume"].text, "10");

    call(g, &Game::_menucallback_mouseSensitivity, "0");
    EXPECT_FLOAT_EQ(g._mouseSensitivity, 0.1f);
    EXPECT_EQ(writtenFile()["mouseSensitivity"].text, "0");
    call(g, &Game::_menucallback_mouseSensitivity, "10");
    EXPECT_FLOAT_EQ(g._mouseSensitivity, 1.0f);

    call(g, &Game::_menucallback_effectsParticleDensity, "3");
    EXPECT_FLOAT_EQ(g._effectsParticleDensity, 0.3f);
    EXPECT_EQ(writtenFile()["effectsParticleDensity"].text, "0.3");

    call(g, &Game::_menucallback_debrisParticleDensity, "0");
    EXPECT_EQ(g._starfield->numParticles(), 0);
    call(g, &Game::_menucallback_debrisParticleDensity, "10");
    EXPECT_EQ(g._starfield->numParticles(), 1000);
    EXPECT_EQ(g._debrisParticleDensity, 10);

    // With no music playing only the member and the file change.
    g.sounds.clear();
    g.volumes.clear();
    call(g, &Game::_menucallback_musicVolume, "4");
    EXPECT_EQ(g._musicVolume, 102);
    EXPECT_EQ(writtenFile()["musicVolume"].i, 4);
    // The effects and voice volumes let themselves be heard at the new level.
    call(g, &Game::_menucallback_effectsVolume, "2");
    call(g, &Game::_menucallback_voiceVolume, "8");
    EXPECT_EQ(g.sounds, (std::vector<std::string>{"lazer", "score"}));
    EXPECT_EQ(g.volumes, (std::vector<unsigned char>{51, 204}));

    // A text that is no number changes nothing and writes nothing.
    std::filesystem::remove("data/vasp.conf");
    for (Callback numeric : {&Game::_menucallback_masterVolume, &Game::_menucallback_mouseSensitivity,
                             &Game::_menucallback_debrisParticleDensity, &Game::_menucallback_AdjustFov}) {
        call(g, numeric, "7x");
    }
    EXPECT_EQ(g._masterVolume, 255);
    EXPECT_FLOAT_EQ(g._mouseSensitivity, 1.0f);
    EXPECT_EQ(g._starfield->numParticles(), 1000);
    EXPECT_FLOAT_EQ(g._fov, 90.0f);
    EXPECT_FALSE(std::filesystem::exists("data/vasp.conf"));
}

TEST_F(MenuCallbacksGL, MouselookCentresTheCursorAndReflectionsDarkenTrailsOnce) {
    Game& g = loadedGame();
    ASSERT_TRUE(g._aimCursorSprite);
    g._aimCursorSprite->pos(3.0f, 4.0f);
    call(g, &Game::_menucallback_aimingMode, "COMBINED");
    EXPECT_EQ(g._aimCursorSprite->pos(), Vector2<float>(3.0f, 4.0f));
    call(g, &Game::_menucallback_aimingMode, "MOUSELOOK");
    EXPECT_EQ(g._aimCursorSprite->pos(), Vector2<float>(400.0f, 310.0f));
    EXPECT_TRUE(g._mouselookEnabled);
    EXPECT_FALSE(g._pointAndClickEnabled);

    const Vortel::CubeColors& colors = Vortel::OcTree::cubeRenderer().colors();
    const auto shade = [&] { return colors.triplet(colors.trail(g._player._trailColor).start).shadeFloats[0]; };
    call(g, &Game::_menucallback_trailReflection, "OFF");
    EXPECT_FALSE(g._octree.renderReflections());
    const RGBA<float> plain = shade();
    ASSERT_GT(plain.r + plain.g + plain.b, 0.0f);
    for (int i = 0; i < 2; ++i) {
        call(g, &Game::_menucallback_trailReflection, "ON");
        EXPECT_FLOAT_EQ(shade().r, plain.r * 0.5f);
        EXPECT_FLOAT_EQ(shade().g, plain.g * 0.5f);
    }
    EXPECT_TRUE(g._octree.renderReflections());
    EXPECT_EQ(writtenFile()["trailReflection"].i, 1);
    call(g, &Game::_menucallback_trailReflection, "OFF");
    EXPECT_FLOAT_EQ(shade().r, plain.r);
    // Leaves the colours as the load made them for later games of this process.
    call(g, &Game::_menucallback_trailReflection, "ON");
}

class FailingDisplay : public testmenu::MenuGame {
public:
    using MenuGame::MenuGame;

protected:
    bool switchDisplayMode(bool) override { return false; }
};

TEST_F(MenuCallbacksGL, AFailedDisplaySwitchKeepsTheGameWindowedAndSaysSo) {
    Game& g = loadedGame<FailingDisplay>();
    g.setCurrentMenu(g._menuDisplay.get());
    SimpleMenu::Item& mode = itemAt(*g._menuDisplay, 0);
    ASSERT_EQ(mode.name, "DISPLAY MODE");
    EXPECT_NO_THROW(g.defaultMenuAction());
    EXPECT_FALSE(g.fullscreen());
    EXPECT_EQ(writtenFile()["fullscreen"].text, "0");
    EXPECT_EQ(mode.values[mode.selectedValue], "WINDOWED");
    EXPECT_EQ(mode.highlight->text, "DISPLAY MODE - WINDOWED");
    EXPECT_EQ(g._notice.text(), "FULL SCREEN NOT AVAILABLE - PLAYING IN A WINDOW\n");
}

TEST_F(MenuCallbacksGL, ActionsEnterTheirStatesAndTrickTrainingReturnsToItsMenu) {
    Game& g = loadedGame();
    const struct {
        Callback callback;
        Game::State state;
    } actions[] = {
        {&Game::_menucallback_startGame, Game::STATE_PLAY},
        {&Game::_menucallback_viewScores, Game::STATE_VIEW_SCORES},
        {&Game::_menucallback_credits, Game::STATE_CREDITS},
        {&Game::_menucallback_resumeGame, Game::STATE_PLAY},
        {&Game::_menucallback_quitCurrentGame, Game::STATE_MAIN_MENU},
    };
    for (const auto& action : actions) {
        call(g, action.callback, "");
        EXPECT_EQ(g._state, action.state);
    }

    // A trick chosen from its sub-menu; quitting the training shows that sub-menu again.
    SimpleMenu* const submenu = g._trickSubmenus.front().get();
    g.setCurrentMenu(submenu);
    const std::string trickName = itemAt(*submenu, 0).name;
    call(g, &Game::_menucallback_trainTrick, "", trickName);
    EXPECT_EQ(g._state, Game::STATE_TRICK_TRAINER);
    EXPECT_EQ(g._trainedTrick, g._trickLibrary.trickByNameSpaceSubname(trickName));
    g.setCurrentMenu(g._menuIngame.get());
    call(g, &Game::_menucallback_quitCurrentGame, "");
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    EXPECT_EQ(g._currentMenu, submenu);

    // A name that is no trick starts nothing.
    g._trainedTrick = nullptr;
    call(g, &Game::_menucallback_trainTrick, "", "NO SUCH TRICK");
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    EXPECT_EQ(g._trainedTrick, nullptr);

    call(g, &Game::_menucallback_quit, "");
    EXPECT_TRUE(g._quit);
}

TEST_F(MenuCallbacksGL, AWaitingBindingShowsOnlyThePromptAndDefaultsAreRestoredAndSaved) {
    Game& g = loadedGame();
    g.setCurrentMenu(g._menuRedefineKeys.get());
    SimpleMenu::Item& fire = itemAt(*g._menuRedefineKeys, 5);
    ASSERT_EQ(fire.name, "Fire");
    fire.addValue("SPARE", false);
    g.defaultMenuAction();
    EXPECT_EQ(g._keyBeingRedefined, &g._keyFire);
    EXPECT_EQ(fire.values, std::vector<std::string>{"(press any key)"});
    EXPECT_EQ(fire.highlight->text, "Fire = (press any key)");
    // Every key and button is heard now, even the fourth mouse button, which the menus
    // otherwise ignore: it becomes the new binding.
    menuGame->device.mouse.buttons.at(3) = 0x80;
    g._input.update();
    EXPECT_EQ(g._keyFire, 0x400u);
    EXPECT_EQ(g._keyBeingRedefined, nullptr);

    unsigned int Game::*const bindings[] = {&Game::_keyLeft, &Game::_keyRight, &Game::_keyUp,
                                            &Game::_keyDown, &Game::_keyBoost, &Game::_keyFire,
                                            &Game::_keyNuke, &Game::_keyPause, &Game::_keyMouselook};
    for (unsigned int Game::*binding : bindings) {
        g.*binding = 0;
    }
    call(g, &Game::_menucallback_redefineDefaults, "");
    const unsigned int defaults[] = {203, 205, 200, 208, 768, 256, 28, 157, 512};
    const char* const keys[] = {"keyLeft", "keyRight", "keyUp", "keyDown", "keyBoost",
                                "keyFire", "keyNuke", "keyPause", "keyMouselook"};
    Settings file = writtenFile();
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(keys[i]);
        EXPECT_EQ(g.*bindings[i], defaults[i]);
        EXPECT_EQ(file[keys[i]].i, static_cast<int>(defaults[i]));
    }
    EXPECT_EQ(fire.values, std::vector<std::string>{g._input.keyName(256)});
    EXPECT_EQ(itemAt(*g._menuRedefineKeys, 0).values, std::vector<std::string>{g._input.keyName(203)});
}

}  // namespace
