#include "platform/input.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include <SDL.h>

#include "platform/keynames.h"
#include "platform/sdlinputdevice.h"

namespace {

// A device that keeps saying it is ours but cannot be read is given up for this poll.
constexpr int MAX_READ_ATTEMPTS = 4;

enum class Poll {
    Failed,
    Read,
    KeptLastReading,  // just acquired again: no fresh reading yet
};

template <typename Read, typename Acquire>
Poll pollDevice(Read read, Acquire acquire) {
    for (int attempt = 0; attempt < MAX_READ_ATTEMPTS; ++attempt) {
        if (read()) {
            return Poll::Read;
        }
        switch (acquire()) {
        case AcquireResult::Failed:
            return Poll::Failed;
        case AcquireResult::Acquired:
            return Poll::KeptLastReading;
        case AcquireResult::AlreadyAcquired:
            break;
        }
    }
    return Poll::Failed;
}

// Button n of the mouse (1..4) for a code whose high byte is n, 0 for a scan code, more for
// codes that are neither.
unsigned int mouseButton(KeyCode code) {
    return code >> 8;
}

std::unique_ptr<InputDevice> sdlDevice(HWND window) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        throw std::runtime_error("Failed to initialize DirectInput");
    }
    return std::make_unique<SdlInputDevice>(window != nullptr ? window->window : nullptr);
}

}  // namespace

Input::Input(HWND window) : Input(window, sdlDevice(window)) {}

Input::Input(HWND window, std::unique_ptr<InputDevice> device)
    : _hwnd(window),
      _device(std::move(device)),
      _keys(),
      _previousKeys(),
      _trackedKeys(),
      _mouseState(),
      _previousMouseState(),
      _trackedButtons(),
      _trackAllKeys(false),
      _trackMouseMove(false),
      _mouseMove(),
      _motionCarry(),
      _keyDownMessage(RegisterWindowMessage("WM_KEYDOWN_DI")),
      _keyUpMessage(RegisterWindowMessage("WM_KEYUP_DI")),
      _mouseMoveMessage(RegisterWindowMessage("WM_MOUSEMOVE_DI")) {
    _device->acquireKeyboard();
    _device->readKeyboard(_keys);
    _device->readKeyboard(_previousKeys);
    _device->acquireMouse();
    _device->readMouse(_mouseState);
    _device->readMouse(_previousMouseState);
    _trackedKeys.reserve(256);
}

void Input::update() {
    const bool mouseRead = refreshMouseState();
    const bool keyboardRead = refreshKeyboardState();
    if (keyboardRead) {
        sendKeyMessages();
    }
    if (mouseRead) {
        sendButtonMessages();
        sendMouseMove();
    }
}

void Input::trackKey(KeyCode code, bool on) {
    const unsigned int button = mouseButton(code);
    if (button > 4) {
        return;
    }
    if (button > 0) {
        _trackedButtons[button - 1] = on;
        return;
    }
    _trackedKeys.erase(std::remove(_trackedKeys.begin(), _trackedKeys.end(), code), _trackedKeys.end());
    if (on) {
        _trackedKeys.push_back(code);
    }
}

void Input::trackAllKeys(bool on) {
    _trackAllKeys = on;
    refreshKeyboardState();
    refreshMouseState();
}

void Input::trackMouseMove(bool on) {
    _trackMouseMove = on;
    refreshKeyboardState();
    refreshMouseState();
}

void Input::clearKeyTracking() {
    _trackAllKeys = false;
    _trackedKeys.clear();
    _trackedButtons.fill(false);
    refreshKeyboardState();
    refreshMouseState();
}

bool Input::keyDown(KeyCode code) const {
    const unsigned int button = mouseButton(code);
    if (button == 0) {
        return (_keys[code] & 0x80) != 0;
    }
    // Only the four exact button codes are buttons: a stray code from a hand-edited settings
    // file (0x180, shown as undefined) must not act as the left button.
    return button <= 4 && (code & 0xFF) == 0 && _mouseState.buttons[button - 1] != 0;
}

const std::string& Input::keyName(KeyCode code) const {
    return KeyNames::name(code);
}

bool Input::refreshKeyboardState() {
    if (_trackAllKeys) {
        _previousKeys = _keys;
    } else {
        for (const KeyCode code : _trackedKeys) {
            _previousKeys[code] = _keys[code];
        }
    }
    return pollDevice([this] { return _device->readKeyboard(_keys); },
                      [this] { return _device->acquireKeyboard(); }) != Poll::Failed;
}

bool Input::refreshMouseState() {
    _previousMouseState = _mouseState;
    const Poll poll = pollDevice([this] { return _device->readMouse(_mouseState); },
                                 [this] { return _device->acquireMouse(); });
    if (poll == Poll::KeptLastReading) {
        // The kept reading's motion has been reported already.
        _mouseState.x = 0;
        _mouseState.y = 0;
        _mouseState.z = 0;
    }
    return poll != Poll::Failed;
}

bool Input::isTracked(KeyCode code) const {
    return _trackAllKeys || std::find(_trackedKeys.begin(), _trackedKeys.end(), code) != _trackedKeys.end();
}

void Input::sendKeyMessages() {
    // The handlers run inside SendMessage and may change the tracking (and re-poll) while this
    // walks it, so the walk goes over a copy and skips codes no longer tracked.
    std::array<KeyCode, 256> codes;
    std::size_t count = 0;
    if (_trackAllKeys) {
        for (KeyCode code = 0; code < 256; ++code) {
            codes[count++] = code;
        }
    } else {
        for (const KeyCode code : _trackedKeys) {
            codes[count++] = code;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (isTracked(codes[i])) {
            sendKeyChange(codes[i]);
        }
    }
}

void Input::sendKeyChange(KeyCode code) {
    if (_keys[code] == _previousKeys[code]) {
        return;
    }
    const UINT message = (_keys[code] & 0x80) != 0 ? _keyDownMessage : _keyUpMessage;
    SendMessage(_hwnd, message, code, 0);
}

void Input::sendButtonMessages() {
    for (std::size_t i = 0; i < _trackedButtons.size(); ++i) {
        const unsigned char now = _mouseState.buttons[i];
        if ((_trackedButtons[i] || _trackAllKeys) && now != _previousMouseState.buttons[i]) {
            const UINT message = (now & 0x80) != 0 ? _keyDownMessage : _keyUpMessage;
            SendMessage(_hwnd, message, static_cast<WPARAM>((i + 1) * 0x100), 0);
        }
    }
}

void Input::sendMouseMove() {
    if (!_trackMouseMove) {
        return;
    }
    const float scale = _hwnd != nullptr ? _hwnd->pictureScale : 1.0f;
    if (scale == 1.0f || !(scale > 0.0f)) {
        _mouseMove[0] = _mouseState.x;
        _mouseMove[1] = _mouseState.y;
        _motionCarry = {0.0, 0.0};
    } else {
        // Motion in the picture's pixels; the fractions left over join the next reading, so a
        // slow hand moves the aim as surely as a fast one.
        const std::int32_t moved[2] = {_mouseState.x, _mouseState.y};
        for (int axis = 0; axis < 2; ++axis) {
            const double total = _motionCarry[axis] + moved[axis] / static_cast<double>(scale);
            _mouseMove[axis] = static_cast<std::int32_t>(total);
            _motionCarry[axis] = total - _mouseMove[axis];
        }
    }
    if (_mouseMove[0] != 0 || _mouseMove[1] != 0) {
        SendMessage(_hwnd, _mouseMoveMessage, 0, reinterpret_cast<LPARAM>(_mouseMove));
    }
}
