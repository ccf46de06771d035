#include "platform/sdlvideo.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Drivers that draw into memory only, shown on no screen; no driver at all shows nothing either.
bool unseenDriver(const char* driver) {
    return driver == nullptr || SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0;
}

// Where no display can be reached SDL falls back to drivers that draw into memory; a game
// started that way would run with no window anywhere and a player could neither see nor end
// it. Those drivers are taken only when asked for by name (tests and benchmarks do).
bool unseenUnlessAskedFor() {
    const char* const driver = SDL_GetCurrentVideoDriver();
    return unseenDriver(driver) && (driver == nullptr || !driverAskedFor(driver));
}

// The variables that say where to show a window, as they stand: "DISPLAY not set,
// WAYLAND_DISPLAY=wayland-0", and SDL_VIDEODRIVER where it is set.
std::string displayVariables() {
    std::string text;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* const value = std::getenv(variable);
        const bool driver = std::strcmp(variable, "SDL_VIDEODRIVER") == 0;
        if (value == nullptr && driver) {
            continue;
        }
        text += text.empty() ? "" : ", ";
        text += value == nullptr ? std::string(variable) + " not set" : std::string(variable) + "=" + value;
    }
    return text;
}

// The error's own words say nothing of displays; this line, just before it, tells a player
// where the game looked for one and what SDL answered.
[[noreturn]] void noDisplay(const std::string& why) {
    std::fprintf(stderr, "No display to show the game on (%s): %s\n", displayVariables().c_str(), why.c_str());
    std::fflush(stderr);
    throw std::runtime_error("Couldn't register Windows Class");
}

}  // namespace

SdlVideo::SdlVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        noDisplay(std::string("SDL says: ") + SDL_GetError());
    }
    if (unseenUnlessAskedFor()) {
        const char* const driver = SDL_GetCurrentVideoDriver();
        const std::string fallback = driver != nullptr ? driver : "none";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        noDisplay("SDL could open none; its \"" + fallback + "\" driver, all that is left, shows nothing");
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

bool SdlVideo::showsNothing() const {
    return unseenDriver(SDL_GetCurrentVideoDriver());
}
