#ifndef QUELLARIS_PLATFORM_VIRTUALKEYS_H
#define QUELLARIS_PLATFORM_VIRTUALKEYS_H

#include <SDL_keycode.h>

// Virtual-key codes of the window's key messages from SDL's key symbols. Letters and
// digits follow the keyboard layout, as the window's key messages do.
namespace virtualkeys {

// 0 for a key that has no virtual-key code here.
int fromSdlKey(SDL_Keycode key);

}  // namespace virtualkeys

#endif
