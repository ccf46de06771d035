#include "actors/gamestate.h"

namespace Vortel {

void GameState::spawn(const Vector3<int>&, const Bot& bot) {
    _spawnedBots.push_back(std::make_unique<Bot>(bot));
}

void GameState::update(double) {}

}  // namespace Vortel
