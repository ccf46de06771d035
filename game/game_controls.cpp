#include "game/game.h"

namespace Vortel {

void Game::defaultControls() {}
void Game::unbindKey(unsigned int) {}
void Game::refreshKeyNames() {}
void Game::refreshRedefineKeysMenu() {}
void Game::saveControls() {}
void Game::trackPlayerKeys() {}

}  // namespace Vortel
