#ifndef QUELLARIS_PLATFORM_SCANCODES_H
#define QUELLARIS_PLATFORM_SCANCODES_H

#include <SDL_scancode.h>
#include <SDL_stdinc.h>

#include "platform/keycode.h"

// SDL's keys and mouse buttons as the game's key codes.
namespace scancodes {

// 0 for an SDL key with no scan code.
KeyCode fromSdlScancode(SDL_Scancode scancode);

// 0x100, 0x200, 0x300, 0x400 for left, right, middle and the first extra button; 0 otherwise.
KeyCode fromSdlMouseButton(Uint8 button);

}  // namespace scancodes

#endif
