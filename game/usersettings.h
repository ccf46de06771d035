#ifndef QUELLARIS_GAME_USERSETTINGS_H
#define QUELLARIS_GAME_USERSETTINGS_H

#include <algorithm>
#include <cmath>
#include <string>

#include "engine2d/simplemenu.h"
#include "game/game.h"

namespace Vortel {

// How a setting's value in the settings file reads into the game, and what a change made in
// the menus stores back.
enum class SettingKind {
    FieldOfView,      // float degrees, in whole multiples of 5 within _fovMin.._fovMax; the camera follows
    DisplayMode,      // 1 full screen, 0 a window; no member
    ColorScheme,      // text: a scheme's key or name; the key in force is stored
    TrailReflection,  // 1 or 0; the reflections and the trail colours follow
    Level,            // a whole number held to min..max
    Fraction,         // a float held to 0..1; the menu gives it in tenths
    Switch,           // 1 or 0; the menu's value onText switches on
    Tenths,           // whole tenths, at least 0.1; the menu's level is stored as it is
    GameSpeed,        // text: a preset's key or name; the key in force is stored
    Bindings,         // the nine key bindings of game/keybindings.h, in flight order
    Volume,           // a level 0..10; the game keeps its byte
};

// One user setting. The member is the one of its kind's type; the default is the member's
// value at construction (game.h), or what the set-up makes of it where there is no member.
struct UserSetting {
    const char* key;
    SettingKind kind;
    bool Game::*flag = nullptr;
    int Game::*whole = nullptr;
    float Game::*real = nullptr;
    unsigned char Game::*byte = nullptr;
    int min = 0;
    int max = 0;
    // What else a new value changes.
    void (*follow)(Game&) = nullptr;
    // A switch of the DISPLAY menu: its line there (from 0; -1 for none), label, help, the
    // texts that switch it on and off, and its callback. A switch without a callback of its
    // own is changed by its label.
    int displayLine = -1;
    const char* label = nullptr;
    const char* help = nullptr;
    const char* onText = "ON";
    const char* offText = "OFF";
    Stelkor::SimpleMenu::ActionCallback changed = nullptr;
};

namespace usersettings {

// The starfield shows the debris density.
void showDebrisDensity(Game& game);

constexpr UserSetting plain(const char* key, SettingKind kind) { return {key, kind}; }

constexpr UserSetting switched(const char* key, bool Game::*flag, SettingKind kind = SettingKind::Switch) {
    UserSetting row{key, kind};
    row.flag = flag;
    return row;
}

constexpr UserSetting displaySwitch(const char* key, bool Game::*flag, int line, const char* label, const char* help,
                                    Stelkor::SimpleMenu::ActionCallback changed, const char* onText = "ON",
                                    const char* offText = "OFF") {
    UserSetting row = switched(key, flag);
    row.displayLine = line;
    row.label = label;
    row.help = help;
    row.changed = changed;
    row.onText = onText;
    row.offText = offText;
    return row;
}

constexpr UserSetting level(const char* key, int Game::*whole, int min, int max, void (*follow)(Game&)) {
    UserSetting row{key, SettingKind::Level};
    row.whole = whole;
    row.min = min;
    row.max = max;
    row.follow = follow;
    return row;
}

constexpr UserSetting real(const char* key, float Game::*member, SettingKind kind) {
    UserSetting row{key, kind};
    row.real = member;
    return row;
}

constexpr UserSetting volume(const char* key, unsigned char Game::*byte) {
    UserSetting row{key, SettingKind::Volume};
    row.byte = byte;
    return row;
}

}  // namespace usersettings

// The 32 settings of the settings file, in the order they are read: the colour scheme comes
// before the trail reflections, which darken the scheme's trail colours.
inline constexpr UserSetting userSettings[] = {
    usersettings::real("fov", &Game::_fov, SettingKind::FieldOfView),
    usersettings::plain("fullscreen", SettingKind::DisplayMode),
    usersettings::plain("colorScheme", SettingKind::ColorScheme),
    usersettings::switched("trailReflection", &Game::_trailReflection, SettingKind::TrailReflection),
    usersettings::level("debrisParticleDensity", &Game::_debrisParticleDensity, 0, 10,
                        &usersettings::showDebrisDensity),
    usersettings::real("effectsParticleDensity", &Game::_effectsParticleDensity, SettingKind::Fraction),
    usersettings::displaySwitch("displayChaserNames", &Game::_displayChaserNames, 4, "CHASER NAMES",
                                "Toggle display of chaser names", &Game::_menucallback_displayChaserNames),
    usersettings::switched("displayChaserTypes", &Game::_displayChaserTypes),
    usersettings::displaySwitch("displayChaserHitpoints", &Game::_displayChaserHitpoints, 5, "CHASER HITPOINTS",
                                "Toggle display of chaser hitpoints", &Game::_menucallback_displayChaserHitpoints),
    usersettings::displaySwitch("displayChaserBoundingBoxes", &Game::_displayChaserBoundingBoxes, 6,
                                "CHASER BOUNDING BOXES", "Toggle display of chaser bounding boxes",
                                &Game::_menucallback_displayChaserBoundingBoxes),
    usersettings::displaySwitch("displayDestroyedChaserList", &Game::_displayDestroyedChaserList, 7,
                                "SHOW DESTROYED CHASER LIST",
                                "Toggle display of chaser destroyed list and time to respawn",
                                &Game::_menucallback_displayDestroyedChaserList),
    usersettings::displaySwitch("displaySurroundDetector", &Game::_displaySurroundDetector, 3,
                                "SHOW SURROUND DETECTOR", "Toggle display of surrounding obstacle detector",
                                &Game::_menucallback_displaySurroundDetector),
    usersettings::displaySwitch("displayFps", &Game::_displayFps, 10, "FPS COUNTER",
                                "Toggle display of frames-per-second counter", &Game::_menucallback_displayFps),
    usersettings::switched("invertMouse", &Game::_invertMouse),
    usersettings::real("mouseSensitivity", &Game::_mouseSensitivity, SettingKind::Tenths),
    usersettings::switched("mouselookEnabled", &Game::_mouselookEnabled),
    usersettings::switched("pointAndClickEnabled", &Game::_pointAndClickEnabled),
    usersettings::plain("gameSpeed", SettingKind::GameSpeed),
    usersettings::displaySwitch("cockpitHud", &Game::_cockpitHud, 2, "COCKPIT TYPE", "Select type of cockpit gauges",
                                &Game::_menucallback_cockpitType, "HUD", "SIMPLE BAR"),
    usersettings::plain(nullptr, SettingKind::Bindings),
    usersettings::volume("masterVolume", &Game::_masterVolume),
    usersettings::volume("effectsVolume", &Game::_effectsVolume),
    usersettings::volume("musicVolume", &Game::_musicVolume),
    usersettings::volume("voiceVolume", &Game::_voiceVolume),
};

// The row of a member, or of the one setting of a kind without one.
const UserSetting& userSettingOf(bool Game::*flag);
const UserSetting& userSettingOf(int Game::*whole);
const UserSetting& userSettingOf(float Game::*real);
const UserSetting& userSettingOf(unsigned char Game::*byte);
const UserSetting& userSettingOf(SettingKind kind);

// The callback of a DISPLAY menu switch without one of its own: the item's label finds it.
void changeDisplaySwitch(const std::string& item, const std::string& value, void* game);

// The menus' volume levels 0..10 and the bytes 0..255 the sound takes: 0, 25, 51, ... 255. A
// level outside 0..10 counts as the nearer end.
inline int heldVolumeLevel(int level) { return std::clamp(level, 0, 10); }
inline unsigned char volumeByte(int level) { return static_cast<unsigned char>(heldVolumeLevel(level) * 25.5); }
inline int volumeLevel(unsigned char byte) { return static_cast<int>(std::lround(static_cast<float>(byte) / 25.5f)); }

}  // namespace Vortel

#endif
