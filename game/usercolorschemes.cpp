#include "game/usercolorschemes.h"

#include <algorithm>

#include "platform/settings.h"
#include "world/cubecolors.h"

namespace Vortel {

namespace {

// Values first .. first + 3 of a key as a colour; missing values read as 0.
RGBA<float> colorOf(Settings& settings, const std::string& key, int first = 0) {
    const auto value = [&](int i) { return settings[key + "@" + std::to_string(first + i)].f; };
    return RGBA<float>(value(0), value(1), value(2), value(3));
}

bool tableFull(const CubeColors& colors) {
    return colors.tripletCount() >= CubeColors::ENTRIES_BEFORE_WRAP ||
           colors.trailCount() >= CubeColors::ENTRIES_BEFORE_WRAP;
}

}  // namespace

void readUserColorSchemes(Settings& file, CubeColors& colors, std::map<std::string, ColorScheme>& schemes,
                          unsigned char black) {
    const ColorScheme fallback = schemes["default_light"];
    std::map<std::string, unsigned char> namedTriplets;
    const auto tripletNamed = [&](const std::string& name) {
        const auto known = namedTriplets.find(name);
        if (known != namedTriplets.end()) {
            return known->second;
        }
        if (!file.exists(name)) {
            return black;
        }
        const unsigned char index =
            colors.createColorTriplet(colorOf(file, name, 0), colorOf(file, name, 4), colorOf(file, name, 8));
        namedTriplets[name] = index;
        return index;
    };
    // A trail is made only when its colours fit in the triplet table unwrapped: a wrapped
    // table would write the file's colours over the game's own, black among them.
    const auto addsTriplet = [&](const std::string& name) {
        return namedTriplets.count(name) == 0 && file.exists(name);
    };
    const auto tripletsFit = [&](const std::string& start, const std::string& end) {
        const int added = (addsTriplet(start) ? 1 : 0) + (end != start && addsTriplet(end) ? 1 : 0);
        return colors.tripletCount() + added <= CubeColors::ENTRIES_BEFORE_WRAP;
    };
    bool full = false;

    for (int n = 1; !full && !tableFull(colors); ++n) {
        const std::string prefix = std::to_string(n) + "_";
        if (!file.exists(prefix + "name")) {
            break;
        }
        const std::string key = file[prefix + "name"].text;
        // The same key again continues that scheme: lists grow, colours are overwritten.
        const bool existed = schemes.count(key) != 0;
        ColorScheme& scheme = schemes[key];
        scheme.name = key;

        if (file.exists(prefix + "background")) {
            scheme.backgrounds.push_back(colorOf(file, prefix + "background"));
        }
        for (int k = 1; file.exists(prefix + "background" + std::to_string(k)); ++k) {
            scheme.backgrounds.push_back(colorOf(file, prefix + "background" + std::to_string(k)));
        }
        scheme.changeBackgroundOnEvery = 1;
        if (file.exists(prefix + "changeBackgroundOnEvery")) {
            scheme.changeBackgroundOnEvery = std::max(1, file[prefix + "changeBackgroundOnEvery"].i);
        }
        scheme.hud = colorOf(file, prefix + "hud");
        scheme.hit = colorOf(file, prefix + "hit");

        const int playerTrail = file.exists(prefix + "playerTrail") ? file[prefix + "playerTrail"].i : 0;
        const bool exclusive =
            file.exists(prefix + "playerTrailExclusive") && file[prefix + "playerTrailExclusive"].i != 0;
        bool playerTrailFound = false;
        for (int k = 1; !tableFull(colors); ++k) {
            const std::string trailKey = prefix + "trail" + std::to_string(k);
            if (!file.exists(trailKey)) {
                break;
            }
            const std::string startName = file[trailKey + "@0"].text;
            const std::string endName = file[trailKey + "@1"].text;
            if (!tripletsFit(startName, endName)) {
                full = true;
                break;
            }
            const unsigned char start = tripletNamed(startName);
            const unsigned char end = tripletNamed(endName);
            const unsigned char trail = colors.createTrailColors(start, end);
            if (k == playerTrail) {
                scheme.playerTrail = trail;
                playerTrailFound = true;
                if (!exclusive) {
                    scheme.trailColors.push_back(trail);
                }
            } else {
                scheme.trailColors.push_back(trail);
            }
        }
        // A new scheme whose craft trail names none of its trails flies the first of them.
        if (!playerTrailFound && !existed) {
            scheme.playerTrail = scheme.trailColors.empty() ? 0 : scheme.trailColors.front();
        }

        scheme.starfieldColor =
            file.exists(prefix + "starfieldColor") ? colorOf(file, prefix + "starfieldColor") : fallback.starfieldColor;
        scheme.starfieldColorRand = file.exists(prefix + "starfieldColorRand")
                                        ? colorOf(file, prefix + "starfieldColorRand")
                                        : fallback.starfieldColorRand;
    }
}

}  // namespace Vortel
