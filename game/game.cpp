#include "game/game.h"

#include <GL/gl.h>

#include "platform/game_openglextensions.h"

namespace Vortel {

Game::Game() : OpenglApp("Quellaris", 800, 600, false), _input(_hwnd) {}

Game::~Game() {}

void Game::init() {
    glext::setupMultitexturing();
}

bool Game::frame() {
    // Input first: its messages reach message() before anything of this frame happens.
    _input.update();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void Game::close() {}

bool Game::message(HWND, UINT, WPARAM, LPARAM) {
    return false;
}

}  // namespace Vortel
