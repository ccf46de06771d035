#include "game/hudtexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "actors/bot.h"
#include "game/dialtexts.h"

namespace Vortel {

namespace {

// Whole numbers shown of a floating reading, truncated toward zero; a reading no int holds
// ends at the int's range instead of being undefined.
int truncated(double reading) {
    if (reading != reading) {
        return 0;
    }
    return static_cast<int>(std::clamp(reading, -2.0e9, 2.0e9));
}

void appendInt(int number, std::string& out) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", number);
    out += digits;
}

}  // namespace

float comboDialValue(double comboTime, double comboWindow) {
    if (!(comboWindow > 0.0)) {
        return 0.0f;
    }
    return static_cast<float>(1.0 - comboTime / comboWindow);
}

float speedingDialValue(float speedLevel, int speedLevelRounded, int topLevel) {
    if (speedLevelRounded == topLevel) {
        return 1.0f;
    }
    return speedLevel - static_cast<float>(speedLevelRounded);
}

void speedingText(int speedLevelRounded, std::string& out) {
    out = "x";
    appendInt(speedLevelRounded, out);
}

std::array<BarHudColumn, 7> barHudColumns(const std::array<float, 7>& widths, float rowWidth) {
    static const RGBA<float> colors[7] = {
        RGBA<float>(0.8f, 1.0f, 0.8f, 1.0f), RGBA<float>(0.8f, 1.0f, 0.8f, 1.0f), RGBA<float>(0.8f, 0.8f, 1.0f, 1.0f),
        RGBA<float>(0.8f, 0.8f, 0.8f, 1.0f), RGBA<float>(1.0f, 0.8f, 0.8f, 1.0f), RGBA<float>(1.0f, 0.8f, 1.0f, 1.0f),
        RGBA<float>(0.9f, 1.0f, 0.8f, 1.0f),
    };
    constexpr float margin = 16.0f;
    constexpr float minimumGap = 8.0f;
    constexpr float gaps = 6.0f;
    float total = 0.0f;
    std::array<float, 7> whole{};
    for (std::size_t i = 0; i < whole.size(); ++i) {
        whole[i] = std::ceil(std::max(widths[i], 0.0f));
        total += whole[i];
    }
    float left = margin;
    float gap = std::floor((rowWidth - 2.0f * margin - total) / gaps);
    if (gap < minimumGap) {
        gap = minimumGap;
        left = std::max(0.0f, std::floor((rowWidth - total - gaps * minimumGap) / 2.0f));
    }
    std::array<BarHudColumn, 7> columns;
    float x = left;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i].color = colors[i];
        columns[i].x = x;
        x += whole[i] + gap;
    }
    return columns;
}

void barHudWidestText(std::size_t item, char digit, std::string& out) {
    static const char* const patterns[7] = {"SCORE: ########", "TO GO: -######", "SHIELDS: ##", "AMMO: ###",
                                            "EMP: #",          "CHASERS: ##/##", "DENS: ###"};
    out = patterns[std::min<std::size_t>(item, 6)];
    std::replace(out.begin(), out.end(), '#', digit);
}

void barHudText(std::size_t item, const BarHudValues& v, std::string& out) {
    char number[32];
    switch (item) {
    case 0:
        std::snprintf(number, sizeof number, "%06lu", static_cast<unsigned long>(v.score));
        out = "SCORE: ";
        out += number;
        break;
    case 1:
        out = "TO GO: ";
        out += pointsToGoDialText(v.pointsToGo);
        break;
    case 2:
        out = "SHIELDS: ";
        out += shieldsDialText(v.shields);
        break;
    case 3:
        out = "AMMO: ";
        out += ammoDialText(v.ammo);
        break;
    case 4:
        out = "EMP: ";
        out += bombsDialText(v.bombs);
        break;
    case 5:
        out = "CHASERS: ";
        out += chasersDialText(v.liveChasers, v.chasers);
        break;
    default:
        out = "DENS: ";
        out += densityDialText(v.density);
        break;
    }
}

void chaserLabel(const std::string& name, const std::string& type, bool showName, bool showType, std::string& out) {
    out.clear();
    if (showName) {
        out += name;
        out += ' ';
    }
    if (showType) {
        out += '(';
        out += type;
        out += ')';
    }
}

float hitpointBarOffset(bool showName, bool showType) { return showName || showType ? 14.0f : 3.0f; }

bool hitpointBar(const Quib::AABB2<float>& screenBox, float hitpoints, int hitpointsMax, float offset,
                 HitpointBar& out) {
    if (hitpointsMax <= 0) {
        return false;
    }
    const Vector2<float>& m = screenBox.min;
    out.frame = Quib::AABB2<float>(m.x, m.y - offset - 9.0f, m.x + 38.0f, m.y - offset - 2.0f);
    out.hasFill = hitpoints > 0.0f;
    const float scale = 36.0f / static_cast<float>(hitpointsMax);
    const float left = out.frame.min.x + 2.0f;
    const float right = std::max(left, out.frame.min.x + scale * hitpoints);
    out.fill = Quib::AABB2<float>(left, out.frame.min.y + 2.0f, right, out.frame.min.y + 5.0f);
    const float share = hitpoints / static_cast<float>(hitpointsMax);
    if (share > 0.5f) {
        out.fillColor = RGBA<float>(0.0f, 1.0f, 0.0f, 1.0f);
    } else if (share > 0.2f) {
        out.fillColor = RGBA<float>(1.0f, 0.7f, 0.0f, 1.0f);
    } else {
        out.fillColor = RGBA<float>(1.0f, 0.0f, 0.0f, 1.0f);
    }
    return true;
}

void respawnListText(const std::list<Bot*>& deadBots, std::string& out) {
    out.clear();
    if (deadBots.empty()) {
        return;
    }
    out += "CHASER RESPAWN:\n";
    for (const Bot* bot : deadBots) {
        out += bot->_name;
        out += ' ';
        appendInt(truncated(bot->timeToRespawn()), out);
        out += '\n';
    }
}

void frameRateText(bool show, double framesPerSecond, std::string& out) {
    out.clear();
    if (show) {
        appendInt(truncated(framesPerSecond), out);
        out += " fps\n";
    }
}

}  // namespace Vortel
