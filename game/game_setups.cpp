#include "game/game_setups.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <iterator>
#include <string>

#include "engine2d/bitmap.h"
#include "engine2d/bitmapmanager.h"
#include "game/game.h"
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

void Game::setupColorSchemes() {}
void Game::setupTrickLibrary() {}
void Game::setupCollectables() {}
void Game::setupBots() {}

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

}  // namespace Vortel
