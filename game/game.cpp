#include "game/game.h"

#include <GL/gl.h>

#include "actors/bot.h"
#include "engine2d/font.h"
#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "engine2d/timelinesprite.h"
#include "platform/eventsource.h"
#include "platform/game_openglextensions.h"
#include "platform/inputdevice.h"
#include "platform/soundsetup.h"
#include "world/bumpnoise.h"
#include "world/explosion.h"
#include "world/mesh.h"
#include "world/meshchrome.h"
#include "world/particle.h"
#include "world/starfield.h"

namespace Vortel {

const int Game::_flyingScores[5] = {1, 2, 5, 10, 25};

namespace {

const RGBA<float> dialStopColor(1.0f, 1.0f, 1.0f, 0.55f);

}  // namespace

Game::Game() : OpenglApp("Quellaris", 800, 600, false), _input(_hwnd) {
    construct();
}

Game::Game(std::unique_ptr<EventSource> events, std::unique_ptr<InputDevice> device)
    : OpenglApp("Quellaris", 800, 600, false, std::move(events)), _input(_hwnd, std::move(device)) {
    construct();
}

void Game::construct() {
    _maxCubes = _octree.size() * _octree.size() * _octree.size();
    _barMenuMinHeight = static_cast<float>(_height / 3);

    // Every dial lights its ring in the same translucent white; the four big ones sit on a
    // coloured disc, the three small counters start empty.
    _speedingDial.addColorGradientEntry(0.0f, dialStopColor);
    _comboDial.addColorGradientEntry(0.0f, dialStopColor);
    _scoreDial.background(RGBA<float>(0.0f, 0.4f, 0.0f, 0.6f), 53.0f, 30);
    _scoreDial.addColorGradientEntry(0.0f, dialStopColor);
    _shieldsDial.background(RGBA<float>(0.0f, 0.0f, 0.7f, 0.5f), 33.0f, 30);
    _shieldsDial.addColorGradientEntry(0.0f, dialStopColor);
    _ammoDial.background(RGBA<float>(0.0f, 0.0f, 0.0f, 0.6f), 33.0f, 30);
    _ammoDial.addColorGradientEntry(0.0f, dialStopColor);
    _bombsDial.background(RGBA<float>(0.6f, 0.0f, 0.0f, 0.6f), 23.0f, 30);
    _bombsDial.addColorGradientEntry(0.0f, dialStopColor);
    _densityDial.background(RGBA<float>(0.2f, 0.4f, 0.0f, 0.4f), 20.0f, 30);
    _densityDial.addColorGradientEntry(0.0f, dialStopColor);
    _densityDial.value(0.0f);
    _chasersDial.background(RGBA<float>(0.5f, 0.35f, 0.5f, 0.6f), 25.0f, 30);
    _chasersDial.addColorGradientEntry(0.0f, dialStopColor);
    _chasersDial.value(0.0f);
    _waveDial.background(RGBA<float>(0.2f, 0.4f, 0.0f, 0.4f), 20.0f, 30);
    _waveDial.addColorGradientEntry(0.0f, dialStopColor);
    _waveDial.value(0.0f);

    cursor(true);
    Particle::initParticleManagement(10000);
    setupFmodSound();
    initCornerCubeVertices();

    _wmKeyDownDI = _input.keyDownMessage();
    _wmKeyUpDI = _input.keyUpMessage();
    _wmMouseMoveDI = _input.mouseMoveMessage();

    // A missing file leaves its store empty, and the game runs on its own values.
    _settings.load(_settingsPath, false);
    _colorSettings.load(_colorSettingsPath, false);
    _speedSettings.load(_speedSettingsPath, false);

    const RGBA<float> fog = _fogColor;
    _backgroundGradient.clear();
    _backgroundGradient.addEntry(0.0f, _backgroundColor);
    _backgroundGradient.addEntry(0.5f, _backgroundColor);
    _backgroundGradient.addEntry(static_cast<float>(_backgroundFogStop), fog);

    const float cellsPerEdge = static_cast<float>(_octree.size());
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glShadeModel(GL_FLAT);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_DENSITY, 0.1f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, cellsPerEdge * 0.25f);
    glFogf(GL_FOG_END, cellsPerEdge * 0.5f);
    const GLfloat fogColor[4] = {_fogColor.r, _fogColor.g, _fogColor.b, _fogColor.a};
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogi(GL_FOG_MODE, GL_LINEAR);

    _camera.fov(_fov);
    _camera.nearFarClip(0.1f, cellsPerEdge * 0.5f);
}

Game::~Game() {
    // The loader writes into the log, the sample map, the caches and the sprites: it must be
    // done before any of them goes.
    if (_loaderThread.joinable()) {
        _loaderThread.join();
    }
    deleteBotsAndExplosions();
    Particle::releaseParticleManagement();
    FSOUND_Close();
    // The samples went with the sound library.
    _soundSamples.clear();
}

void Game::deleteBotsAndExplosions() {
    // _botInfoList, _deadBots and _aimedBot only point into _bots.
    _botInfoList.clear();
    _deadBots.clear();
    _aimedBot = nullptr;
    for (Bot* bot : _bots) {
        delete bot;
    }
    _bots.clear();
    for (Explosion* explosion : _explosions) {
        delete explosion;
    }
    _explosions.clear();
}

void Game::close() {
    Particle::releaseParticleManagement();
}

void Game::init() {
    glext::setupMultitexturing();
    splashLumisk();
}

void Game::setupFmodSound() {
    ::setupFmodSound();
}

void Game::cursor(bool visible) {
    if (visible == _cursorVisible) {
        return;
    }
    _cursorVisible = visible;
    ShowCursor(visible);
}

// ---- state entries ------------------------------------------------------------------------

void Game::splashLumisk() { _state = STATE_SPLASH_LUMISK; }
void Game::splashZindle() { _state = STATE_SPLASH_ZINDLE; }
void Game::splashQuendle() { _state = STATE_SPLASH_QUENDLE; }
void Game::mainMenu() { _state = STATE_MAIN_MENU; }
void Game::startGame() { _state = STATE_PLAY; }
void Game::nextWave() {}
void Game::gameOver() { _state = STATE_GAME_OVER; }
void Game::enterScore() { _state = STATE_ENTER_SCORE; }
void Game::ingameMenu() { _state = STATE_INGAME_MENU; }
void Game::resumeGame() { _state = STATE_PLAY; }
void Game::pause(bool paused) { _paused = paused; }
void Game::viewScores() { _state = STATE_VIEW_SCORES; }
void Game::viewScoresAutomatic() { _state = STATE_VIEW_SCORES_AUTOMATIC; }
void Game::credits() { _state = STATE_CREDITS; }
void Game::creditsAutomatic() { _state = STATE_CREDITS_AUTOMATIC; }
void Game::startTrickTrainer(Trick* trick) {
    _trainedTrick = trick;
    _state = STATE_TRICK_TRAINER;
}
void Game::toggleDemoMode() {}
void Game::nextCameraMode() {}
void Game::setFog(const RGBA<float>& color) {
    const GLfloat fog[4] = {color.r, color.g, color.b, color.a};
    glFogfv(GL_FOG_COLOR, fog);
    glFogi(GL_FOG_MODE, GL_LINEAR);
}

// ---- sound --------------------------------------------------------------------------------

int Game::playSound(const std::string&, unsigned char, const Vector3<float>*) { return -1; }

// ---- play rules ---------------------------------------------------------------------------

void Game::score(int) {}
void Game::addBot() {}
void Game::clearBots() {}
void Game::bomb(const Vector3<int>&, int) {}
void Game::addExplosion(const Vector3<float>&) {}
void Game::applyColorScheme(const std::string&) {}
void Game::applyGameSpeed(const std::string&) {}

}  // namespace Vortel
