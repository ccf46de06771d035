#include "game/game.h"

namespace Vortel {

void Game::initCornerCubeVertices() {}
void Game::drawTrickIllustrationByName(const std::string&, const Vector2<float>&, const Vector2<float>&, RGBA<float>,
                                       bool) {}

}  // namespace Vortel
