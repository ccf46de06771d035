#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <SDL_mouse.h>

#include "platform/input.h"
#include "tests/support/fake_input.h"
#include "platform/keynames.h"
#include "platform/scancodes.h"

namespace {

using testsupport::FakeDevice;

struct Sent {
    UINT message;
    WPARAM wParam;
    std::int32_t dx;
    std::int32_t dy;
};

// The game window: records the input messages and runs a handler inside each.
struct Receiver : WindowProcedure {
    LRESULT winProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
        Sent sent = {message, wParam, 0, 0};
        if (lParam != 0) {
            const std::int32_t* move = reinterpret_cast<const std::int32_t*>(lParam);
            sent.dx = move[0];
            sent.dy = move[1];
        }
        received.push_back(sent);
        if (handler) {
            handler(sent);
        }
        return 0;
    }
    std::vector<Sent> received;
    std::function<void(const Sent&)> handler;
};

class InputTest : public ::testing::Test {
protected:
    InputTest() {
        window.procedure = &receiver;
        auto owned = std::make_unique<FakeDevice>();
        device = owned.get();
        input = std::make_unique<Input>(&window, std::move(owned));
    }

    std::vector<WPARAM> keysSent(UINT message) const {
        std::vector<WPARAM> codes;
        for (const Sent& sent : receiver.received) {
            if (sent.message == message) {
                codes.push_back(sent.wParam);
            }
        }
        return codes;
    }
    std::vector<WPARAM> downs() const { return keysSent(input->keyDownMessage()); }
    std::vector<WPARAM> ups() const { return keysSent(input->keyUpMessage()); }

    void press(KeyCode code) { device->keys[code] = 0x80; }
    void release(KeyCode code) { device->keys[code] = 0; }

    Receiver receiver;
    WindowHandle window;
    FakeDevice* device;
    std::unique_ptr<Input> input;
};

}  // namespace

TEST_F(InputTest, MessagesAreRegisteredByName) {
    EXPECT_EQ(input->keyDownMessage(), RegisterWindowMessage("WM_KEYDOWN_DI"));
    EXPECT_EQ(input->keyUpMessage(), RegisterWindowMessage("WM_KEYUP_DI"));
    EXPECT_EQ(input->mouseMoveMessage(), RegisterWindowMessage("WM_MOUSEMOVE_DI"));
}

TEST_F(InputTest, HeldKeySendsOneDownAndOneUp) {
    input->trackKey(0xCB, true);
    press(0xCB);
    press(0x1E);  // not tracked
    for (int i = 0; i < 3; ++i) {
        input->update();
    }
    EXPECT_TRUE(input->keyDown(0xCB));
    release(0xCB);
    input->update();
    input->update();
    EXPECT_EQ(downs(), std::vector<WPARAM>{0xCB});
    EXPECT_EQ(ups(), std::vector<WPARAM>{0xCB});
    EXPECT_FALSE(input->keyDown(0xCB));
}

TEST_F(InputTest, TrackingOrderAndIgnoredCodes) {
    input->trackKey(0x10, true);
    input->trackKey(0x20, true);
    input->trackKey(0x10, true);  // once only, now last
    input->trackKey(0x500, true);
    press(0x10);
    press(0x20);
    device->mouse.buttons[0] = 0x80;
    input->update();
    EXPECT_EQ(downs(), (std::vector<WPARAM>{0x20, 0x10}));
    EXPECT_FALSE(input->keyDown(0x500));

    input->trackKey(0x20, false);
    release(0x10);
    release(0x20);
    input->update();
    EXPECT_EQ(ups(), std::vector<WPARAM>{0x10});
}

TEST_F(InputTest, AllKeysGivesKeysInAscendingOrderThenButtons) {
    press(0x2A);  // held before tracking starts: no key-down for it
    input->trackAllKeys(true);
    press(0xC8);
    press(0x01);
    device->mouse.buttons[3] = 0x80;
    device->mouse.buttons[1] = 0x80;
    release(0x2A);
    input->update();
    EXPECT_EQ(downs(), (std::vector<WPARAM>{0x01, 0xC8, 0x200, 0x400}));
    EXPECT_EQ(ups(), std::vector<WPARAM>{0x2A});
}

TEST_F(InputTest, TrackedButtonsAndButtonState) {
    input->trackKey(0x100, true);
    device->mouse.buttons[0] = 0x80;
    device->mouse.buttons[2] = 0x80;  // middle: not tracked
    input->update();
    EXPECT_EQ(downs(), std::vector<WPARAM>{0x100});
    EXPECT_TRUE(input->keyDown(0x100));
    EXPECT_TRUE(input->keyDown(0x300));
    EXPECT_FALSE(input->keyDown(0x200));
    EXPECT_FALSE(input->keyDown(0x180));

    input->trackKey(0x100, false);
    device->mouse.buttons[0] = 0;
    input->update();
    EXPECT_TRUE(ups().empty());
}

TEST_F(InputTest, MotionIsSentOncePerUpdateOnlyWhileTracked) {
    device->mouse.x = 5;
    input->update();
    EXPECT_TRUE(receiver.received.empty());

    input->trackMouseMove(true);
    device->mouse.x = 3;
    device->mouse.y = -4;
    input->update();
    input->update();  // no movement since
    device->mouse.z = 120;  // the wheel alone
    input->update();
    ASSERT_EQ(receiver.received.size(), 1u);
    EXPECT_EQ(receiver.received[0].message, input->mouseMoveMessage());
    EXPECT_EQ(receiver.received[0].dx, 3);
    EXPECT_EQ(receiver.received[0].dy, -4);

    input->clearKeyTracking();  // motion tracking stays
    device->mouse.y = 1;
    input->update();
    EXPECT_EQ(receiver.received.size(), 2u);
}

// Full screen shows the picture scaled up: motion counts in picture pixels, and the parts of a
// pixel left over are not lost but join the next reading.
TEST_F(InputTest, MotionIsDividedByThePictureScaleWithTheRestCarried) {
    input->trackMouseMove(true);
    window.pictureScale = 1.28f;
    device->mouse.x = 128;
    device->mouse.y = -64;
    input->update();
    for (int i = 0; i < 4; ++i) {
        device->mouse.x = 1;
        input->update();
    }
    window.pictureScale = 1.0f;
    device->mouse.x = 7;
    input->update();
    std::vector<std::pair<int, int>> moves;
    for (const Sent& sent : receiver.received) {
        moves.emplace_back(sent.dx, sent.dy);
    }
    // 128 / 1.28 = 100 and -64 / 1.28 = -50; four single steps make 3.125 pixels: the first
    // moves less than a pixel and sends nothing, each of the other three one pixel; 1:1 after.
    const std::vector<std::pair<int, int>> expected = {{100, -50}, {1, 0}, {1, 0}, {1, 0}, {7, 0}};
    EXPECT_EQ(moves, expected);
}

TEST_F(InputTest, HandlerMayChangeTrackingDuringUpdate) {
    input->trackKey(0x01, true);
    input->trackKey(0x10, true);
    input->trackKey(0x11, true);
    press(0x01);
    press(0x10);
    press(0x11);
    // ESC drops the old tracking and tracks another key, as leaving play does.
    receiver.handler = [this](const Sent& sent) {
        if (sent.message == input->keyDownMessage() && sent.wParam == 0x01) {
            input->clearKeyTracking();
            input->trackKey(0x1C, true);
        }
    };
    input->update();
    EXPECT_EQ(downs(), std::vector<WPARAM>{0x01});

    receiver.handler = nullptr;
    press(0x1C);
    release(0x10);
    input->update();
    EXPECT_EQ(downs(), (std::vector<WPARAM>{0x01, 0x1C}));
    EXPECT_TRUE(ups().empty());
}

TEST_F(InputTest, RepollInsideAHandlerSuppressesStaleChanges) {
    input->trackAllKeys(true);
    press(0x01);
    press(0x02);
    receiver.handler = [this](const Sent& sent) {
        if (sent.wParam == 0x01) {
            input->trackAllKeys(true);
        }
    };
    input->update();
    EXPECT_EQ(downs(), std::vector<WPARAM>{0x01});
}

TEST_F(InputTest, LostDeviceReportsNothingUntilAcquiredAgain) {
    input->trackKey(0x39, true);
    input->trackKey(0x100, true);
    input->trackMouseMove(true);
    device->mouse.x = 2;
    input->update();
    ASSERT_EQ(receiver.received.size(), 1u);

    device->keyboardLost = true;
    device->mouseLost = true;
    device->keyboardAcquire = AcquireResult::Failed;
    device->mouseAcquire = AcquireResult::Failed;
    press(0x39);
    device->mouse.buttons[0] = 0x80;
    device->mouse.x = 7;
    input->update();
    EXPECT_EQ(receiver.received.size(), 1u);

    // Back in focus: the first poll acquires without a fresh reading, the next one reads.
    device->keyboardAcquire = AcquireResult::Acquired;
    device->mouseAcquire = AcquireResult::Acquired;
    input->update();
    EXPECT_EQ(receiver.received.size(), 1u);
    device->keyboardLost = false;
    device->mouseLost = false;
    input->update();
    EXPECT_EQ(downs(), (std::vector<WPARAM>{0x39, 0x100}));
}

TEST_F(InputTest, ReadingThatKeepsFailingIsGivenUp) {
    input->trackKey(0x39, true);
    device->keyboardLost = true;
    device->keyboardAcquire = AcquireResult::AlreadyAcquired;
    const int before = device->keyboardReads;
    press(0x39);
    input->update();
    EXPECT_TRUE(receiver.received.empty());
    EXPECT_LE(device->keyboardReads - before, 10);
}

TEST_F(InputTest, KeyNames) {
    EXPECT_EQ(input->keyName(1), "ESCAPE");
    EXPECT_EQ(input->keyName(28), "ENTER");
    EXPECT_EQ(input->keyName(0x2B), "\\");
    EXPECT_EQ(input->keyName(63), "F5");
    EXPECT_EQ(input->keyName(157), "RIGHT CTRL");
    EXPECT_EQ(input->keyName(0xCB), "LEFT ARROW");
    EXPECT_EQ(input->keyName(0xED), "MEDIA SELECT");
    EXPECT_EQ(input->keyName(0), "*** UNDEFINED ***");
    EXPECT_EQ(input->keyName(0x54), "*** UNDEFINED ***");
    EXPECT_EQ(input->keyName(0xFF), "*** UNDEFINED ***");
    EXPECT_EQ(input->keyName(256), "MOUSE 1");
    EXPECT_EQ(input->keyName(0x400), "MOUSE 4");
    EXPECT_EQ(input->keyName(0x401), "*** UNDEFINED ***");
    EXPECT_EQ(input->keyName(0x180), "*** UNDEFINED ***");
    EXPECT_EQ(input->keyName(0x500), "*** UNDEFINED ***");
    EXPECT_EQ(input->keyName(0xFFFF), "*** UNDEFINED ***");
}

TEST(ScanCodes, SdlKeysAndButtonsAsKeyCodes) {
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_LEFT), 203);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_UP), 200);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_RIGHT), 205);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_DOWN), 208);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_RETURN), 28);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_ESCAPE), 1);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_RCTRL), 157);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_F5), 63);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_KP_ENTER), 0x9C);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_KP_DIVIDE), 0xB5);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_RALT), 0xB8);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_A), 0x1E);
    EXPECT_EQ(scancodes::fromSdlScancode(SDL_SCANCODE_UNKNOWN), 0);

    EXPECT_EQ(scancodes::fromSdlMouseButton(SDL_BUTTON_LEFT), 256);
    EXPECT_EQ(scancodes::fromSdlMouseButton(SDL_BUTTON_RIGHT), 512);
    EXPECT_EQ(scancodes::fromSdlMouseButton(SDL_BUTTON_MIDDLE), 768);
    EXPECT_EQ(scancodes::fromSdlMouseButton(SDL_BUTTON_X1), 1024);
}

TEST(ScanCodes, EveryMappedKeyHasAName) {
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const KeyCode code = scancodes::fromSdlScancode(static_cast<SDL_Scancode>(scancode));
        if (code != 0) {
            EXPECT_NE(KeyNames::name(code), "*** UNDEFINED ***")
                << "SDL scancode " << scancode;
        }
    }
}
