#ifndef QUELLARIS_GAME_KEYBINDINGS_H
#define QUELLARIS_GAME_KEYBINDINGS_H

#include <array>

#include "engine2d/simplemenu.h"
#include "game/game.h"
#include "platform/keycode.h"

namespace Vortel {

// One of the player's nine actions and the key it is bound to: the settings file's key, the
// member holding the code, the code a reset gives it, its REDEFINE KEYS item and that item's
// callback.
struct KeyBinding {
    const char* key;
    unsigned int Game::*member;
    KeyCode standard;
    const char* label;
    Stelkor::SimpleMenu::ActionCallback redefine;
};

// In the members' order, which is also the order of _keyNames and of the settings file.
inline constexpr std::array<KeyBinding, 9> keyBindings = {{
    {"keyLeft", &Game::_keyLeft, keycodes::LEFT_ARROW, "Turn Left", &Game::_menucallback_redefineKeyLeft},
    {"keyRight", &Game::_keyRight, keycodes::RIGHT_ARROW, "Turn Right", &Game::_menucallback_redefineKeyRight},
    {"keyUp", &Game::_keyUp, keycodes::UP_ARROW, "Turn Up", &Game::_menucallback_redefineKeyUp},
    {"keyDown", &Game::_keyDown, keycodes::DOWN_ARROW, "Turn Down", &Game::_menucallback_redefineKeyDown},
    {"keyBoost", &Game::_keyBoost, keycodes::MOUSE_3, "Boost", &Game::_menucallback_redefineKeyBoost},
    {"keyFire", &Game::_keyFire, keycodes::MOUSE_1, "Fire", &Game::_menucallback_redefineKeyFire},
    {"keyNuke", &Game::_keyNuke, keycodes::ENTER, "EMP Blast", &Game::_menucallback_redefineKeyNuke},
    {"keyPause", &Game::_keyPause, keycodes::RIGHT_CTRL, "Pause", &Game::_menucallback_redefineKeyPause},
    {"keyMouselook", &Game::_keyMouselook, keycodes::MOUSE_2, "Mouselook", &Game::_menucallback_redefineKeyMouselook},
}};

using BindingOrder = std::array<unsigned int Game::*, 9>;

// The order in which flight has the keys tracked and the settings file's keys are read.
inline constexpr BindingOrder flightKeyOrder = {&Game::_keyLeft,  &Game::_keyRight, &Game::_keyUp,
                                                &Game::_keyDown,  &Game::_keyFire,  &Game::_keyNuke,
                                                &Game::_keyBoost, &Game::_keyPause, &Game::_keyMouselook};

// The REDEFINE KEYS menu's order: Mouselook before Pause.
inline constexpr BindingOrder redefineMenuOrder = {&Game::_keyLeft,  &Game::_keyRight, &Game::_keyUp,
                                                   &Game::_keyDown,  &Game::_keyBoost, &Game::_keyFire,
                                                   &Game::_keyNuke,  &Game::_keyMouselook, &Game::_keyPause};

// The row of a binding member; its index in keyBindings is that of its name in _keyNames.
inline std::size_t bindingIndex(unsigned int Game::*member) {
    std::size_t i = 0;
    while (i + 1 < keyBindings.size() && keyBindings[i].member != member) {
        ++i;
    }
    return i;
}

inline const KeyBinding& bindingOf(unsigned int Game::*member) { return keyBindings[bindingIndex(member)]; }

}  // namespace Vortel

#endif
