#include "game/game.h"

namespace Vortel {

void Game::defaultMenuAction() {}
void Game::_menucallback_quit(const std::string&, const std::string&, void* game) {
    static_cast<Game*>(game)->_quit = true;
}
void Game::_menucallback_quitCurrentGame(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineDefaults(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyLeft(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyRight(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyUp(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyDown(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyBoost(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyFire(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyNuke(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyPause(const std::string&, const std::string&, void*) {}
void Game::_menucallback_redefineKeyMouselook(const std::string&, const std::string&, void*) {}
void Game::_menucallback_resumeGame(const std::string&, const std::string&, void*) {}
void Game::_menucallback_startGame(const std::string&, const std::string&, void*) {}
void Game::_menucallback_trainTrick(const std::string&, const std::string&, void*) {}
void Game::_menucallback_viewScores(const std::string&, const std::string&, void*) {}
void Game::_menucallback_credits(const std::string&, const std::string&, void*) {}

}  // namespace Vortel
