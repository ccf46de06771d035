#include "game/game.h"

namespace Vortel {

void Game::loadSettings() {}

}  // namespace Vortel
