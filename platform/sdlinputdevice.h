#ifndef QUELLARIS_PLATFORM_SDLINPUTDEVICE_H
#define QUELLARIS_PLATFORM_SDLINPUTDEVICE_H

#include <SDL_video.h>

#include "platform/inputdevice.h"

// Keyboard and mouse read from SDL's own state (after pumping its events): keys by scan code,
// the mouse as motion since the last reading. Both are lost while the window has no focus and
// are acquired again once it has.
class SdlInputDevice : public InputDevice {
public:
    explicit SdlInputDevice(SDL_Window* window);

    bool readKeyboard(KeyStates& keys) override;
    bool readMouse(MouseState& mouse) override;
    AcquireResult acquireKeyboard() override;
    AcquireResult acquireMouse() override;

private:
    bool hasFocus() const;
    // False, and the device lost, while the window has no focus.
    bool stillAcquired(bool& acquired) const;
    AcquireResult acquire(bool& acquired) const;

    SDL_Window* const _window;
    bool _keyboardAcquired;
    bool _mouseAcquired;
};

#endif
