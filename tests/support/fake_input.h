#ifndef QUELLARIS_TESTS_FAKE_INPUT_H
#define QUELLARIS_TESTS_FAKE_INPUT_H

#include <deque>

#include "platform/eventsource.h"
#include "platform/inputdevice.h"

namespace testsupport {

// Key and mouse states the test sets; can be lost and will then fail or re-acquire as told.
struct FakeDevice : InputDevice {
    bool readKeyboard(KeyStates& out) override {
        ++keyboardReads;
        if (keyboardLost) {
            return false;
        }
        out = keys;
        return true;
    }
    bool readMouse(MouseState& out) override {
        if (mouseLost) {
            return false;
        }
        out = mouse;
        // Motion is counted since the last reading.
        mouse.x = 0;
        mouse.y = 0;
        mouse.z = 0;
        return true;
    }
    AcquireResult acquireKeyboard() override { return keyboardAcquire; }
    AcquireResult acquireMouse() override { return mouseAcquire; }

    KeyStates keys = {};
    MouseState mouse;
    bool keyboardLost = false;
    bool mouseLost = false;
    int keyboardReads = 0;
    AcquireResult keyboardAcquire = AcquireResult::AlreadyAcquired;
    AcquireResult mouseAcquire = AcquireResult::AlreadyAcquired;
};

// A window-message queue the test fills.
class FakeEventSource : public EventSource {
public:
    bool peekMessage() override { return !queue.empty(); }
    MSG getMessage() override {
        const MSG message = queue.front();
        queue.pop_front();
        return message;
    }
    void postQuitMessage() override { push(WM_QUIT); }

    void push(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        MSG queued;
        queued.message = message;
        queued.wParam = wParam;
        queued.lParam = lParam;
        queue.push_back(queued);
    }

    std::deque<MSG> queue;
};

}  // namespace testsupport

#endif
