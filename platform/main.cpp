#include <SDL.h>

#include <string>

#include "game/game.h"
#include "platform/entrypoint.h"
#include "platform/gamefolder.h"
#include "platform/standardstreams.h"

int main(int, char**) {
    // Before anything else opens a descriptor, or the display connection could be the one
    // standard output writes into.
    openClosedStandardDescriptors();
    survivePipesWithoutReader();
    // Before the game is made: it reads its first files while it is built.
    const std::string folderNote = settleGameFolder();
    const int result = runApplication([] { return std::make_unique<Vortel::Game>(); }, folderNote);
    SDL_Quit();
    return result;
}
