#include "game/dialtexts.h"

#include <iomanip>
#include <sstream>

namespace Vortel {

namespace {

template <typename T>
std::string zeroPadded(T number, int width) {
    std::ostringstream out;
    out << std::setfill('0') << std::setw(width) << number;
    return out.str();
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
