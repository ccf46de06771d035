#ifndef QUELLARIS_GAME_USERCOLORSCHEMES_H
#define QUELLARIS_GAME_USERCOLORSCHEMES_H

#include <map>
#include <string>
#include <vector>

#include "platform/rgba.h"

class Settings;

namespace Vortel {

class CubeColors;

// One look of the playfield: backgrounds by stage, HUD, trail, star and hit colours.
struct ColorScheme {
    std::string name;
    std::vector<RGBA<float> > backgrounds;
    int changeBackgroundOnEvery = 1;
    std::vector<unsigned char> trailColors;
    unsigned char playerTrail = 0;
    bool playerTrailExclusive = false;
    RGBA<float> hud = RGBA<float>(0.0f, 0.0f, 0.0f, 0.0f);
    RGBA<float> starfieldColor = RGBA<float>(0.0f, 0.0f, 0.0f, 0.0f);
    RGBA<float> starfieldColorRand = RGBA<float>(0.0f, 0.0f, 0.0f, 0.0f);
    RGBA<float> hit = RGBA<float>(0.0f, 0.0f, 0.0f, 0.0f);
};

// The numbered schemes of the colour file ("1_name", "2_name", ... up to the first number
// missing) into schemes, under their names. A name already there continues that scheme: its
// lists grow and its colours are overwritten. Trails name colours of the file, registered in
// the colour tables once each; an unknown colour name gives the black triplet. Reading stops
// where a colour table would wrap (at a trail whose colours do not fit). Stars missing from
// the file take the "default_light" scheme's.
void readUserColorSchemes(Settings& file, CubeColors& colors, std::map<std::string, ColorScheme>& schemes,
                          unsigned char black);

}  // namespace Vortel

#endif
