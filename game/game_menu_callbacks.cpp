#include "game/game.h"

namespace Vortel {

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
void Game::_menucallback_cockpitType(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displayMode(const std::string&, const std::string&, void*) {}
void Game::_menucallback_AdjustFov(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displayChaserNames(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displayChaserTypes(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displayChaserHitpoints(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displayChaserBoundingBoxes(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displayDestroyedChaserList(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displaySurroundDetector(const std::string&, const std::string&, void*) {}
void Game::_menucallback_displayFps(const std::string&, const std::string&, void*) {}
void Game::_menucallback_trailReflection(const std::string&, const std::string&, void*) {}
void Game::_menucallback_debrisParticleDensity(const std::string&, const std::string&, void*) {}
void Game::_menucallback_effectsParticleDensity(const std::string&, const std::string&, void*) {}
void Game::_menucallback_colorScheme(const std::string&, const std::string&, void*) {}
void Game::_menucallback_gameSpeed(const std::string&, const std::string&, void*) {}
void Game::_menucallback_invertMouse(const std::string&, const std::string&, void*) {}
void Game::_menucallback_mouseSensitivity(const std::string&, const std::string&, void*) {}
void Game::_menucallback_aimingMode(const std::string&, const std::string&, void*) {}
void Game::_menucallback_masterVolume(const std::string&, const std::string&, void*) {}
void Game::_menucallback_effectsVolume(const std::string&, const std::string&, void*) {}
void Game::_menucallback_musicVolume(const std::string&, const std::string&, void*) {}
void Game::_menucallback_voiceVolume(const std::string&, const std::string&, void*) {}

}  // namespace Vortel
