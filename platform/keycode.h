#ifndef QUELLARIS_PLATFORM_KEYCODE_H
#define QUELLARIS_PLATFORM_KEYCODE_H

#include <cstdint>

// A key as the game binds and stores it: 0x00..0xFF a keyboard scan code (PC set 1, extended
// keys + 0x80), or n * 0x100 for mouse button n = 1..4 (left, right, middle, first extra).
// These values are written to the settings file, so they must never change meaning.
using KeyCode = std::uint16_t;

#endif
