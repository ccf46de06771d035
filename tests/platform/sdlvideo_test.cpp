#include "platform/sdlvideo.h"

#include "tests/platform/wavfile_maker.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

// Sets or clears an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : _name(name) {
        if (const char* old = std::getenv(name)) {
            _old = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (_old) {
            setenv(_name, _old->c_str(), 1);
        } else {
            unsetenv(_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* _name;
    std::optional<std::string> _old;
};

}  // namespace

// On a machine without a display SDL falls back to drivers that show nothing; the game must
// take them as no display, unless SDL_VIDEODRIVER asked for one of them by name.
TEST(SdlVideo, DriversThatShowNothingAreTakenOnlyWhenAskedFor) {
    const ScopedEnv noX("DISPLAY", nullptr);
    const ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
    // A runtime folder of its own, so that no compositor's socket is found in a desktop's.
    const wavmaker::TempDir runtime;
    const ScopedEnv noSession("XDG_RUNTIME_DIR", runtime.path().c_str());
    struct Case {
        const char* asked;
        bool opens;
    };
    const Case cases[] = {
        {nullptr, false}, {"x11", false}, {"offscreen", true}, {"dummy", true}, {"x11,OffScreen", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked != nullptr ? c.asked : "(not set)");
        const ScopedEnv driver("SDL_VIDEODRIVER", c.asked);
        if (c.opens) {
            EXPECT_NO_THROW(SdlVideo());
        } else {
            try {
                SdlVideo video;
                ADD_FAILURE() << "opened on " << SDL_GetCurrentVideoDriver();
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ(error.what(), "Couldn't register Windows Class");
            }
        }
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    }
}
