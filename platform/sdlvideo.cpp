#include "platform/sdlvideo.h"

#include <SDL.h>

#include <stdexcept>
#include <string>

namespace {

// True when the SDL_VIDEODRIVER hint (a comma-separated list, matched without regard to case,
// as SDL itself reads it) names the driver.
bool driverAskedFor(const char* driver) {
    const char* const hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (hint == nullptr) {
        return false;
    }
    const std::string list = hint;
    std::string::size_type start = 0;
    while (start <= list.size()) {
        std::string::size_type end = list.find(',', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (SDL_strcasecmp(list.substr(start, end - start).c_str(), driver) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Where no display can be reached SDL falls back to drivers that draw into memory; a game
// started that way would run with no window anywhere and a player could neither see nor end
// it. Those drivers are taken only when asked for by name (tests and benchmarks do).
bool unseenUnlessAskedFor() {
    const char* const driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        return true;
    }
    const bool unseen =
        SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0;
    return unseen && !driverAskedFor(driver);
}

}  // namespace

SdlVideo::SdlVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        throw std::runtime_error("Couldn't register Windows Class");
    }
    if (unseenUnlessAskedFor()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
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
