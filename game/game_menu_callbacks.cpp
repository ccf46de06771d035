// The menu items' callbacks (_menucallback_*), in this order: actions (quit, start, resume,
// redefine a key, train a trick, scores, credits), display settings, colour scheme and
// speed, controls and sound; a setting's callback stores it and saves "data/vasp.conf".

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "game/game.h"
#include "world/cuberenderer.h"
#include "world/starfield.h"

namespace Vortel {

namespace {

Game& gameOf(void* game) { return *static_cast<Game*>(game); }

bool switchedOn(const std::string& value) { return value == "ON"; }

// The items offer only numbers; a text that is none (or has more after the number) reads as
// no value, and the setting then stays as it is.
bool parseLevel(const std::string& value, int& level) {
    const char* const end = value.data() + value.size();
    const std::from_chars_result read = std::from_chars(value.data(), end, level);
    return read.ec == std::errc() && read.ptr == end;
}

bool parseFloat(const std::string& value, float& number) {
    const char* const end = value.data() + value.size();
    const std::from_chars_result read = std::from_chars(value.data(), end, number);
    return read.ec == std::errc() && read.ptr == end;
}

// The byte a menu level 0..10 stands for: 0, 25, 51, ... 255.
unsigned char volumeByte(int level) { return static_cast<unsigned char>(level * 25.5); }

// A setting the menu switches: member, key and file agree afterwards.
void storeSwitch(Game& g, bool Game::*member, const char* key, const std::string& value) {
    g.*member = switchedOn(value);
    g._settings[key] = g.*member ? 1 : 0;
    // A file that cannot be written keeps the old one; the setting still holds for this run.
    g.saveSettings();
}

// Reads a volume level held to 0..10 and writes it; false for a text that is no number.
bool storeVolume(Game& g, unsigned char Game::*member, const char* key, const std::string& value) {
    int level = 0;
    if (!parseLevel(value, level)) {
        return false;
    }
    level = std::clamp(level, 0, 10);
    g.*member = volumeByte(level);
    g._settings[key] = level;
    g.saveSettings();
    return true;
}

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
    Game& g = gameOf(game);
    g._cockpitHud = value == "HUD";
    g._settings["cockpitHud"] = g._cockpitHud ? 1 : 0;
    g.saveSettings();
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
    g._settings["fullscreen"] = g.fullscreen() ? 1 : 0;
    g.saveSettings();
}

void Game::_menucallback_AdjustFov(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    float fov = 0.0f;
    if (!parseFloat(value, fov)) {
        return;
    }
    g._fov = fov;
    g._camera.fov(g._fov);
    g._settings["fov"] = g._fov;
    g.saveSettings();
}

void Game::_menucallback_displayChaserNames(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_displayChaserNames, "displayChaserNames", value);
}
void Game::_menucallback_displayChaserTypes(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_displayChaserTypes, "displayChaserTypes", value);
}
void Game::_menucallback_displayChaserHitpoints(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_displayChaserHitpoints, "displayChaserHitpoints", value);
}
void Game::_menucallback_displayChaserBoundingBoxes(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_displayChaserBoundingBoxes, "displayChaserBoundingBoxes", value);
}
void Game::_menucallback_displayDestroyedChaserList(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_displayDestroyedChaserList, "displayDestroyedChaserList", value);
}
void Game::_menucallback_displaySurroundDetector(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_displaySurroundDetector, "displaySurroundDetector", value);
}
void Game::_menucallback_displayFps(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_displayFps, "displayFps", value);
}

void Game::_menucallback_trailReflection(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    const bool on = switchedOn(value);
    // Reflections brighten the trails, so their colours are darkened while reflections show,
    // and only on a change: switched on twice they darken once.
    if (on && !g._trailReflection) {
        OcTree::cubeRenderer().scaleTrailColors(g._trailReflectionColorScale);
        g._trailReflection = true;
    } else if (!on && g._trailReflection) {
        OcTree::cubeRenderer().scaleTrailColors(1.0f / g._trailReflectionColorScale);
        g._trailReflection = false;
    }
    g._octree.renderReflections(g._trailReflection);
    g._settings["trailReflection"] = g._trailReflection ? 1 : 0;
    g.saveSettings();
}

void Game::_menucallback_debrisParticleDensity(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    int level = 0;
    if (!parseLevel(value, level)) {
        return;
    }
    g._debrisParticleDensity = std::clamp(level, 0, 10);
    g._settings["debrisParticleDensity"] = g._debrisParticleDensity;
    g.saveSettings();
    if (g._starfield) {
        g._starfield->starCount(g._debrisParticleDensity * g._starsPerDensityStep);
    }
}

void Game::_menucallback_effectsParticleDensity(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    int level = 0;
    if (!parseLevel(value, level)) {
        return;
    }
    g._effectsParticleDensity = std::clamp(static_cast<float>(level) / 10.0f, 0.0f, 1.0f);
    g._settings["effectsParticleDensity"] = g._effectsParticleDensity;
    g.saveSettings();
}

// ---- scheme and speed ------------------------------------------------------------------------
// Both write the key of what is in force afterwards, and nothing while no entry is.

void Game::_menucallback_colorScheme(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    g.applyColorScheme(value);
    if (g._currentColorScheme != g._colorSchemes.end()) {
        g._settings["colorScheme"] = g._currentColorScheme->first;
        g.saveSettings();
    }
}

void Game::_menucallback_gameSpeed(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    g.applyGameSpeed(value);
    if (g._currentGameSpeed != g._gameSpeeds.end()) {
        g._settings["gameSpeed"] = g._currentGameSpeed->first;
        g.saveSettings();
    }
}

// ---- controls --------------------------------------------------------------------------------

void Game::_menucallback_invertMouse(const std::string&, const std::string& value, void* game) {
    storeSwitch(gameOf(game), &Game::_invertMouse, "invertMouse", value);
}

void Game::_menucallback_mouseSensitivity(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    int level = 0;
    if (!parseLevel(value, level)) {
        return;
    }
    // In tenths, and never so low that the mouse stops turning the view.
    const float sensitivity = static_cast<float>(level) / 10.0f;
    g._mouseSensitivity = sensitivity < 0.1f ? 0.1f : sensitivity;
    g._settings["mouseSensitivity"] = level;
    g.saveSettings();
}

void Game::_menucallback_aimingMode(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (value == "MOUSELOOK") {
        g._mouselookEnabled = true;
        g._pointAndClickEnabled = false;
        // The cursor waits at the centre of the play view, above the bottom bar.
        if (g._aimCursorSprite) {
            g._aimCursorSprite->pos(static_cast<float>(g._width / 2), (g._height + g._barPlayHeight) * 0.5f);
        }
    } else if (value == "POINT AND CLICK") {
        g._mouselookEnabled = false;
        g._pointAndClickEnabled = true;
    } else {
        g._mouselookEnabled = true;
        g._pointAndClickEnabled = true;
    }
    g._settings["mouselookEnabled"] = g._mouselookEnabled ? 1 : 0;
    g._settings["pointAndClickEnabled"] = g._pointAndClickEnabled ? 1 : 0;
    g.saveSettings();
}

// ---- sound -----------------------------------------------------------------------------------
// Each lets the new volume be heard at once.

void Game::_menucallback_masterVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (storeVolume(g, &Game::_masterVolume, "masterVolume", value)) {
        FSOUND_SetSFXMasterVolume(g._masterVolume);
    }
}

void Game::_menucallback_effectsVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (storeVolume(g, &Game::_effectsVolume, "effectsVolume", value)) {
        g.playSound("lazer", g._effectsVolume);
        FSOUND_SetVolume(g._humChannel, g._effectsVolume);
        g.setBotHumVolume(g._effectsVolume);
    }
}

void Game::_menucallback_musicVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (storeVolume(g, &Game::_musicVolume, "musicVolume", value) && g._musicChannel != -1) {
        FSOUND_SetVolume(g._musicChannel, g._musicVolume);
    }
}

void Game::_menucallback_voiceVolume(const std::string&, const std::string& value, void* game) {
    Game& g = gameOf(game);
    if (storeVolume(g, &Game::_voiceVolume, "voiceVolume", value)) {
        g.playSound("score", g._voiceVolume);
    }
}

}  // namespace Vortel
