#include "game/usersettings.h"

#include <stdexcept>

#include "world/starfield.h"

namespace Vortel {

namespace {

template <typename Matches>
const UserSetting& findSetting(Matches matches) {
    for (const UserSetting& row : userSettings) {
        if (matches(row)) {
            return row;
        }
    }
    throw std::logic_error("no such user setting");
}

}  // namespace

void usersettings::showDebrisDensity(Game& game) {
    if (game._starfield) {
        game._starfield->starCount(game._debrisParticleDensity * game._starsPerDensityStep);
    }
}

const UserSetting& userSettingOf(bool Game::*flag) {
    return findSetting([flag](const UserSetting& row) { return row.flag == flag; });
}

const UserSetting& userSettingOf(int Game::*whole) {
    return findSetting([whole](const UserSetting& row) { return row.whole == whole; });
}

const UserSetting& userSettingOf(float Game::*real) {
    return findSetting([real](const UserSetting& row) { return row.real == real; });
}

const UserSetting& userSettingOf(unsigned char Game::*byte) {
    return findSetting([byte](const UserSetting& row) { return row.byte == byte; });
}

const UserSetting& userSettingOf(SettingKind kind) {
    return findSetting([kind](const UserSetting& row) { return row.kind == kind; });
}

}  // namespace Vortel
