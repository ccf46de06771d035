// The nine key bindings, as game/keybindings.h lists them: their defaults, unbinding a key,
// the key names the REDEFINE KEYS menu shows, saving the bindings and the keys the input
// tracks in flight.

#include <cstddef>

#include "engine2d/simplemenu.h"
#include "game/game.h"
#include "game/keybindings.h"
#include "platform/keycode.h"

namespace Vortel {

void Game::defaultControls() {
    for (const KeyBinding& binding : keyBindings) {
        this->*binding.member = binding.standard;
    }
}

void Game::unbindKey(unsigned int code) {
    for (const KeyBinding& binding : keyBindings) {
        if (this->*binding.member == code) {
            this->*binding.member = 0;
        }
    }
}

void Game::refreshKeyNames() {
    for (std::size_t i = 0; i < keyBindings.size(); ++i) {
        _keyNames[i] = _input.keyName(static_cast<KeyCode>(this->*keyBindings[i].member));
    }
}

void Game::refreshRedefineKeysMenu() {
    refreshKeyNames();
    if (!_menuRedefineKeys) {
        return;
    }
    for (unsigned int Game::*member : redefineMenuOrder) {
        Stelkor::SimpleMenu::Item* item = _menuRedefineKeys->item(bindingOf(member).label);
        if (item != nullptr) {
            item->clearValues().addValue(_keyNames[bindingIndex(member)], true);
        }
    }
}

void Game::saveControls() {
    for (const KeyBinding& binding : keyBindings) {
        _settings[binding.key] = static_cast<int>(this->*binding.member);
    }
    // A file that cannot be written keeps the old one; the new bindings still hold for this run.
    saveSettings();
}

void Game::trackPlayerKeys() {
    _input.clearKeyTracking();
    for (unsigned int Game::*member : flightKeyOrder) {
        _input.trackKey(static_cast<KeyCode>(this->*member), true);
    }
    // Tracked whatever the bindings: ESCAPE opens the in-game menu, F5 ends a pause like any key.
    _input.trackKey(keycodes::ESCAPE, true);
    _input.trackKey(keycodes::F5, true);
    _input.trackMouseMove(true);
}

}  // namespace Vortel
