#ifndef QUELLARIS_PLATFORM_VIRTUALKEYS_H
#define QUELLARIS_PLATFORM_VIRTUALKEYS_H

#include <SDL_keycode.h>

#include "platform/keycode.h"

// Virtual-key codes of the window's key messages from SDL's key symbols. Letters and
// digits follow the keyboard layout, as the window's key messages do.
namespace virtualkeys {

// 0 for a key that has no virtual-key code here.
int fromSdlKey(SDL_Keycode key);
// The virtual-key code the window's key messages carry for a key the input layer reports by
// its scan code; 0 for a mouse button or a key without one.
int fromKeyCode(KeyCode code);

}  // namespace virtualkeys

#endif
