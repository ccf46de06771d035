#include "game/game.h"

namespace Vortel {

void Game::load() { _state = STATE_LOADING; }
void Game::loader(void*) {}
bool Game::frameLoading() { return true; }
void Game::afterLoad() {}

}  // namespace Vortel
