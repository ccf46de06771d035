#ifndef QUELLARIS_ACTORS_GAMESTATE_H
#define QUELLARIS_ACTORS_GAMESTATE_H

#include <list>
#include <memory>

#include "actors/bot.h"
#include "platform/vector3.h"

namespace Vortel {

// A list of chasers copied from prototypes. It owns its copies and frees them with itself.
class GameState {
public:
    // Appends a member-by-member copy of bot; the cell is not used, the copy keeps bot's own.
    void spawn(const Vector3<int>& cell, const Bot& bot);
    void update(double dt);

    const std::list<std::unique_ptr<Bot> >& spawnedBots() const { return _spawnedBots; }

private:
    std::list<std::unique_ptr<Bot> > _spawnedBots;
};

}  // namespace Vortel

#endif
