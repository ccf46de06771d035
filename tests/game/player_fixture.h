#ifndef QUELLARIS_TESTS_GAME_PLAYER_FIXTURE_H
#define QUELLARIS_TESTS_GAME_PLAYER_FIXTURE_H

#include <SDL.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/scancodes.h"
#include "platform/virtualkeys.h"
#include "tests/game/game_fixture.h"

namespace testgame {

// The game as a player's hands reach it: a physical key or mouse button changes the device
// first, as SDL's state changes when its event is pumped, then the window message of the
// event arrives, then the frame runs and polls the input layer.
class PlayerFixture : public GameFixture {
protected:
    static constexpr double FRAME = 1.0 / 60.0;
    static constexpr double LONG_FRAME = 0.25;

    // The seed of the chasers' names and places and of the pick-ups, from
    // QUELLARIS_PLAYTHROUGH_SEED when set.
    static unsigned int seed() {
        const char* text = std::getenv("QUELLARIS_PLAYTHROUGH_SEED");
        return text != nullptr && *text != '\0' ? static_cast<unsigned int>(std::strtoul(text, nullptr, 10)) : 1u;
    }

    void frames(double seconds, double dt = FRAME) {
        for (double t = 0.0; t < seconds - 1e-9; t += dt) {
            frame(dt);
        }
    }

    // Frames until the condition holds; false when it did not within the time.
    bool until(const std::function<bool()>& done, double seconds, double dt = FRAME) {
        for (double t = 0.0; t < seconds; t += dt) {
            if (done()) {
                return true;
            }
            frame(dt);
        }
        return done();
    }

    void keyDown(SDL_Scancode key, bool repeat = false) {
        hold(scancodes::fromSdlScancode(key), true);
        const int vk = virtualkeys::fromSdlKey(SDL_GetKeyFromScancode(key));
        if (vk != 0) {
            send(WM_KEYDOWN, static_cast<WPARAM>(vk), KEY_REPEAT_COUNT_ONE | (repeat ? KEY_WAS_DOWN : 0));
        }
    }

    // A key pressed as the main loop meets it: the frame's poll of the input layer sees it
    // first, and the window's message of the same press comes with the next message pump,
    // after that frame. keyDown() hands the message over before the poll.
    void keyDownPolledFirst(SDL_Scancode key, double dt = FRAME) {
        hold(scancodes::fromSdlScancode(key), true);
        frame(dt);
        const int vk = virtualkeys::fromSdlKey(SDL_GetKeyFromScancode(key));
        if (vk != 0) {
            send(WM_KEYDOWN, static_cast<WPARAM>(vk), KEY_REPEAT_COUNT_ONE);
        }
    }

    void keyUp(SDL_Scancode key) {
        hold(scancodes::fromSdlScancode(key), false);
        const int vk = virtualkeys::fromSdlKey(SDL_GetKeyFromScancode(key));
        if (vk != 0) {
            send(WM_KEYUP, static_cast<WPARAM>(vk), KEY_REPEAT_COUNT_ONE | KEY_WAS_DOWN | KEY_GOING_UP);
        }
    }

    // A key pressed for one frame and let go in the next.
    void tap(SDL_Scancode key, double dt = FRAME) {
        keyDown(key);
        frame(dt);
        keyUp(key);
        frame(dt);
    }

    // Left (1), right (2) or middle (3) button, at the window cursor.
    void button(int which, bool down) {
        static const unsigned int codes[] = {0x100, 0x200, 0x300};
        static const UINT downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static const UINT ups[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        const std::size_t i = static_cast<std::size_t>(which - 1);
        hold(codes[i], down);
        send(down ? downs[i] : ups[i], 0, point(_windowX, _windowY));
    }

    void click(int which) {
        button(which, true);
        frame(FRAME);
        button(which, false);
        frame(FRAME);
    }

    // The mouse moved by (dx, dy): the window cursor follows as far as the window goes.
    void mouseBy(int dx, int dy) {
        moveMouse(dx, dy);
        _windowX = std::min(std::max(_windowX + dx, 0), 799);
        _windowY = std::min(std::max(_windowY + dy, 0), 599);
        send(WM_MOUSEMOVE, 0, point(_windowX, _windowY));
    }

    void mouseTo(int x, int y) { mouseBy(x - _windowX, y - _windowY); }

    // Types the text as key presses, letters and digits and blanks.
    void type(const std::string& text) {
        for (const char c : text) {
            SDL_Scancode key = SDL_SCANCODE_SPACE;
            if (c >= 'A' && c <= 'Z') {
                key = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (c - 'A'));
            } else if (c >= '1' && c <= '9') {
                key = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (c - '1'));
            } else if (c == '0') {
                key = SDL_SCANCODE_0;
            }
            tap(key);
        }
    }

private:
    int _windowX = 400;
    int _windowY = 300;
};

}  // namespace testgame

#endif
