#include "game/game.h"

#include <GL/gl.h>

namespace Vortel {

Game::Game() : OpenglApp("Quellaris", 800, 600, false) {}

Game::~Game() {}

void Game::init() {}

bool Game::frame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void Game::close() {}

bool Game::message(HWND, UINT, WPARAM, LPARAM) {
    return false;
}

}  // namespace Vortel
