#ifndef QUELLARIS_PLATFORM_INPUT_H
#define QUELLARIS_PLATFORM_INPUT_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/inputdevice.h"
#include "platform/keycode.h"
#include "platform/winapi.h"

// Keyboard and mouse as window messages. Each update() polls both devices and sends, to the
// game window and at once, "WM_KEYDOWN_DI" / "WM_KEYUP_DI" (wParam the key code) for every
// tracked key or button that changed since the last poll, then "WM_MOUSEMOVE_DI" (lParam
// pointing at dx, dy as two 32-bit ints) when motion is tracked and the mouse moved.
class Input {
public:
    // Reads SDL's keyboard and mouse for the window.
    explicit Input(HWND window);
    Input(HWND window, std::unique_ptr<InputDevice> device);

    void update();

    // A mouse code (high byte 1..4) sets that button's tracking, a higher code does nothing,
    // a scan code is tracked once, at the end of the order. No poll.
    void trackKey(KeyCode code, bool on);
    // The changes below re-poll both devices, so the next update reports only later changes.
    void trackAllKeys(bool on);
    void trackMouseMove(bool on);
    // Stops every key and button message; motion tracking stays as it was.
    void clearKeyTracking();

    bool keyDown(KeyCode code) const;
    const std::string& keyName(KeyCode code) const;

    UINT keyDownMessage() const { return _keyDownMessage; }
    UINT keyUpMessage() const { return _keyUpMessage; }
    UINT mouseMoveMessage() const { return _mouseMoveMessage; }

    // Save the previous state and read the device; true when read or just acquired again.
    bool refreshKeyboardState();
    bool refreshMouseState();

private:
    bool isTracked(KeyCode code) const;
    void sendKeyMessages();
    void sendKeyChange(KeyCode code);
    void sendButtonMessages();
    void sendMouseMove();

    HWND _hwnd;
    std::unique_ptr<InputDevice> _device;
    KeyStates _keys;
    KeyStates _previousKeys;
    std::vector<KeyCode> _trackedKeys;
    MouseState _mouseState;
    MouseState _previousMouseState;
    std::array<bool, 4> _trackedButtons;
    bool _trackAllKeys;
    bool _trackMouseMove;
    std::int32_t _mouseMove[2];
    // Parts of a picture pixel of motion not yet reported, while full screen scales the picture.
    std::array<double, 2> _motionCarry;
    UINT _keyDownMessage;
    UINT _keyUpMessage;
    UINT _mouseMoveMessage;
};

#endif
