#ifndef QUELLARIS_PLATFORM_WINAPI_H
#define QUELLARIS_PLATFORM_WINAPI_H

// The game's small window-message layer. The game and its input code talk in window
// messages: numbered messages with two parameters, handed to a window procedure. Only the
// types, constants and calls the game uses are here; the values are the classic ones, because
// key codes and message numbers are compared with literal values throughout the game.

#include <cstdint>
#include <string>

struct SDL_Window;

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct WindowHandle;
using HWND = WindowHandle*;

// Whatever answers the messages of a window.
class WindowProcedure {
public:
    virtual LRESULT winProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowProcedure() = default;
};

// A window as the message layer sees it: where its messages go and the SDL window behind it.
// A destroyed window keeps its handle but has no procedure, so messages sent to it vanish.
struct WindowHandle {
    WindowProcedure* procedure = nullptr;
    SDL_Window* window = nullptr;
    // Screen pixels per pixel of the game's picture: above 1 while full screen shows the
    // picture scaled up. Mouse motion read from the devices is divided by it, so the aim moves
    // over the picture as it would in the window.
    float pictureScale = 1.0f;
};

// One message as the main loop takes it from its queue; it always goes to the game window.
struct MSG {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;

// First number handed out to a registered message.
constexpr UINT FIRST_REGISTERED_MESSAGE = 0xC000;

// Key-down and key-up messages carry a repeat count of 1; bit 30 says the key was down before
// (an auto-repeat on key-down), bit 31 that it is going up.
constexpr LPARAM KEY_REPEAT_COUNT_ONE = 1;
constexpr LPARAM KEY_WAS_DOWN = LPARAM(1) << 30;
constexpr LPARAM KEY_GOING_UP = LPARAM(1) << 31;

// Virtual-key codes. Digits and letters are their own characters '0'..'9' and 'A'..'Z'.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_NUMPAD1 = 0x61;
constexpr int VK_NUMPAD2 = 0x62;
constexpr int VK_NUMPAD3 = 0x63;
constexpr int VK_NUMPAD4 = 0x64;
constexpr int VK_NUMPAD5 = 0x65;
constexpr int VK_NUMPAD6 = 0x66;
constexpr int VK_NUMPAD7 = 0x67;
constexpr int VK_NUMPAD8 = 0x68;
constexpr int VK_NUMPAD9 = 0x69;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F7 = 0x76;
constexpr int VK_F8 = 0x77;
constexpr int VK_F9 = 0x78;
constexpr int VK_F10 = 0x79;
constexpr int VK_F11 = 0x7A;
constexpr int VK_F12 = 0x7B;

constexpr unsigned int LOWORD(LPARAM value) {
    return static_cast<unsigned int>(value) & 0xFFFFu;
}

constexpr unsigned int HIWORD(LPARAM value) {
    return (static_cast<unsigned int>(value) >> 16) & 0xFFFFu;
}

// Both halves are cut to 16 bits, as mouse positions in a message are.
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(low) & 0xFFFFu) |
                               ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16));
}

// A process-wide number for a message name: the same name always gives the same number,
// different names different numbers, counting up from FIRST_REGISTERED_MESSAGE.
UINT RegisterWindowMessage(const std::string& name);

// Calls the window's procedure at once and returns its result; 0 for a null or destroyed window.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Shows or hides the mouse cursor with a show count: the cursor shows while the count is 0 or
// more. While it is hidden the mouse is held in the window and reports relative motion, so
// motion keeps coming at the window's edge. Returns the new count.
int ShowCursor(bool show);

#endif
