#include <SDL.h>

#include "game/game.h"
#include "platform/entrypoint.h"

int main(int, char**) {
    const int result = runApplication([] { return std::make_unique<Vortel::Game>(); });
    SDL_Quit();
    return result;
}
