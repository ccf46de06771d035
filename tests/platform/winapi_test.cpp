#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "platform/sdleventsource.h"
#include "platform/virtualkeys.h"
#include "platform/winapi.h"

namespace {

struct Recorder : WindowProcedure {
    LRESULT winProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
        received.push_back({message, wParam, lParam});
        return 7;
    }
    struct Call {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Call> received;
};

class SdlEvents : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_EVENTS); }

    static void pushKey(Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        event.key.keysym.sym = key;
        event.key.repeat = repeat;
        SDL_PushEvent(&event);
    }
    static void pushMotion(int x, int y) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_MOUSEMOTION;
        event.motion.x = x;
        event.motion.y = y;
        SDL_PushEvent(&event);
    }
    static void pushButton(Uint32 type, Uint8 button, int x, int y) {
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
        SDL_PushEvent(&event);
    }
    static void pushWindow(Uint8 what) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }

    std::vector<MSG> drain() {
        std::vector<MSG> messages;
        while (source.peekMessage()) {
            messages.push_back(source.getMessage());
        }
        return messages;
    }

    SdlEventSource source;
};

}  // namespace

TEST(WinApi, RegisteredMessagesAreStableByName) {
    const UINT down = RegisterWindowMessage("test.first");
    const UINT up = RegisterWindowMessage("test.second");
    EXPECT_GE(down, FIRST_REGISTERED_MESSAGE);
    EXPECT_GE(up, FIRST_REGISTERED_MESSAGE);
    EXPECT_NE(down, up);
    EXPECT_EQ(RegisterWindowMessage("test.first"), down);
    EXPECT_EQ(RegisterWindowMessage("test.second"), up);
}

TEST(WinApi, SendMessageCallsTheProcedureAtOnce) {
    Recorder recorder;
    WindowHandle window;
    window.procedure = &recorder;
    EXPECT_EQ(SendMessage(&window, WM_KEYDOWN, VK_ESCAPE, 5), 7);
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].message, WM_KEYDOWN);
    EXPECT_EQ(recorder.received[0].wParam, WPARAM(VK_ESCAPE));
    EXPECT_EQ(recorder.received[0].lParam, 5);

    window.procedure = nullptr;
    EXPECT_EQ(SendMessage(&window, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(SendMessage(nullptr, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(recorder.received.size(), 1u);
}

TEST(WinApi, WordsOfAParameter) {
    const LPARAM position = MAKELPARAM(799, 599);
    EXPECT_EQ(LOWORD(position), 799u);
    EXPECT_EQ(HIWORD(position), 599u);
    // A position left of or above the window comes out as a large unsigned word.
    EXPECT_EQ(LOWORD(MAKELPARAM(-1, 3)), 0xFFFFu);
    EXPECT_EQ(HIWORD(MAKELPARAM(-1, 3)), 3u);
}

TEST(WinApi, VirtualKeysFollowTheClassicCodes) {
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_a), 'A');
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_z), 'Z');
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_0), '0');
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_9), '9');
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_RETURN), 0x0D);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_BACKSPACE), 0x08);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_SPACE), 0x20);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_LEFT), 0x25);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_DOWN), 0x28);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_DELETE), 0x2E);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_KP_0), 96);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_KP_9), 105);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_F1), 0x70);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_F12), 0x7B);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_VOLUMEUP), 0);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_KP_ENTER), VK_RETURN);
    EXPECT_EQ(virtualkeys::fromSdlKey(SDLK_RSHIFT), VK_SHIFT);
}

TEST(WinApi, CursorShowsWhileItsCountIsNotNegative) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_EQ(ShowCursor(false), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(ShowCursor(false), -2);
    EXPECT_EQ(ShowCursor(true), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(ShowCursor(true), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(SdlEvents, KeysBecomeKeyMessagesWithTheRepeatBit) {
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE, 1);
    pushKey(SDL_KEYDOWN, SDLK_VOLUMEUP);
    pushKey(SDL_KEYUP, SDLK_ESCAPE);
    const std::vector<MSG> messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, WM_KEYDOWN);
    EXPECT_EQ(messages[0].wParam, WPARAM(VK_ESCAPE));
    EXPECT_EQ(messages[0].lParam & KEY_WAS_DOWN, 0);
    EXPECT_EQ(messages[1].message, WM_KEYDOWN);
    EXPECT_NE(messages[1].lParam & KEY_WAS_DOWN, 0);
    EXPECT_EQ(messages[2].message, WM_KEYUP);
    EXPECT_EQ(messages[2].wParam, WPARAM(VK_ESCAPE));
}

TEST_F(SdlEvents, MouseMessagesCarryTheClientPositionAndMotionRunsBecomeOne) {
    pushMotion(1, 2);
    pushMotion(3, 4);
    pushMotion(30, 40);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 40);
    pushMotion(50, 60);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 50, 60);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 6);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 7, 8);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 7, 8);
    const std::vector<MSG> messages = drain();
    ASSERT_EQ(messages.size(), 6u);
    EXPECT_EQ(messages[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(LOWORD(messages[0].lParam), 30u);
    EXPECT_EQ(HIWORD(messages[0].lParam), 40u);
    EXPECT_EQ(messages[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(messages[1].lParam, MAKELPARAM(30, 40));
    EXPECT_EQ(messages[2].message, WM_MOUSEMOVE);
    EXPECT_EQ(messages[2].lParam, MAKELPARAM(50, 60));
    EXPECT_EQ(messages[3].message, WM_LBUTTONUP);
    EXPECT_EQ(messages[4].message, WM_RBUTTONDOWN);
    EXPECT_EQ(messages[4].lParam, MAKELPARAM(5, 6));
    EXPECT_EQ(messages[5].message, WM_MBUTTONDOWN);
}

TEST_F(SdlEvents, WindowEventsBecomePaintAndCloseAndAPostedQuitComesOnce) {
    pushWindow(SDL_WINDOWEVENT_EXPOSED);
    pushWindow(SDL_WINDOWEVENT_MOVED);
    pushWindow(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    std::vector<MSG> messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, WM_PAINT);
    EXPECT_EQ(messages[1].message, WM_CLOSE);
    EXPECT_EQ(messages[2].message, WM_CLOSE);

    source.postQuitMessage();
    messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_QUIT);
}
