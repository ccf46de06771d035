#ifndef QUELLARIS_PLATFORM_KEYNAMES_H
#define QUELLARIS_PLATFORM_KEYNAMES_H

#include <string>

#include "platform/keycode.h"

// Display names of key codes, as the key-binding menus show them. Scan codes without a key
// of their own, and every code that is neither a scan code nor exactly one of the four mouse
// buttons, read "*** UNDEFINED ***".
class KeyNames {
public:
    static const std::string& name(KeyCode code);
};

#endif
