// The colour file data/color: a player writes schemes of their own into it, so whatever it
// holds must give schemes the game can apply, without wrapping the colour tables over the
// colours the game registered before it. The tables start as the game leaves them: its
// built-in triplets and trails made, "default_light" there.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "fuzz/support/scratch.h"
#include "game/usercolorschemes.h"
#include "platform/settings.h"
#include "world/cubecolors.h"

using fuzzsupport::require;

namespace {

constexpr int kBuiltInTriplets = 13;
constexpr int kBuiltInTrails = 7;

void registerBuiltIns(Vortel::CubeColors& colors) {
    const RGBA<float> grey(0.5f, 0.5f, 0.5f, 1.0f);
    for (int i = 0; i < kBuiltInTriplets; ++i) {
        colors.createColorTriplet(grey, grey, grey);
    }
    for (int i = 0; i < kBuiltInTrails; ++i) {
        colors.createTrailColors(1, 2);
    }
}

void checkScheme(const std::string& key, const Vortel::ColorScheme& scheme, const Vortel::CubeColors& colors) {
    require(key == "default_light" || scheme.name == key, "a user scheme is kept under another name than its own");
    require(scheme.changeBackgroundOnEvery >= 1, "a scheme changes its background every 0 stages or fewer");
    require(scheme.playerTrail < colors.trailCount(), "a scheme's craft trail is no trail made");
    for (const unsigned char trail : scheme.trailColors) {
        require(trail < colors.trailCount(), "a scheme names a trail that was never made");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Settings file;
    require(file.load(fuzzsupport::writeScratchFile("color", data, size), false), "a readable colour file did not load");

    Vortel::CubeColors colors;
    registerBuiltIns(colors);
    std::map<std::string, Vortel::ColorScheme> schemes;
    Vortel::ColorScheme& defaults = schemes["default_light"];
    defaults.starfieldColor = RGBA<float>(0.0f, 0.0f, 0.0f, 0.3f);
    defaults.trailColors.assign({0, 1, 2, 3});

    Vortel::readUserColorSchemes(file, colors, schemes, 0);
    require(colors.tripletCount() >= kBuiltInTriplets && colors.trailCount() >= kBuiltInTrails,
            "the colour file wrapped a colour table over the game's own colours");
    for (const auto& entry : schemes) {
        checkScheme(entry.first, entry.second, colors);
    }
    return 0;
}
