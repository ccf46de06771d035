// The user settings and the files the game writes: saving the settings and the scores,
// full screen as the setting asks (and what is said when the screen cannot), and
// loadSettings(), which applies "data/vasp.conf" after loading.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <stdexcept>

#include "game/game.h"
#include "platform/safewrite.h"
#include "world/cuberenderer.h"
#include "world/starfield.h"

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
        if (!has(key)) {
            return;
        }
        const int code = _settings[key].i;
        const bool scanCode = code >= 0 && code <= 255;
        const bool mouseButton = code == 256 || code == 512 || code == 768 || code == 1024;
        member = scanCode || mouseButton ? static_cast<unsigned int>(code) : 0u;
    }

    // The file holds the menu's step 0 to 10; the game keeps the byte. A step out of range is
    // held to the range first, as no byte could hold its product.
    void volume(const char* key, unsigned char& member) const {
        if (has(key)) {
            const int step = std::clamp(_settings[key].i, 0, 10);
            member = static_cast<unsigned char>(step * 25.5);
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

// Tells of the first failure of a run of failed saves of one file.
void reportSave(Game& game, bool saved, bool& failing, const std::string& path, const std::string& reason,
                const char* notice) {
    if (saved) {
        failing = false;
        return;
    }
    if (!failing) {
        std::fprintf(stderr, "Cannot save %s: %s\n", path.c_str(), reason.c_str());
        game.showNotice(notice);
    }
    failing = true;
}

}  // namespace

bool Game::saveSettings() {
    std::string reason;
    const bool saved = _settings.save(_settingsPath, &reason);
    reportSave(*this, saved, _settingsSaveFailing, _settingsPath, reason, "SETTINGS NOT SAVED");
    return saved;
}

bool Game::saveScores() {
    std::string reason;
    const std::string damaged = _scoresPath + ".damaged";
    bool saved = true;
    if (_scoresDamaged) {
        saved = safeCopy(_scoresPath, damaged, &reason);
        if (!saved) {
            reason = "cannot keep the damaged file as " + damaged + ": " + reason;
        }
        _scoresDamaged = !saved;
    }
    saved = saved && _scoreTables.save(_scoresPath, &reason);
    reportSave(*this, saved, _scoresSaveFailing, _scoresPath, reason, "HIGH SCORES NOT SAVED");
    return saved;
}

void Game::applyFullscreenSetting() {
    if (!_settings.exists("fullscreen")) {
        return;
    }
    try {
        fullscreen(_settings["fullscreen"].i != 0);
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
    // but did not read whole is kept aside before the first save replaces it.
    std::error_code error;
    _scoresDamaged = !_scoreTables.load(_scoresPath) && std::filesystem::is_regular_file(_scoresPath, error);

    const SettingsReader settings(_settings);
    if (settings.has("fov")) {
        _fov = fovStep(settings["fov"].f);
        if (_fovMin > _fov) {
            _fov = _fovMin;
        }
        if (_fov > _fovMax) {
            _fov = _fovMax;
        }
        _camera.fov(_fov);
    }
    applyFullscreenSetting();
    if (settings.has("colorScheme")) {
        applyColorScheme(settings["colorScheme"].text);
    }

    // The scheme's trail colours are in place: reflections brighten the trails, so the
    // colours are darkened once to make up for them.
    settings.flag("trailReflection", _trailReflection);
    _octree.renderReflections(_trailReflection);
    if (_trailReflection) {
        OcTree::cubeRenderer().scaleTrailColors(_trailReflectionColorScale);
    }

    if (settings.has("debrisParticleDensity")) {
        _debrisParticleDensity = std::clamp(settings["debrisParticleDensity"].i, 0, 10);
        if (_starfield) {
            _starfield->starCount(_debrisParticleDensity * _starsPerDensityStep);
        }
    }
    if (settings.has("effectsParticleDensity")) {
        _effectsParticleDensity = std::clamp(settings["effectsParticleDensity"].f, 0.0f, 1.0f);
    }
    settings.flag("displayChaserNames", _displayChaserNames);
    settings.flag("displayChaserTypes", _displayChaserTypes);
    settings.flag("displayChaserHitpoints", _displayChaserHitpoints);
    settings.flag("displayChaserBoundingBoxes", _displayChaserBoundingBoxes);
    settings.flag("displayDestroyedChaserList", _displayDestroyedChaserList);
    settings.flag("displaySurroundDetector", _displaySurroundDetector);
    settings.flag("displayFps", _displayFps);
    settings.flag("invertMouse", _invertMouse);
    if (settings.has("mouseSensitivity")) {
        // Stored in tenths.
        const double sensitivity = settings["mouseSensitivity"].i / 10.0;
        _mouseSensitivity = static_cast<float>(sensitivity < 0.1 ? 0.1 : sensitivity);
    }
    settings.flag("mouselookEnabled", _mouselookEnabled);
    settings.flag("pointAndClickEnabled", _pointAndClickEnabled);
    if (settings.has("gameSpeed")) {
        applyGameSpeed(settings["gameSpeed"].text);
    }
    settings.flag("cockpitHud", _cockpitHud);

    settings.binding("keyLeft", _keyLeft);
    settings.binding("keyRight", _keyRight);
    settings.binding("keyUp", _keyUp);
    settings.binding("keyDown", _keyDown);
    settings.binding("keyFire", _keyFire);
    settings.binding("keyNuke", _keyNuke);
    settings.binding("keyBoost", _keyBoost);
    settings.binding("keyPause", _keyPause);
    settings.binding("keyMouselook", _keyMouselook);

    settings.volume("masterVolume", _masterVolume);
    settings.volume("effectsVolume", _effectsVolume);
    settings.volume("musicVolume", _musicVolume);
    settings.volume("voiceVolume", _voiceVolume);
}

}  // namespace Vortel
