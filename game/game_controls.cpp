// The nine key bindings: their defaults, unbinding a key, the key names the REDEFINE KEYS
// menu shows, saving the bindings and the keys the input tracks in flight.

#include <array>
#include <cstddef>

#include "engine2d/simplemenu.h"
#include "game/game.h"
#include "platform/keycode.h"

namespace Vortel {

namespace {

// Flight keys that are tracked whatever the bindings: ESCAPE opens the in-game menu, F5 ends
// a pause like any key.
const KeyCode escapeScanCode = 1;
const KeyCode f5ScanCode = 63;

// The nine bindings in declaration order, the order of _keyNames.
std::array<unsigned int*, 9> bindingsOf(Game& game) {
    return {&game._keyLeft, &game._keyRight, &game._keyUp,    &game._keyDown,     &game._keyBoost,
            &game._keyFire, &game._keyNuke,  &game._keyPause, &game._keyMouselook};
}

}  // namespace

void Game::defaultControls() {
    _keyLeft = 203;       // LEFT ARROW
    _keyRight = 205;      // RIGHT ARROW
    _keyUp = 200;         // UP ARROW
    _keyDown = 208;       // DOWN ARROW
    _keyBoost = 768;      // MOUSE 3
    _keyFire = 256;       // MOUSE 1
    _keyNuke = 28;        // ENTER
    _keyPause = 157;      // RIGHT CTRL
    _keyMouselook = 512;  // MOUSE 2
}

void Game::unbindKey(unsigned int code) {
    for (unsigned int* binding : bindingsOf(*this)) {
        if (*binding == code) {
            *binding = 0;
        }
    }
}

void Game::refreshKeyNames() {
    const std::array<unsigned int*, 9> bindings = bindingsOf(*this);
    for (std::size_t i = 0; i < _keyNames.size(); ++i) {
        _keyNames[i] = _input.keyName(static_cast<KeyCode>(*bindings[i]));
    }
}

void Game::refreshRedefineKeysMenu() {
    refreshKeyNames();
    if (!_menuRedefineKeys) {
        return;
    }
    // Menu labels with the index of their binding's name; Mouselook comes before Pause here.
    struct Row {
        const char* label;
        std::size_t name;
    };
    static const Row rows[] = {
        {"Turn Left", 0}, {"Turn Right", 1}, {"Turn Up", 2},   {"Turn Down", 3}, {"Boost", 4},
        {"Fire", 5},      {"EMP Blast", 6},  {"Mouselook", 8}, {"Pause", 7},
    };
    for (const Row& row : rows) {
        Stelkor::SimpleMenu::Item* item = _menuRedefineKeys->item(row.label);
        if (item != nullptr) {
            item->clearValues().addValue(_keyNames[row.name], true);
        }
    }
}

void Game::saveControls() {
    _settings["keyLeft"] = static_cast<int>(_keyLeft);
    _settings["keyRight"] = static_cast<int>(_keyRight);
    _settings["keyUp"] = static_cast<int>(_keyUp);
    _settings["keyDown"] = static_cast<int>(_keyDown);
    _settings["keyBoost"] = static_cast<int>(_keyBoost);
    _settings["keyFire"] = static_cast<int>(_keyFire);
    _settings["keyNuke"] = static_cast<int>(_keyNuke);
    _settings["keyPause"] = static_cast<int>(_keyPause);
    _settings["keyMouselook"] = static_cast<int>(_keyMouselook);
    // A file that cannot be written keeps the old one; the new bindings still hold for this run.
    saveSettings();
}

void Game::trackPlayerKeys() {
    _input.clearKeyTracking();
    for (const unsigned int binding :
         {_keyLeft, _keyRight, _keyUp, _keyDown, _keyFire, _keyNuke, _keyBoost, _keyPause, _keyMouselook}) {
        _input.trackKey(static_cast<KeyCode>(binding), true);
    }
    _input.trackKey(escapeScanCode, true);
    _input.trackKey(f5ScanCode, true);
    _input.trackMouseMove(true);
}

}  // namespace Vortel
