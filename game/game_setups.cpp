// The built-in tables made after loading, in this order: the reflection cube map's texture
// and the trick library, the pick-up and chaser weights, the game speeds, speeding, the score
// tables, then the colour schemes and the user's own from "data/color".

#include "game/game_setups.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "engine2d/bitmap.h"
#include "engine2d/bitmapmanager.h"
#include "actors/builtintricks.h"
#include "game/game.h"
#include "game/usercolorschemes.h"
#include "world/cuberenderer.h"
#include "platform/rgba.h"
#include "platform/vector2.h"

namespace Vortel {

// ---------------------------------------------------------------------------------------
// Reflection cube map
// ---------------------------------------------------------------------------------------

unsigned int setupCubeMap(Stelkor::BitmapManager& bitmaps) {
    const int faceCount = 6;
    Stelkor::Bitmap* faces[faceCount];
    for (int i = 0; i < faceCount; ++i) {
        faces[i] = bitmaps.get("environment" + std::to_string(i) + ".png");
    }

    GLuint cubeMap = 0;
    glGenTextures(1, &cubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
    for (int i = 0; i < faceCount; ++i) {
        const Stelkor::Bitmap& face = *faces[i];
        // The reflection is added to the cube colours, so the faces need no alpha.
        glTexImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i), 0, GL_RGB8, face.w(), face.h(), 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, face.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return cubeMap;
}

void Game::setupTrickLibrary() {
    addBuiltInTricks(_trickLibrary);
}

// ---------------------------------------------------------------------------------------
// Pick-up kinds and chaser kinds
// ---------------------------------------------------------------------------------------

void Game::setupCollectables() {
    _collectableTypeGenerator.addValue(COLLECTABLE_SCORE, 1.0f);
    _collectableTypeGenerator.addValue(COLLECTABLE_SHIELDS, 1.0f);
    _collectableTypeGenerator.addValue(COLLECTABLE_AMMO, 1.0f);
    _collectableTypeGenerator.addValue(COLLECTABLE_EMP, 0.1f);
    // The whole seconds the program has run: pick-ups differ from run to run only that much.
    _collectableTypeGenerator.seed(static_cast<std::uint32_t>(_totalTime));
}

void Game::setupBots() {
    // Never seeded: the chasers come in the same kinds, in the same order, in every run.
    _botTypeGenerator.addValue(BOT_ROCKER, 1.0f);
    _botTypeGenerator.addValue(BOT_THIEF, 1.0f);
    _botTypeGenerator.addValue(BOT_DOVE, 1.0f);
    _botTypeGenerator.addValue(BOT_SHIVA, 1.0f);
}

// ---------------------------------------------------------------------------------------
// Game speeds, boost tuning and the score tables of the speeds
// ---------------------------------------------------------------------------------------

namespace {

// The speed presets, slowest first. A preset's display name also names its high-score
// table, so a finished game finds the table of the speed it was played at; the title
// colour belongs to that table.
struct SpeedPreset {
    const char* key;
    const char* name;
    float timeStretch;
    RGBA<float> scoreTitleColor;
};

const SpeedPreset speedPresets[] = {
    {"veryslow", "VERY SLOW", 0.2f, RGBA<float>(0.0f, 0.8f, 0.0f, 0.5f)},
    {"slow", "SLOW", 0.6f, RGBA<float>(0.2f, 0.5f, 1.0f, 0.5f)},
    {"normal", "NORMAL", 1.0f, RGBA<float>(1.0f, 0.5f, 0.0f, 0.5f)},
    {"fast", "FAST", 1.4f, RGBA<float>(1.0f, 0.2f, 0.2f, 0.5f)},
    {"insane", "INSANE", 1.8f, RGBA<float>(1.0f, 0.2f, 1.0f, 0.5f)},
};

// The presets differ only in how fast time runs for the craft.
const float presetVelocity = 5.0f;
const float presetVelocityMult = 3.0f;
const float presetChaserFactor = 1.5f;
const float presetChaserSpread = 0.1f;
// A trail stays hot while the craft flies this many cells.
const float trailCoolingCells = 40.0f;

const Vector2<float> scoreTitleOffset(100.0f, 10.0f);

}  // namespace

void Game::setupSpeeds() {
    for (const SpeedPreset& preset : speedPresets) {
        GameSpeed& speed = _gameSpeeds[preset.key];
        speed.velocity = presetVelocity;
        speed.velocityMult = presetVelocityMult;
        speed.chaserFactor = presetChaserFactor;
        speed.chaserSpread = presetChaserSpread;
        speed.trailCooling = trailCoolingCells / speed.velocity;
        speed.timeStretch = preset.timeStretch;
        speed.name = preset.name;
    }
    _currentGameSpeed = _gameSpeeds.end();
    applyGameSpeed("normal");
}

void Game::setupSpeeding() {
    // Each boost level is harder to climb than the one below it.
    static const float rates[] = {1.5f, 0.5f, 0.25f, 0.125f, 0.075f};
    _speedingDecay = 0.8;
    _speedingRates.assign(std::begin(rates), std::end(rates));
}

void Game::setupScoreTables() {
    // The font comes with init(); a set without one still keeps its tables.
    if (_font) {
        _scoreTables.font(*_font);
    }
    for (const SpeedPreset& preset : speedPresets) {
        // createTable makes the table current, so there is always one here.
        _scoreTables.createTable(preset.name, "");
        ScoreTable& table = *_scoreTables.currentTable();
        table.nameColor(preset.scoreTitleColor);
        table.nameOffset(scoreTitleOffset);
    }
}

void Game::setupCubeMap() {
    Vortel::setupCubeMap(_bitmapManager);
}

// ---------------------------------------------------------------------------------------
// Colour schemes
// ---------------------------------------------------------------------------------------

namespace {

RGBA<float> rgb(float r, float g, float b) {
    return RGBA<float>(r, g, b, 1.0f);
}

RGBA<float> bytes(int r, int g, int b) {
    return RGBA<float>(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
}

}  // namespace

void Game::setupColorSchemes() {
    const RGBA<float> tripletShades[13][3] = {
        {rgb(0, 0, 0), rgb(0, 0, 0), rgb(0, 0, 0)},
        {rgb(0, 1, 1), rgb(1, 1, 0), rgb(0, 1, 0)},
        {rgb(1, 0, 0), rgb(1, 0, 1), rgb(0, 0, 1)},
        {rgb(1, 0.2f, 0), rgb(1, 0.4f, 0), rgb(1, 0.6f, 0)},
        {rgb(0.6f, 0, 0), rgb(0.8f, 0, 0), rgb(1, 0, 0)},
        {rgb(0.2f, 0.1f, 0.1f), rgb(0.3f, 0.2f, 0.2f), rgb(0.4f, 0.3f, 0.3f)},
        {rgb(0, 0.2f, 0.8f), rgb(0, 0.4f, 1), rgb(0, 0.6f, 1)},
        {rgb(0.1f, 0.1f, 0.2f), rgb(0.2f, 0.2f, 0.3f), rgb(0.3f, 0.3f, 0.4f)},
        {rgb(0.4f, 0, 0.4f), rgb(0.6f, 0, 0.6f), rgb(0.8f, 0, 0.8f)},
        {rgb(0.2f, 0.1f, 0.2f), rgb(0.3f, 0.2f, 0.3f), rgb(0.4f, 0.3f, 0.4f)},
        {rgb(0, 0.6f, 0), rgb(0.1f, 0.8f, 0), rgb(0.2f, 1, 0)},
        {rgb(0.15f, 0.15f, 0.15f), rgb(0.25f, 0.25f, 0.25f), rgb(0.35f, 0.35f, 0.35f)},
        {rgb(0.8f, 0.8f, 0.8f), rgb(0.9f, 0.9f, 0.9f), rgb(1, 1, 1)},
    };
    // The renderer is shared by every game of the process, so its indices are kept as given.
    unsigned char triplet[13];
    for (int i = 0; i < 13; ++i) {
        triplet[i] = _octree.createColorTriplet(tripletShades[i][0], tripletShades[i][1], tripletShades[i][2]);
    }
    const RGBA<float> starfieldColor(0.0f, 0.0f, 0.0f, 0.3f);
    const RGBA<float> starfieldColorRand(0.0f, 0.0f, 0.0f, 0.05f);
    const RGBA<float> hit = rgb(1, 0, 0);

    ColorScheme& defaultLight = _colorSchemes["default_light"];
    defaultLight.hud = rgb(1, 1, 1);
    const int defaultTrails[4][2] = {{3, 11}, {4, 5}, {6, 7}, {8, 9}};
    for (const auto& trail : defaultTrails) {
        defaultLight.trailColors.push_back(_octree.createTrailColors(triplet[trail[0]], triplet[trail[1]]));
    }
    defaultLight.playerTrail = defaultLight.trailColors.front();
    for (const RGBA<float>& background :
         {rgb(0.5f, 0.5f, 0.6f), rgb(0.4f, 0.5f, 0.3f), bytes(178, 123, 123), bytes(115, 115, 115),
          bytes(173, 112, 163), bytes(74, 148, 143), bytes(194, 100, 100), bytes(122, 84, 186), bytes(159, 144, 81),
          bytes(68, 115, 111)}) {
        defaultLight.backgrounds.push_back(background);
    }
    defaultLight.changeBackgroundOnEvery = 1;
    defaultLight.starfieldColor = starfieldColor;
    defaultLight.starfieldColorRand = starfieldColorRand;
    defaultLight.hit = hit;
    defaultLight.name = "DEFAULT LIGHT";

    ColorScheme& spectrumLight = _colorSchemes["spectrum_light"];
    spectrumLight.hud = rgb(0, 0, 0);
    spectrumLight.trailColors.push_back(_octree.createTrailColors(triplet[1], triplet[1]));
    spectrumLight.trailColors.push_back(_octree.createTrailColors(triplet[2], triplet[2]));
    spectrumLight.playerTrail = _octree.createTrailColors(triplet[1], triplet[1]);
    spectrumLight.backgrounds.push_back(rgb(1, 1, 1));
    spectrumLight.changeBackgroundOnEvery = 1;
    spectrumLight.starfieldColor = starfieldColor;
    spectrumLight.starfieldColorRand = starfieldColorRand;
    spectrumLight.hit = hit;
    spectrumLight.name = "SPECTRUM LIGHT";

    ColorScheme& spectrumDark = _colorSchemes["spectrum_dark"];
    spectrumDark = spectrumLight;
    spectrumDark.hud = rgb(1, 1, 1);
    spectrumDark.starfieldColor = RGBA<float>(1.0f, 1.0f, 1.0f, 0.3f);
    spectrumDark.starfieldColorRand = starfieldColorRand;
    spectrumDark.name = "SPECTRUM DARK";
    spectrumDark.backgrounds.assign(1, rgb(0, 0, 0));
    spectrumDark.hit = hit;
    spectrumDark.changeBackgroundOnEvery = 1;

    _currentColorScheme = _colorSchemes.end();
    applyColorScheme("spectrum_light");
    readUserColorSchemes(triplet[0]);
}

void Game::readUserColorSchemes(unsigned char black) {
    Vortel::readUserColorSchemes(_colorSettings, _octree.renderer().colors(), _colorSchemes, black);
}

}  // namespace Vortel
