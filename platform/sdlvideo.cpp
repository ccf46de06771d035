#include "platform/sdlvideo.h"

#include <SDL.h>

#include <stdexcept>

SdlVideo::SdlVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        throw std::runtime_error("Couldn't register Windows Class");
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw std::runtime_error("Couldn't save desktop display settings");
    }
}

SdlVideo::~SdlVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
