// Rules of the play frame that other parts of the game provide: each does nothing until its
// part is built, so the frame already runs them at their place.
#include "game/game.h"

namespace Vortel {

void Game::addCollectable(const Vector3<int>&) {}
void Game::collectCollectable(const Vector3<int>&) {}
void Game::checkTricks() {}
void Game::stepComboClock(double) {}
void Game::drawBotInfo() {}
void Game::drawDeadBots() {}
void Game::drawDebugInfo() {}
void Game::drawSpeeding() {}
void Game::drawCombo() {}
void Game::drawBarHud() {}

}  // namespace Vortel
