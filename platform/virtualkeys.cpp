#include "platform/virtualkeys.h"

#include <SDL_keyboard.h>

#include "platform/scancodes.h"
#include "platform/winapi.h"

namespace virtualkeys {
namespace {

struct KeyPair {
    SDL_Keycode key;
    int virtualKey;
};

// Keys other than letters and digits, which map by their character.
constexpr KeyPair keyTable[] = {
    {SDLK_BACKSPACE, VK_BACK},     {SDLK_TAB, VK_TAB},           {SDLK_RETURN, VK_RETURN},
    {SDLK_LSHIFT, VK_SHIFT},       {SDLK_RSHIFT, VK_SHIFT},      {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},      {SDLK_LALT, VK_MENU},         {SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, VK_PAUSE},        {SDLK_CAPSLOCK, VK_CAPITAL},  {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},        {SDLK_PAGEUP, VK_PRIOR},      {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},            {SDLK_HOME, VK_HOME},         {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},              {SDLK_RIGHT, VK_RIGHT},       {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},      {SDLK_DELETE, VK_DELETE},     {SDLK_KP_0, VK_NUMPAD0},
    {SDLK_KP_1, VK_NUMPAD1},       {SDLK_KP_2, VK_NUMPAD2},      {SDLK_KP_3, VK_NUMPAD3},
    {SDLK_KP_4, VK_NUMPAD4},       {SDLK_KP_5, VK_NUMPAD5},      {SDLK_KP_6, VK_NUMPAD6},
    {SDLK_KP_7, VK_NUMPAD7},       {SDLK_KP_8, VK_NUMPAD8},      {SDLK_KP_9, VK_NUMPAD9},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD},     {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL},  {SDLK_KP_DIVIDE, VK_DIVIDE},  {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_F1, VK_F1},              {SDLK_F2, VK_F2},             {SDLK_F3, VK_F3},
    {SDLK_F4, VK_F4},              {SDLK_F5, VK_F5},             {SDLK_F6, VK_F6},
    {SDLK_F7, VK_F7},              {SDLK_F8, VK_F8},             {SDLK_F9, VK_F9},
    {SDLK_F10, VK_F10},            {SDLK_F11, VK_F11},           {SDLK_F12, VK_F12},
};

}  // namespace

int fromSdlKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    for (const KeyPair& pair : keyTable) {
        if (pair.key == key) {
            return pair.virtualKey;
        }
    }
    return 0;
}

int fromKeyCode(KeyCode code) {
    if (code == 0) {
        return 0;
    }
    for (int i = 0; i < SDL_NUM_SCANCODES; ++i) {
        const SDL_Scancode scancode = static_cast<SDL_Scancode>(i);
        if (scancodes::fromSdlScancode(scancode) != code) {
            continue;
        }
        const int virtualKey = fromSdlKey(SDL_GetKeyFromScancode(scancode));
        if (virtualKey != 0) {
            return virtualKey;
        }
    }
    return 0;
}

}  // namespace virtualkeys
