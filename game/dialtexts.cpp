#include "game/dialtexts.h"

#include <cstdio>

namespace Vortel {

namespace {

// Drawn every frame, so no stream: a stream's buffer takes heap memory on its first write,
// while these few characters fit in the string itself. "%g" is a stream's default format for
// a double (six significant digits).
std::string zeroPadded(int number, int width) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*d", width, number);
    return text;
}

std::string zeroPadded(double number, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*g", width, number);
    return text;
}

}  // namespace

std::string scoreDialText(std::uint32_t score) {
    return std::to_string(score);
}

std::string pointsToGoDialText(int pointsToGo) {
    return std::to_string(pointsToGo);
}

std::string shieldsDialText(float shieldPoints) {
    return zeroPadded(static_cast<double>(shieldPoints), 2);
}

std::string ammoDialText(int rounds) {
    return zeroPadded(rounds, 3);
}

std::string bombsDialText(int bombs) {
    return std::to_string(bombs);
}

std::string densityDialText(int densityPercent) {
    return zeroPadded(densityPercent, 2);
}

std::string chasersDialText(int live, int total) {
    return std::to_string(live) + "/" + std::to_string(total);
}

std::string waveDialText(int stage) {
    return zeroPadded(stage, 2);
}

float scoreDialValue(int pointsToGo, int waveQuota) {
    if (waveQuota == 0) {
        return pointsToGo < 0 ? 1.0f : 0.0f;
    }
    return 1.0f - static_cast<float>(pointsToGo) / static_cast<float>(waveQuota);
}

float limitDialValue(float amount, int limit) {
    if (limit == 0) {
        return amount > 0.0f ? 1.0f : 0.0f;
    }
    return amount / static_cast<float>(limit);
}

}  // namespace Vortel
