// The user settings and the files the game writes: reading the settings files (and what is
// said of one that cannot be read), saving the settings and the scores, full screen as the
// setting asks (and what is said when the screen cannot), and loadSettings(), which applies
// "data/vasp.conf" after loading, row by row of the table in game/usersettings.h.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "game/game.h"
#include "game/keybindings.h"
#include "game/usersettings.h"
#include "platform/boundedfile.h"
#include "platform/keycode.h"
#include "platform/safewrite.h"
#include "world/cuberenderer.h"

namespace Vortel {

namespace {

// The store is only asked, never added to: an absent key leaves the member as it is.
class SettingsReader {
public:
    explicit SettingsReader(Settings& settings) : _settings(settings) {}

    bool has(const char* key) const { return _settings.exists(key); }
    const Settings::Value& operator[](const char* key) const { return _settings[key]; }

    void flag(const char* key, bool& member) const {
        if (has(key)) {
            member = _settings[key].i != 0;
        }
    }

    // A code that no key or mouse button gives is read as no key, so the name shown, the key
    // tracked and the code compared in flight agree.
    void binding(const char* key, unsigned int& member) const {
        if (has(key)) {
            const int code = _settings[key].i;
            member = keycodes::isKeyCode(code) ? static_cast<unsigned int>(code) : 0u;
        }
    }

private:
    Settings& _settings;
};

// The field of view in whole multiples of 5 degrees, rounded toward zero. The reading is
// first held to a range the integer conversion can take: a huge reading ends at the limit
// on its side all the same.
float fovStep(float reading) {
    const int degrees = static_cast<int>(std::clamp(reading, -1000.0f, 1000.0f));
    return static_cast<float>(degrees / 5 * 5);
}

// Tells of the first failure of a run of failed saves of one file, and of the first save of a
// run whose folder did not sync: that file is saved, but may not survive a power cut.
void reportSave(Game& game, bool saved, Game::SaveTold& told, const std::string& path, const std::string& reason,
                const char* notice) {
    const Game::SaveTold now = !saved ? Game::SaveTold::Failure
                               : reason.empty() ? Game::SaveTold::Nothing
                                                : Game::SaveTold::Unsynced;
    if (now != told && now == Game::SaveTold::Failure) {
        std::fprintf(stderr, "Cannot save %s: %s\n", path.c_str(), reason.c_str());
        game.showNotice(notice);
    } else if (now != told && now == Game::SaveTold::Unsynced) {
        std::fprintf(stderr, "Saved %s, but %s\n", path.c_str(), reason.c_str());
    }
    told = now;
}

// Where a file that did not read whole is kept (or, where a copy kept before still stands
// there, the first free name after it).
std::string damagedCopyOf(const std::string& path) {
    return path + ".damaged";
}

// A file that is there but did not read whole: the game goes on without what it holds and
// says so on standard error with the reason, and with what becomes of the file.
void tellUnread(const std::string& path, const ReadFailure& failure, const std::string& then) {
    std::fprintf(stderr, "Cannot read %s: %s; the game goes on without it%s\n", path.c_str(), failure.reason.c_str(),
                 then.c_str());
}

// What becomes of a file of the player's that did not read whole: a regular file is kept before
// a save replaces it; anything else (a folder, a named pipe, a device) no save replaces.
std::string thenOfSaved(const std::string& path, bool regular) {
    return regular ? " and saves over it only once it is kept as " + damagedCopyOf(path)
                   : " and does not save over it";
}

// A file of the player's that did not read whole is told once, also in the menus.
void reportUnread(Game& game, const std::string& path, const ReadFailure& failure, bool regular, const char* notice) {
    tellUnread(path, failure, thenOfSaved(path, regular));
    game.showNotice(notice);
}

// A link of the player's that leads to no file reads as no file at all, but every save through
// it would fail: it is told at the start, once, also in the menus. Nothing is there to keep.
void reportDanglingLink(Game& game, const std::string& path, const ReadFailure& failure, const char* notice) {
    std::error_code error;
    if (!failure.missing || !std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        return;
    }
    ReadFailure dangling;
    dangling.reason = "a link to " + std::filesystem::read_symlink(path, error).string() + ", which leads to no file";
    tellUnread(path, dangling, "");
    game.showNotice(notice);
}

// The file to keep of one that did not read whole: the regular file found before the read,
// where it still stands after it. A file that changed in between (another game's save came
// then) is no file this game found damaged.
std::optional<FileIdentity> damagedFile(const std::optional<FileIdentity>& before, const std::string& path) {
    return before && before == regularFileAt(path) ? before : std::nullopt;
}

// Before the first save over a file that did not read whole, its bytes are kept aside, so the
// save cannot cost the player what the game could not read; a copy kept before stays, and a
// file another game saved over it since is that game's own, not kept. False, with why in
// reason, when the copy fails: the save must then not go on.
bool keepDamagedFile(std::optional<FileIdentity>& damaged, const std::string& path, std::string& reason) {
    if (!damaged) {
        return true;
    }
    const std::string kept = damagedCopyOf(path);
    std::string keptAs;
    switch (keepCopy(path, *damaged, kept, keptAs, &reason)) {
    case KeepOutcome::Kept:
        if (keptAs != kept) {
            std::fprintf(stderr, "Kept %s as %s: %s, kept before, stays as it is\n", path.c_str(), keptAs.c_str(),
                         kept.c_str());
        }
        break;
    case KeepOutcome::Changed:
        std::fprintf(stderr,
                     "%s is no longer the file the game could not read at the start (another game may have saved "
                     "over it): the game saves over it without keeping it\n",
                     path.c_str());
        break;
    case KeepOutcome::Failed: reason = "cannot keep the damaged file as " + kept + ": " + reason; return false;
    }
    damaged.reset();
    return true;
}

// Reads one row of the table into the game.
void loadSetting(Game& game, const UserSetting& row) {
    const SettingsReader settings(game._settings);
    const char* const key = row.key;
    switch (row.kind) {
    case SettingKind::FieldOfView:
        if (settings.has(key)) {
            float& fov = game.*row.real;
            fov = fovStep(settings[key].f);
            if (game._fovMin > fov) {
                fov = game._fovMin;
            }
            if (fov > game._fovMax) {
                fov = game._fovMax;
            }
            game._camera.fov(fov);
        }
        break;
    case SettingKind::DisplayMode: game.applyFullscreenSetting(); break;
    case SettingKind::ColorScheme:
        if (settings.has(key)) {
            game.applyColorScheme(settings[key].text);
        }
        break;
    case SettingKind::TrailReflection:
        // The scheme's trail colours are in place: reflections brighten the trails, so the
        // colours are darkened once to make up for them.
        settings.flag(key, game.*row.flag);
        game._octree.renderReflections(game.*row.flag);
        if (game.*row.flag) {
            OcTree::cubeRenderer().scaleTrailColors(game._trailReflectionColorScale);
        }
        break;
    case SettingKind::Level:
        if (settings.has(key)) {
            game.*row.whole = std::clamp(settings[key].i, row.min, row.max);
            if (row.follow != nullptr) {
                row.follow(game);
            }
        }
        break;
    case SettingKind::Fraction:
        if (settings.has(key)) {
            game.*row.real = std::clamp(settings[key].f, 0.0f, 1.0f);
        }
        break;
    case SettingKind::Switch: settings.flag(key, game.*row.flag); break;
    case SettingKind::Tenths:
        if (settings.has(key)) {
            const double tenths = settings[key].i / 10.0;
            game.*row.real = static_cast<float>(tenths < 0.1 ? 0.1 : tenths);
        }
        break;
    case SettingKind::GameSpeed:
        if (settings.has(key)) {
            game.applyGameSpeed(settings[key].text);
        }
        break;
    case SettingKind::Bindings:
        for (unsigned int Game::*member : flightKeyOrder) {
            settings.binding(bindingOf(member).key, game.*member);
        }
        break;
    case SettingKind::Volume:
        if (settings.has(key)) {
            game.*row.byte = volumeByte(settings[key].i);
        }
        break;
    }
}

}  // namespace

void Game::removeLeftTemporaries() {
    for (const std::string& path : {_settingsPath, _scoresPath}) {
        ::removeLeftTemporaries(path);
        ::removeLeftTemporaries(damagedCopyOf(path));
    }
}

void Game::readSettingsFiles() {
    // A file the game could read but never save again is as good as one it cannot read: kept
    // aside, it costs the player nothing, and the game's own settings save from then on.
    const std::optional<FileIdentity> found = regularFileAt(_settingsPath);
    ReadFailure failure;
    if (!_settings.loadSavable(_settingsPath, &failure)) {
        if (!failure.missing) {
            _settingsDamaged = damagedFile(found, _settingsPath);
            reportUnread(*this, _settingsPath, failure, found.has_value(), "SETTINGS NOT READ");
        }
        reportDanglingLink(*this, _settingsPath, failure, "SETTINGS NOT READ");
    }
    // The game never writes these: one that cannot be read is only named.
    const auto readOther = [](Settings& store, const std::string& path) {
        ReadFailure unread;
        if (!store.load(path, false, &unread) && !unread.missing) {
            tellUnread(path, unread, "");
        }
    };
    readOther(_colorSettings, _colorSettingsPath);
    readOther(_speedSettings, _speedSettingsPath);
}

bool Game::saveSettings() {
    std::string reason;
    const bool saved =
        keepDamagedFile(_settingsDamaged, _settingsPath, reason) && _settings.save(_settingsPath, &reason);
    reportSave(*this, saved, _settingsSaveTold, _settingsPath, reason, "SETTINGS NOT SAVED");
    return saved;
}

bool Game::saveScores() {
    std::string reason;
    const bool saved =
        keepDamagedFile(_scoresDamaged, _scoresPath, reason) && _scoreTables.save(_scoresPath, &reason);
    reportSave(*this, saved, _scoresSaveTold, _scoresPath, reason, "HIGH SCORES NOT SAVED");
    return saved;
}

void Game::applyFullscreenSetting() {
    const char* const key = userSettingOf(SettingKind::DisplayMode).key;
    if (!_settings.exists(key)) {
        return;
    }
    try {
        fullscreen(_settings[key].i != 0);
    } catch (const std::runtime_error& failure) {
        // The key stays as the player saved it: on a screen that can, the next start is full
        // screen again.
        if (!_fullscreenFallbackReported) {
            _fullscreenFallbackReported = true;
            reportDisplayModeFailure(failure);
        }
    }
}

void Game::reportDisplayModeFailure(const std::runtime_error& failure) {
    const bool full = fullscreen();
    std::fprintf(stderr, "%s: the game goes on %s\n", failure.what(), full ? "in full screen" : "in a window");
    showNotice(full ? "WINDOW NOT AVAILABLE - PLAYING IN FULL SCREEN" : "FULL SCREEN NOT AVAILABLE - PLAYING IN A WINDOW");
}

void Game::loadSettings() {
    // A missing or damaged score file leaves the tables the set-up made. A file that is there
    // but did not read whole, or a link that leads nowhere, is told; one that is there is kept
    // aside before the first save replaces it.
    const std::optional<FileIdentity> found = regularFileAt(_scoresPath);
    ReadFailure failure;
    std::string uneven;
    if (!_scoreTables.load(_scoresPath, &failure, &uneven)) {
        if (!failure.missing) {
            _scoresDamaged = damagedFile(found, _scoresPath);
            reportUnread(*this, _scoresPath, failure, found.has_value(), "HIGH SCORES NOT READ");
        }
        reportDanglingLink(*this, _scoresPath, failure, "HIGH SCORES NOT READ");
    } else if (!uneven.empty()) {
        // Each table shows the rows it was made with, whatever the file held: the file the
        // tables came in is kept all the same.
        _scoresDamaged = damagedFile(found, _scoresPath);
        std::fprintf(stderr, "%s is not as the game writes it: %s; the game goes on with it%s\n", _scoresPath.c_str(),
                     uneven.c_str(), thenOfSaved(_scoresPath, true).c_str());
        showNotice("HIGH SCORES NOT READ");
    }

    for (const UserSetting& row : userSettings) {
        loadSetting(*this, row);
    }
}

}  // namespace Vortel
