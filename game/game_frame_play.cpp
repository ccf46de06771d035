#include "game/game.h"

namespace Vortel {

bool Game::framePlay() { return true; }

}  // namespace Vortel
