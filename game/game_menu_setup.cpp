#include "game/game.h"

namespace Vortel {

void Game::menuSetup() {}
void Game::setCurrentMenu(Stelkor::SimpleMenu* menu) { _currentMenu = menu; }

}  // namespace Vortel
