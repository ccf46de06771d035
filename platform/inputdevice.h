#ifndef QUELLARIS_PLATFORM_INPUTDEVICE_H
#define QUELLARIS_PLATFORM_INPUTDEVICE_H

#include <array>
#include <cstdint>

// Keyboard state by scan code; bit 7 set = down.
using KeyStates = std::array<unsigned char, 256>;

// The mouse since the last reading: x, y and wheel movement, then the four buttons (bit 7 set
// = down) in the order left, right, middle, first extra.
struct MouseState {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::array<unsigned char, 4> buttons = {};
};

enum class AcquireResult {
    Failed,           // the device cannot be had now (another window has the focus)
    Acquired,         // just acquired: the next reading is the first fresh one
    AlreadyAcquired,  // it was ours all along
};

// Where Input reads the keyboard and the mouse. A device is lost while the game window has no
// focus; reading a lost device fails until it is acquired again. A failed reading leaves the
// state passed in untouched.
class InputDevice {
public:
    virtual ~InputDevice() = default;

    virtual bool readKeyboard(KeyStates& keys) = 0;
    virtual bool readMouse(MouseState& mouse) = 0;
    virtual AcquireResult acquireKeyboard() = 0;
    virtual AcquireResult acquireMouse() = 0;
};

#endif
