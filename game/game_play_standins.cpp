// Rules of the play frame that other parts of the game provide: each does nothing until its
// part is built, so the frame already runs them at their place.
#include "game/game.h"

namespace Vortel {

void Game::resolveShot() {}
void Game::beginAimRay() {}
void Game::aimRayAtCopy(const Vector3<float>&) {}
void Game::aimRayAtChaser(Bot&, const Vector3<float>&) {}
void Game::endAimRay() {}
void Game::addShotTracer() {}
void Game::respawnBot(Bot*) {}
void Game::cutOffChasers() {}
void Game::setBotHumVolume(unsigned char) {}

}  // namespace Vortel
