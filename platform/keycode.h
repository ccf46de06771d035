#ifndef QUELLARIS_PLATFORM_KEYCODE_H
#define QUELLARIS_PLATFORM_KEYCODE_H

#include <cstdint>

// A key as the game binds and stores it: 0x00..0xFF a keyboard scan code (PC set 1, extended
// keys + 0x80), or n * 0x100 for mouse button n = 1..4 (left, right, middle, first extra).
// These values are written to the settings file, so they must never change meaning.
using KeyCode = std::uint16_t;

// The codes the game names in its rules and its default bindings.
namespace keycodes {

constexpr KeyCode NONE = 0x00;
constexpr KeyCode ESCAPE = 0x01;
constexpr KeyCode ENTER = 0x1C;
constexpr KeyCode F5 = 0x3F;
constexpr KeyCode RIGHT_CTRL = 0x9D;
constexpr KeyCode UP_ARROW = 0xC8;
constexpr KeyCode LEFT_ARROW = 0xCB;
constexpr KeyCode RIGHT_ARROW = 0xCD;
constexpr KeyCode DOWN_ARROW = 0xD0;
constexpr KeyCode LAST_SCAN_CODE = 0xFF;

constexpr KeyCode MOUSE_1 = 0x100;  // left
constexpr KeyCode MOUSE_2 = 0x200;  // right
constexpr KeyCode MOUSE_3 = 0x300;  // middle
constexpr KeyCode MOUSE_4 = 0x400;  // first extra

// Whether some key or mouse button gives the code; a code read from a file may be none.
constexpr bool isKeyCode(long code) {
    return (code >= 0 && code <= LAST_SCAN_CODE) || code == MOUSE_1 || code == MOUSE_2 || code == MOUSE_3 ||
           code == MOUSE_4;
}

}  // namespace keycodes

#endif
