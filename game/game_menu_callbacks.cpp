// The menu items' callbacks (_menucallback_*), in this order: actions (quit, start, resume,
// redefine a key, train a trick, scores, credits), display settings, colour scheme and
// speed, controls and sound; a setting's callback stores it through its row of the table in
// game/usersettings.h (changeSetting) and saves "data/vasp.conf".

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "game/game.h"
#include "game/usersettings.h"
#include "world/cuberenderer.h"

namespace Vortel {

namespace {

Game& gameOf(void* game) { return *static_cast<Game*>(game); }

// The items offer only numbers; a text that is none (or has more after the number) reads as
// no value, and the setting then stays as it is.
template <typename Number>
bool parseNumber(const std::string& value, Number& number) {
    const char* const end = value.data() + value.size();
    const std::from_chars_result read = std::from_chars(value.data(), end, number);
    return read.ec == std::errc() && read.ptr == end;
}

// Reads the value text into the setting, writes the setting as the file holds it and saves the
// file; false when the text gives no value, and nothing changes. A file that cannot be written
// keeps the old one; the setting still holds for this run.
bool changeSetting(Game& g, const UserSetting& row, const std::string& value) {
    int level = 0;
    switch (row.kind) {
    case SettingKind::FieldOfView: {
        float fov = 0.0f;
        if (!parseNumber(value, fov)) {
            return false;
        }
        g.*row.real = fov;
        g._camera.fov(fov);
        g._settings[row.key] = fov;
        break;
    }
    case SettingKind::DisplayMode:
        // The mode in force, whatever was asked for.
        g._settings[row.key] = g.fullscreen() ? 1 : 0;
        break;
    case SettingKind::ColorScheme:
        g.applyColorScheme(value);
        if (g._currentColorScheme == g._colorSchemes.end()) {
            return false;
        }
        g._settings[row.key] = g._currentColorScheme->first;
        break;
    case SettingKind::TrailReflection: {
        bool& shown = g.*row.flag;
        const bool on = value == row.onText;
        // Reflections brighten the trails, so their colours are darkened while reflections
        // show, and only on a change: switched on twice they darken once.
        if (on && !shown) {
            OcTree::cubeRenderer().scaleTrailColors(g._trailReflectionColorScale);
            shown = true;
        } else if (!on && shown) {
            OcTree::cubeRenderer().scaleTrailColors(1.0f / g._trailReflectionColorScale);
            shown = false;
        }
        g._octree.renderReflections(shown);
        g._settings[row.key] = shown ? 1 : 0;
        break;
    }
    case SettingKind::Level:
        if (!parseNumber(value, level)) {
            return false;
        }
        g.*row.whole = std::clamp(level, row.min, row.max);
        g._settings[row.key] = g.*row.whole;
        break;
    case SettingKind::Fraction:
        if (!parseNumber(value, level)) {
            return false;
        }
        g.*row.real = std::clamp(static_cast<float>(level) / 10.0f, 0.0f, 1.0f);
        g._settings[row.key] = g.*row.real;
        break;
    case SettingKind::Switch:
        g.*row.flag = value == row.onText;
        g._settings[row.key] = g.*row.flag ? 1 : 0;
        break;
    case SettingKind::Tenths: {
        if (!parseNumber(value, level)) {
            return false;
        }
        // Never so low that the mouse stops turning the view.
        const float tenths = static_cast<float>(level) / 10.0f;
        g.*row.real = tenths < 0.1f ? 0.1f : tenths;
        g._settings[row.key] = level;
        break;
    }
    case SettingKind::GameSpeed:
        g.applyGameSpeed(value);
        if (g._currentGameSpeed == g._gameSpeeds.end()) {
            return false;
        }
        g._settings[row.key] = g._currentGameSpeed->first;
        break;
    case SettingKind::Bindings: return false;
    case SettingKind::Volume:
        if (!parseNumber(value, level)) {
            return false;
        }
        level = heldVolumeLevel(level);
        g.*row.byte = volumeByte(level);
        g._settings[row.key] = level;
        break;
    }
    g.saveSettings();
    if (row.follow != nullptr) {
        row.follow(g);
    }
    return true;
}

template <typename Member>
bool change(void* game, Member Game::*member, const std::string& value) {
    return changeSetting(gameOf(game), userSettingOf(member), value);
}

}  // namespace

void changeDisplaySwitch(const std::string& item, const std::string& value, void* game) {
    for (const UserSetting& row : userSettings) {
        if (row.label != nullptr && item == row.label) {
            changeSetting(gameOf(game), row, value);
        }
    }
}

namespace {

// The binding waits for the next key: its item shows only the prompt, and every key and
// button is heard so that whatever comes next reaches the menu's key handler.
void redefineKey(Game& g, unsigned int Game::*binding) {
    g._keyBeingRedefined = &(g.*binding);
    if (g._currentMenu != nullptr && g._currentMenu->itemCount() > 0) {
        g._currentMenu->selectedItem().clearValues().addValue(g._pressAnyKeyText, true);
    }
    g._input.trackAllKeys(true);
}

}  // namespace

// ---- actions ---------------------------------------------------------------------------------

void Game::_menucallback_quit(const std::string&, const std::string&, void* game) {
    static_cast<Game*>(game)->_quit = true;
}

void Game::_menucallback_startGame(const std::string&, const std::string&, void* game) { gameOf(game).startGame(); }

void Game::_menucallback_resumeGame(const std::string&, const std::string&, void* game) { gameOf(game).resumeGame(); }

void Game::_menucallback_quitCurrentGame(const std::string&, const std::string&, void* game) {
    Game& g = gameOf(game);
    g.mainMenu();
    // Leaving trick training shows the trick menu it was started from again.
    if (g._trainedTrick != nullptr) {
        g._currentMenu = g._trickTrainerReturnMenu;
    }
}

void Game::_menucallback_redefineKeyLeft(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyLeft);
}
void Game::_menucallback_redefineKeyRight(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyRight);
}
void Game::_menucallback_redefineKeyUp(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyUp);
}
void Game::_menucallback_redefineKeyDown(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyDown);
}
void Game::_menucallback_redefineKeyBoost(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyBoost);
}
void Game::_menucallback_redefineKeyFire(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyFire);
}
void Game::_menucallback_redefineKeyNuke(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyNuke);
}
void Game::_menucallback_redefineKeyPause(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyPause);
}
void Game::_menucallback_redefineKeyMouselook(const std::string&, const std::string&, void* game) {
    redefineKey(gameOf(game), &Game::_keyMouselook);
}

void Game::_menucallback_redefineDefaults(const std::string&, const std::string&, void* game) {
    Game& g = gameOf(game);
    g.defaultControls();
    g.refreshRedefineKeysMenu();
    g.saveControls();
}

void Game::_menucallback_trainTrick(const std::string& item, const std::string&, void* game) {
    Game& g = gameOf(game);
    Trick* const trick = g._trickLibrary.trickByNameSpaceSubname(item);
    // The trick menus offer only the library's own names; anything else starts no training.
    if (trick == nullptr) {
        return;
    }
    g._trickTrainerReturnMenu = g._currentMenu;
    g.startTrickTrainer(trick);
}

void Game::_menucallback_viewScores(const std::string&, const std::string&, void* game) { gameOf(game).viewScores(); }

void Game::_menucallback_credits(const std::string&, const std::string&, void* game) { gameOf(game).credits(); }

// ---- display settings ------------------------------------------------------------------------

void Game::_menucallback_cockpitType(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_cockpitHud, value);
}

void Game::_menucallback_displayMode(const std::string& item, const std::string& value, void* game) {
    Game& g = gameOf(game);
    try {
        g.fullscreen(value == "FULLSCREEN");
    } catch (const std::runtime_error& failure) {
        // The game goes on in the mode it was in, and the item shows that mode again.
        g.reportDisplayModeFailure(failure);
        Stelkor::SimpleMenu::Item* const shown = g._currentMenu != nullptr ? g._currentMenu->item(item) : nullptr;
        if (shown != nullptr) {
            const std::string mode = g.fullscreen() ? "FULLSCREEN" : "WINDOWED";
            const auto found = std::find(shown->values.begin(), shown->values.end(), mode);
            if (found != shown->values.end()) {
                shown->selectedValueID(static_cast<int>(found - shown->values.begin()));
            }
        }
    }
    changeSetting(g, userSettingOf(SettingKind::DisplayMode), value);
}

void Game::_menucallback_AdjustFov(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_fov, value);
}

void Game::_menucallback_displayChaserNames(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_displayChaserNames, value);
}
void Game::_menucallback_displayChaserTypes(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_displayChaserTypes, value);
}
void Game::_menucallback_displayChaserHitpoints(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_displayChaserHitpoints, value);
}
void Game::_menucallback_displayChaserBoundingBoxes(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_displayChaserBoundingBoxes, value);
}
void Game::_menucallback_displayDestroyedChaserList(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_displayDestroyedChaserList, value);
}
void Game::_menucallback_displaySurroundDetector(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_displaySurroundDetector, value);
}
void Game::_menucallback_displayFps(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_displayFps, value);
}

void Game::_menucallback_trailReflection(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_trailReflection, value);
}

void Game::_menucallback_debrisParticleDensity(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_debrisParticleDensity, value);
}

void Game::_menucallback_effectsParticleDensity(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_effectsParticleDensity, value);
}

// ---- scheme and speed ------------------------------------------------------------------------
// Both write the key of what is in force afterwards, and nothing while no entry is.

void Game::_menucallback_colorScheme(const std::string&, const std::string& value, void* game) {
    changeSetting(gameOf(game), userSettingOf(SettingKind::ColorScheme), value);
}

void Game::_menucallback_gameSpeed(const std::string&, const std::string& value, void* game) {
    changeSetting(gameOf(game), userSettingOf(SettingKind::GameSpeed), value);
}

// ---- controls --------------------------------------------------------------------------------

void Game::_menucallback_invertMouse(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_invertMouse, value);
}

void Game::_menucallback_mouseSensitivity(const std::string&, const std::string& value, void* game) {
    change(game, &Game::_mouseSensitivity, value);
}

void Game::_menucallback_aimingMode(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (value == "MOUSELOOK") {
        g._mouselookEnabled = true;
        g._pointAndClickEnabled = false;
        // The cursor waits at the centre of the play view, above the bottom bar.
        g.centreAimCursor(g._barPlayHeight);
    } else if (value == "POINT AND CLICK") {
        g._mouselookEnabled = false;
        g._pointAndClickEnabled = true;
    } else {
        g._mouselookEnabled = true;
        g._pointAndClickEnabled = true;
    }
    for (bool Game::*member : {&Game::_mouselookEnabled, &Game::_pointAndClickEnabled}) {
        g._settings[userSettingOf(member).key] = g.*member ? 1 : 0;
    }
    g.saveSettings();
}

// ---- sound -----------------------------------------------------------------------------------
// Each lets the new volume be heard at once.

void Game::_menucallback_masterVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (change(game, &Game::_masterVolume, value)) {
        FSOUND_SetSFXMasterVolume(g._masterVolume);
    }
}

void Game::_menucallback_effectsVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (change(game, &Game::_effectsVolume, value)) {
        g.playSound("lazer", g._effectsVolume);
        FSOUND_SetVolume(g._humChannel, g._effectsVolume);
        g.setBotHumVolume(g._effectsVolume);
    }
}

void Game::_menucallback_musicVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (change(game, &Game::_musicVolume, value) && g._musicChannel != -1) {
        FSOUND_SetVolume(g._musicChannel, g._musicVolume);
    }
}

void Game::_menucallback_voiceVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (change(game, &Game::_voiceVolume, value)) {
        g.playSound("score", g._voiceVolume);
    }
}

}  // namespace Vortel
