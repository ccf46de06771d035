#include "platform/sdlinputdevice.h"

#include <SDL_events.h>
#include <SDL_keyboard.h>
#include <SDL_mouse.h>

#include "platform/scancodes.h"

SdlInputDevice::SdlInputDevice(SDL_Window* window)
    : _window(window), _keyboardAcquired(false), _mouseAcquired(false) {}

bool SdlInputDevice::readKeyboard(KeyStates& keys) {
    SDL_PumpEvents();
    if (!stillAcquired(_keyboardAcquired)) {
        return false;
    }
    int count = 0;
    const Uint8* const state = SDL_GetKeyboardState(&count);
    keys.fill(0);
    for (int scancode = 0; scancode < count; ++scancode) {
        if (state[scancode] != 0) {
            const KeyCode code = scancodes::fromSdlScancode(static_cast<SDL_Scancode>(scancode));
            if (code != 0) {
                keys[code] = 0x80;
            }
        }
    }
    return true;
}

bool SdlInputDevice::readMouse(MouseState& mouse) {
    SDL_PumpEvents();
    if (!stillAcquired(_mouseAcquired)) {
        return false;
    }
    int dx = 0;
    int dy = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy);
    mouse.x = dx;
    mouse.y = dy;
    mouse.z = 0;
    mouse.buttons[0] = (buttons & SDL_BUTTON_LMASK) != 0 ? 0x80 : 0;
    mouse.buttons[1] = (buttons & SDL_BUTTON_RMASK) != 0 ? 0x80 : 0;
    mouse.buttons[2] = (buttons & SDL_BUTTON_MMASK) != 0 ? 0x80 : 0;
    mouse.buttons[3] = (buttons & SDL_BUTTON_X1MASK) != 0 ? 0x80 : 0;
    return true;
}

AcquireResult SdlInputDevice::acquireKeyboard() {
    return acquire(_keyboardAcquired);
}

AcquireResult SdlInputDevice::acquireMouse() {
    const AcquireResult result = acquire(_mouseAcquired);
    if (result == AcquireResult::Acquired) {
        // Motion made while the game was away is not the player's aim.
        SDL_GetRelativeMouseState(nullptr, nullptr);
    }
    return result;
}

bool SdlInputDevice::hasFocus() const {
    return _window != nullptr && (SDL_GetWindowFlags(_window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlInputDevice::stillAcquired(bool& acquired) const {
    if (!hasFocus()) {
        acquired = false;
    }
    return acquired;
}

AcquireResult SdlInputDevice::acquire(bool& acquired) const {
    if (!hasFocus()) {
        return AcquireResult::Failed;
    }
    if (acquired) {
        return AcquireResult::AlreadyAcquired;
    }
    acquired = true;
    return AcquireResult::Acquired;
}
