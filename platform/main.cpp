#include <SDL.h>

#include "game/game.h"
#include "platform/entrypoint.h"
#include "platform/gamefolder.h"
#include "platform/standardstreams.h"

int main(int, char**) {
    // Before anything else opens a descriptor, or the display connection could be the one
    // standard output writes into.
    openClosedStandardDescriptors();
    survivePipesWithoutReader();
    tellMissingGameFolders();
    const int result = runApplication([] { return std::make_unique<Vortel::Game>(); });
    SDL_Quit();
    return result;
}
