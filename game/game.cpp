// The game object's life and its rules of play, in this order: construction, close() and
// init(); the state entries (splash screens, main menu, game start, stages, game over, score
// entry, pause and the in-game menu, score and credits screens, the trick trainer, demo and
// camera modes); playing a sound; the play rules: chasers entering, colour schemes, game
// speeds, score, shields, ammunition, bombs and pick-ups, chasers returning and dying, the EMP
// blast and explosions.

#include "game/game.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include "actors/bot.h"
#include "engine2d/bitmap.h"
#include "engine2d/font.h"
#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "engine2d/timeline.h"
#include "engine2d/timelinesprite.h"
#include "game/fontcharsets.h"
#include "game/particleset.h"
#include "game/pickuppoints.h"
#include "game/spriteshowing.h"
#include "game/usersettings.h"
#include "platform/crand.h"
#include "platform/eventsource.h"
#include "platform/game_openglextensions.h"
#include "platform/inputdevice.h"
#include "platform/soundsetup.h"
#include "world/botexplosion.h"
#include "world/bumpnoise.h"
#include "world/cuberenderer.h"
#include "world/explosion.h"
#include "world/mesh.h"
#include "world/meshchrome.h"
#include "world/particle.h"
#include "world/starfield.h"

namespace Vortel {

const int Game::_flyingScores[5] = {1, 2, 5, 10, 25};

namespace {

const RGBA<float> dialStopColor(1.0f, 1.0f, 1.0f, 0.55f);

// Pick-ups stay this long at the normal game speed; slower speeds keep them longer.
constexpr double PICKUP_LIFETIME = 15.0;

// How many multiples of `every` lie in (before, now], in the score's signed 32-bit reading.
int thresholdsCrossed(std::int32_t before, std::int32_t now, int every) {
    return every > 0 ? now / every - before / every : 0;
}

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
    // A machine without a sound device still plays: every sound call finds no library open and
    // does nothing, so one line says why the game is silent, in the player's words rather than
    // the set-up's own.
    try {
        setupFmodSound();
    } catch (const std::runtime_error&) {
        std::fprintf(stderr, "The sound device could not be opened: %s; the game runs without sound\n",
                     whyNoSoundDevice().c_str());
    }
    // The cube renderer serves every playfield of the program; a game fills its colour tables
    // afresh, so that an earlier game's colours neither fill them up nor are darkened again.
    _octree.renderer().clearColors();
    initCornerCubeVertices();

    _wmKeyDownDI = _input.keyDownMessage();
    _wmKeyUpDI = _input.keyUpMessage();
    _wmMouseMoveDI = _input.mouseMoveMessage();

    removeLeftTemporaries();
    readSettingsFiles();

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
    // The play frame draws the field as the 3 x 3 x 3 copies round the eye, nearest first,
    // so faces hidden behind any nearer copy can be left out.
    _octree.wrappedDrawing(true);
}

Game::~Game() {
    // The loader writes into the log, the sample map, the caches and the sprites: it must be
    // done before any of them goes.
    if (_loaderThread.joinable()) {
        _stopLoading.store(true, std::memory_order_relaxed);
        _loaderThread.join();
    }
    deleteBotsAndExplosions();
    Particle::releaseParticleManagement();
    FSOUND_Close();
    // The samples went with the sound library.
    _soundSamples.clear();
    // The menu arrow hangs in the highlight prototype, which would delete it a second time.
    _smallArrow.reset();
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

namespace {

// The font reader leaves the characters past the end of a short strip without glyphs; menu
// text in such a font is invisible, and the mouse cannot find its items.
void requireAllGlyphs(const Stelkor::Font& font, const char* charset, const std::string& file) {
    for (const char* c = charset; *c != '\0'; ++c) {
        if (font.charImage(static_cast<unsigned char>(*c)) == nullptr) {
            throw std::runtime_error("Game::init - font strip has fewer glyphs than its characters: " + file);
        }
    }
}

}  // namespace

void Game::init() {
    cursor(false);
    glext::setupMultitexturing();
    // Without framebuffer objects the sparks are drawn straight onto the picture.
    glext::setupFramebuffers();

    _fontSmall = std::make_unique<Stelkor::Font>("textures/font_small.png", fontcharsets::kCharsetA, 5, 16, 0,
                                                 _renderer, false);
    _font = std::make_unique<Stelkor::Font>("textures/font.png", fontcharsets::kCharsetB, 5, 16, 0, _renderer, false);
    _fontBig = std::make_unique<Stelkor::Font>("textures/font_big.png", fontcharsets::kCharsetA, 5, 32, 2, _renderer,
                                               false);
    requireAllGlyphs(*_fontSmall, fontcharsets::kCharsetA, "textures/font_small.png");
    requireAllGlyphs(*_font, fontcharsets::kCharsetB, "textures/font.png");
    requireAllGlyphs(*_fontBig, fontcharsets::kCharsetA, "textures/font_big.png");

    _splashLumiskImage = cutImage("textures/splash_lumisk.png", 0, 0, 800, 600, 0, 0, true);

    Stelkor::Timeline<float> fade;
    fade.addKey({0.0, 0.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    fade.addKey({0.5, 1.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    fade.addKey({3.2, 1.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    fade.addKey({4.0, 0.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    Stelkor::Timeline<float> grow;
    grow.loop = false;
    grow.addKey({0.0, 0.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    grow.addKey({0.3, 0.7f, Stelkor::Timeline<float>::KEY_ABSOLUTE});

    const Vector2<float> logoPos(static_cast<float>(_width / 2), static_cast<float>(_height / 2 + 30));
    _splashZindleImage = cutImage("textures/logo_zindle.png", 0, 0, 256, 128, 128, 64, true);
    _splashZindleSprite = spriteShowing<Stelkor::TimelineSprite>(*_splashZindleImage);
    _splashZindleSprite->pos(logoPos);
    _splashZindleSprite->setTimeline(_splashZindleSprite->_color.a, fade);
    _splashZindleSprite->setTimeline(_splashZindleSprite->_scale.x, grow);
    _splashZindleSprite->setTimeline(_splashZindleSprite->_scale.y, grow);

    fade.clearKeys();
    fade.addKey({0.0, 0.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    fade.addKey({0.5, 1.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    fade.addKey({3.7, 1.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    fade.addKey({5.0, 0.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    _splashQuendleImage = cutImage("textures/logo_quendle.png", 0, 0, 256, 256, 128, 128, true);
    _splashQuendleSprite = spriteShowing<Stelkor::TimelineSprite>(*_splashQuendleImage);
    _splashQuendleSprite->pos(logoPos);
    _splashQuendleSprite->setTimeline(_splashQuendleSprite->_color.a, fade);

    loadIntroSample();

    _titleLogoSmallImage = cutImage("textures/logo_small.png", 0, 0, 128, 32, 0, 32, true);
    _titleLogoSmall = spriteShowing(*_titleLogoSmallImage);
    _loadingArrowImage = cutImage("textures/loading_arrow.png", 0, 0, 32, 32, 16, 16, true);
    _loadingArrow = spriteShowing(*_loadingArrowImage);
    _loadingArrow->_spin = -6.0f;

    _font->activate();
    _fontSmall->activate();
    _fontBig->activate();
    _renderer._font = _font.get();
    placeBarHud();

    _bottomBar.color(RGBA<float>(0.0f, 0.0f, 0.0f, 0.9f));
    _bottomBar.set(_barMenuMinHeight, 100000.0f);

    applyFullscreenSetting();
    _state = STATE_SPLASH_LUMISK;
    _stateTime = 0.0;
}

std::unique_ptr<Stelkor::Image> Game::cutImage(const std::string& bitmap, int x0, int y0, int x1, int y1, int pivotX,
                                               int pivotY, bool cache) {
    Stelkor::Bitmap& pixels = *_bitmapManager.get(bitmap);
    if (cache) {
        pixels.activate();
    }
    return std::make_unique<Stelkor::Image>(pixels, Quib::AABB2<int>(x0, y0, x1, y1), Vector2<int>(pivotX, pivotY),
                                            cache);
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

void Game::splashLumisk() {
    _state = STATE_SPLASH_LUMISK;
    _stateTime = 0.0;
}

void Game::splashZindle() {
    _state = STATE_SPLASH_ZINDLE;
    _stateTime = 0.0;
}

void Game::splashQuendle() {
    // Asked first: a plain look-up would leave an empty key behind, which the settings read
    // after loading would take for master volume 0.
    const char* const key = userSettingOf(&Game::_masterVolume).key;
    FSOUND_SetSFXMasterVolume(_settings.exists(key) ? volumeByte(_settings[key].i) : 0);
    playSound("quendle_intro", 200);
    _state = STATE_SPLASH_QUENDLE;
    _stateTime = 0.0;
}
void Game::mainMenu() {
    cursor(true);
    _input.trackMouseMove(true);
    const int previous = _state;
    _state = STATE_MAIN_MENU;

    // The score and credits screens run over the menu's own demo world: coming back from them
    // the chasers fly on and the music plays on. Every other way in starts a fresh demo.
    const bool keepWorld = previous == STATE_VIEW_SCORES || previous == STATE_VIEW_SCORES_AUTOMATIC ||
                           previous == STATE_CREDITS || previous == STATE_CREDITS_AUTOMATIC;
    if (!keepWorld) {
        FSOUND_StopSound(FSOUND_ALL);
        _musicChannel = -1;
        _musicChannel = playSound("theme_main", _musicVolume);

        _playClock = 0.0;
        _octree.time(0.0);
        _octree.root()->clear(0.0);
        _currentMenu = _menuMain.get();

        // The demo's chasers come at the chaser level of the game just left; the demo's own
        // level is set after them.
        clearBots();
        _deadBots.clear();
        _liveBotCount = 0;
        addBot();
        addBot();
        addBot();
        _stage = 3;
        _botLevel = 1;
        _cameraMode = CAMERA_ORBIT;
        _playerActive = false;
        _demoMode = true;
        // Never left on a chaser that clearBots() deleted.
        _cameraSubject = _bots.empty() ? static_cast<Player*>(&_player) : _bots.front();

        _message.clear();
        _paused = false;
        FSOUND_SetPaused(_humChannel, false);
        for (Bot* bot : _bots) {
            bot->muteHum(false);
        }
        _input.clearKeyTracking();
        if (_currentColorScheme != _colorSchemes.end()) {
            applyColorScheme(_currentColorScheme->first);
        }
        FSOUND_StopSound(_humChannel);
    }
    _pendingWaves = 0;

    const float menuHeight = _currentMenu ? _currentMenu->boundingBox().size().y : 0.0f;
    _bottomBar.set(std::max(menuHeight + _barMenuMargin, _barMenuMinHeight), _barSpeed);
    for (Bot* bot : _bots) {
        bot->muteHum(true);
    }
    _idleTime = 0.0;
}

// ---- game life cycle --------------------------------------------------------------------
void Game::startGame() {
    FSOUND_StopSound(FSOUND_ALL);
    _musicChannel = -1;
    _musicChannel = playSound("theme_play", _musicVolume);
    _playClock = 0.0;
    _stageClock = 0.0;
    cursor(false);

    _trainedTrick = nullptr;
    _octree.time(_playClock);
    _octree.root()->clear(_playClock);
    _message.clear();

    // The reset leaves the craft's own start shields; a game starts with the game's.
    _player.reset();
    _player._hitpoints = static_cast<float>(_startShields);
    _bombs = _startBombs;
    _gun.ammo(_startAmmo);
    _gun.fireDelayMinMax(0.05f, _gunFireDelayMax);
    _gun.resetPowerups();

    _bounceOffset = 0.0f;
    clearBots();
    for (Explosion* explosion : _explosions) {
        delete explosion;
    }
    _explosions.clear();
    // Its chasers went with the chaser list.
    _deadBots.clear();

    _liveBotCount = 0;
    _score = 0;
    _previousScore = 0;
    _state = STATE_PLAY;
    _demoMode = false;
    _playerActive = true;
    _cameraSubject = &_player;
    _cameraMode = CAMERA_FIRST_PERSON;
    _currentMenu = nullptr;

    _bottomBar.set(_cockpitHud ? 0.0f : _barPlayHeight, _barSpeed);
    centreAimCursor(_barPlayHeight);
    trackPlayerKeys();

    _pendingWaves = 0;
    _speedLevel = 1.0f;
    _stage = 1;
    _botLevel = 1;
    if (_currentColorScheme != _colorSchemes.end()) {
        applyColorScheme(_currentColorScheme->first);
    }
    _waveBotCount = 1;

    playSound("getready", _voiceVolume);
    _humChannel = playSound("hum_player", _effectsVolume);
    if (_bumpNoise) {
        _bumpNoise->clear();
    }
    _comboCount = 0;
    _comboTime = 0.0;

    // Rewound, the banner pops up at once instead of waiting in the queue.
    if (_overlayText) {
        _overlayText->text = "STAGE " + std::to_string(_stage);
        _overlayText->rewindAllTimelines();
    }
    _waveQuota = _waveQuotaBase;
    _pointsToGo = _waveQuotaBase;
}
void Game::nextWave() {
    _stageClock = 0.0;
    _stage = std::max(1, _stage + 1);
    const int placeInRound = (_stage - 1) % std::max(1, _wavesPerRound);
    _waveBotCount = placeInRound + 1;
    if (placeInRound == 0) {
        // A new round starts on an empty field with stronger chasers.
        ++_botLevel;
        _waveQuota += _waveQuotaStep;
        _deadBots.clear();
        clearBots();
        _liveBotCount = 0;
        _waveBotCount = 1;
    }
    // Points scored past the last quota count toward this one.
    _pointsToGo += _waveQuota;

    _message.clear();
    _overlayTextQueue.push("STAGE " + std::to_string(_stage));
    _octree.meltAll();
    _message.showText(2.0, 1.0);
    // The demo behind the menus changes stage silently.
    if (_state == STATE_PLAY) {
        playSound("next_wave_signal", _effectsVolume);
        playSound("melt_all", _effectsVolume);
    }
    _aimedBot = nullptr;
    _backgroundTime = 0.0;
    if (_cameraMode == CAMERA_FIRST_PERSON) {
        _shaker.shake(0.25f, 0.7f);
    }

    if (_currentColorScheme != _colorSchemes.end() && !_currentColorScheme->second.backgrounds.empty()) {
        const ColorScheme& scheme = _currentColorScheme->second;
        const bool playing = _state == STATE_PLAY || _state == STATE_INGAME_MENU;
        const int stage = playing ? _stage : 1;
        const int perBackground = std::max(1, scheme.changeBackgroundOnEvery);
        const std::size_t index = static_cast<std::size_t>((stage - 1) / perBackground) % scheme.backgrounds.size();
        _fogColor = scheme.backgrounds[index];
    }
    // The screen flashes red for half a second, then blends into the stage's background.
    setFog(_fogColor);
    setupNukeBackgroundGradient(_fogColor);

    _message._text << "EMP +1\n";
    _bombs = std::clamp(_bombs + 1, 0, _maxBombs);
}
void Game::gameOver() {
    FSOUND_StopSound(_musicChannel);
    _musicChannel = playSound("theme_game_over", _musicVolume);
    _gameOverSoundPosition = Vector3<float>(_player._pos.x, _player._pos.y, _player._pos.z + 4.0f);
    playSound("explosion", _effectsVolume, &_gameOverSoundPosition);
    addExplosion(_player._pos);
    _octree.melt(_player._cell, 3, false);
    // A stage earned by the points of the fatal cell is not started after the game is lost.
    _pendingWaves = 0;

    _message.clear();
    _message._text << "GAME OVER\n\nPRESS ANY KEY TO CONTINUE";
    _message.showText(_gameOverDuration, 0.0);

    _state = STATE_GAME_OVER;
    _player.boost(false);
    _input.trackAllKeys(true);
    _gun.trigger(false);
    // Entered from inside the play frame, where the dispatch does not restart the clock: the
    // screen's delays count from here.
    _stateTime = 0.0;
    playSound("gameover", _voiceVolume);
    FSOUND_StopSound(_humChannel);
}

void Game::leaveGameOver() {
    if (_currentGameSpeed != _gameSpeeds.end()) {
        _scoreTables.currentTable(_currentGameSpeed->second.name);
    }
    if (_scoreTables.scoreQualifies(_score)) {
        enterScore();
    } else {
        mainMenu();
    }
}
void Game::enterScore() {
    _state = STATE_ENTER_SCORE;
    _scoreTables.finishFade();
    if (_currentGameSpeed != _gameSpeeds.end()) {
        _scoreTables.currentTable(_currentGameSpeed->second.name);
    }
    _scoreTables.alpha(1.0f);
    _scoreTables.addEntry(_score, "");
    _scoreTables.beginEditName();
    // The name is typed through the window's own key messages.
    _keyLeavingGameOver = 0;
    _input.clearKeyTracking();
    _bottomBar.set(-1.0f, _barSpeed);
}

// ---- pause and the in-game menu -----------------------------------------------------------
void Game::ingameMenu() {
    cursor(true);
    pause(true);
    _currentMenu = _menuIngame.get();
    if (_currentMenu) {
        _currentMenu->selectedItemID(0);
    }
    _state = STATE_INGAME_MENU;
    _input.clearKeyTracking();
    _gun.trigger(false);

    const float menuHeight = _currentMenu ? _currentMenu->boundingBox().size().y : 0.0f;
    _bottomBar.set(std::max(_barMenuMinHeight, menuHeight + _barMenuMargin), _barSpeed);
    _bottomBar.animate(0.0);
    if (_titleLogo) {
        _titleLogo->pos(Vector2<float>(_titleLogo->pos().x, _bottomBar.height() - 10.0f));
    }
    for (Bot* bot : _bots) {
        bot->muteHum(true);
    }
}
void Game::resumeGame() {
    cursor(false);
    pause(false);
    _currentMenu = nullptr;
    if (_trainedTrick) {
        _state = STATE_TRICK_TRAINER;
        _bottomBar.set(0.0f, _barSpeed);
    } else {
        _state = STATE_PLAY;
        _bottomBar.set(_cockpitHud ? 0.0f : _barPlayHeight, _barSpeed);
    }
    trackPlayerKeys();
    for (Bot* bot : _bots) {
        bot->muteHum(false);
    }
}
void Game::pause(bool paused) {
    _paused = paused;
    FSOUND_SetPaused(_humChannel, paused);
    for (Bot* bot : _bots) {
        bot->muteHum(paused);
    }
}

namespace {

// Both score screens: no key or button reaches the game as input-layer messages, the bar
// slides away, and the current speed's table fades in over one second.
void openScoreTables(Game& game) {
    game._input.clearKeyTracking();
    game._bottomBar.set(-1.0f, game._barSpeed);
    if (game._currentGameSpeed != game._gameSpeeds.end()) {
        game._scoreTables.currentTable(game._currentGameSpeed->second.name);
    }
    game._scoreTables.alpha(0.0f);
    game._scoreTables.fadeIn(1.0);
}

// Both credits screens: the roll starts from the bottom with its loop count at 0, scrolling in
// the bar, and every key and mouse button is reported, so that any of them can leave.
void openCredits(Game& game) {
    game._credits.scroll(0.0f);
    game._credits.resetLoopCounter();
    game._credits.endBlankSpace(150.0f);
    game._bottomBar.set(150.0f, game._barSpeed);
    game._input.trackAllKeys(true);
}

}  // namespace

void Game::viewScores() {
    _scoreTables.finishFade();
    _scoreTables.alpha(1.0f);
    _state = STATE_VIEW_SCORES;
    openScoreTables(*this);
}

void Game::viewScoresAutomatic() {
    // The tables hear no key, so a binding still waiting for one would leave the menu deaf
    // on the way back: it keeps its old key, as with ESCAPE.
    if (_keyBeingRedefined != nullptr) {
        refreshRedefineKeysMenu();
        _keyBeingRedefined = nullptr;
    }
    _scoreTables.finishFade();
    _scoreTables.alpha(1.0f);
    _state = STATE_VIEW_SCORES_AUTOMATIC;
    openScoreTables(*this);
    _idleTime = 0.0;
    _attractTablesLeft = static_cast<int>(_gameSpeeds.size());
}

void Game::credits() {
    _state = STATE_CREDITS;
    openCredits(*this);
}

void Game::creditsAutomatic() {
    _state = STATE_CREDITS_AUTOMATIC;
    openCredits(*this);
}

void Game::startTrickTrainer(Trick* trick) {
    // Without a trick there is nothing to place or to judge; the screen stays as it is.
    if (trick == nullptr) {
        return;
    }
    // Training is flown in silence but for the engine.
    FSOUND_StopSound(FSOUND_ALL);
    _musicChannel = -1;
    cursor(false);
    _trainedTrick = trick;
    _trickTrainerAdviceHud.clear();
    // A trick followed when training starts over would be judged against the new flight.
    _trickTrainer.endTrick();

    _playClock = 0.0;
    _stageClock = 0.0;
    _octree.time(0.0);
    _octree.root()->clear(0.0);
    _message.clear();

    _player._hitpoints = static_cast<float>(_startShields);
    _bombs = 0;
    _gun.ammo(0);
    _gun.fireDelayMinMax(0.05f, _gunFireDelayMax);
    _gun.resetPowerups();
    _bounceOffset = 0.0f;
    clearBots();
    _deadBots.clear();
    _liveBotCount = 0;
    _score = 0;
    _previousScore = 0;

    _state = STATE_TRICK_TRAINER;
    _demoMode = false;
    _playerActive = true;
    _cameraMode = CAMERA_FIRST_PERSON;
    _currentMenu = nullptr;
    _cameraSubject = &_player;
    _bottomBar.set(0.0f, _barSpeed);
    centreAimCursor(_barPlayHeight);
    trackPlayerKeys();
    _stage = 1;
    _speedLevel = 1.0f;
    _botLevel = 1;
    if (_currentColorScheme != _colorSchemes.end()) {
        applyColorScheme(_currentColorScheme->first);
    }

    // The craft starts at (16, 16, 0) heading +z with +y up; the trick's frame lies ten cells
    // ahead of it with its y axis pointing down the field.
    const Vector3<int> start(16, 16, 0);
    _player.position(start);
    _player.up(Vector3<int>::Y_PLUS);
    _player.orientation(Vector3<int>::Z_PLUS);
    for (const Vector3<int>& offset : trick->obstacles()) {
        const Vector3<int> cell(start.x + offset.x, start.y - offset.y, start.z + offset.z + 10);
        _octree.setTerminalNode(cell, OcTree::CELL_SOLID_1, _player._trailColor);
    }
    _waveBotCount = 0;
    if (_bumpNoise) {
        _bumpNoise->clear();
    }

    FSOUND_StopSound(_humChannel);
    _humChannel = FSOUND_PlaySound(FSOUND_FREE, _soundSamples["hum_player"]);
    FSOUND_SetVolume(_humChannel, _effectsVolume);
    // The intro panel waits for any key, with the world and the engine held.
    _trickDone = false;
    _trickIntroPanel = true;
    _trickResultPanel = false;
    _paused = true;
    FSOUND_SetPaused(_humChannel, true);
    _input.trackAllKeys(true);
}
void Game::toggleDemoMode() {
    _demoMode = !_demoMode;
    if (_demoMode) {
        _playerActive = false;
        if (_bots.empty()) {
            addBot();
        }
        _cameraSubject = _bots.empty() ? static_cast<Player*>(&_player) : _bots.front();
        _cameraMode = CAMERA_ORBIT;
        _message._text << "DEMO MODE ON\n";
    } else {
        _playerActive = true;
        _cameraSubject = &_player;
        _cameraMode = CAMERA_FIRST_PERSON;
        _message._text << "DEMO MODE OFF\n";
    }
    _message.showText(2.0, 1.0);
}
void Game::nextCameraMode() {
    static const char* const names[CAMERA_MODE_COUNT] = {"CAMERA: FIRST PERSON\n", "CAMERA: FOLLOW\n",
                                                         "CAMERA: FOLLOW+ORBIT\n"};
    _cameraMode = (_cameraMode + 1) % CAMERA_MODE_COUNT;
    _message._text << names[_cameraMode];
    _message.showText(2.0, 1.0);
}

void Game::setFog(const RGBA<float>& color) {
    const GLfloat fogColor[4] = {color.r, color.g, color.b, color.a};
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogi(GL_FOG_MODE, GL_LINEAR);
}

// ---- sound --------------------------------------------------------------------------------

int Game::playSound(const std::string& name, unsigned char volume, const Vector3<float>* position) {
    // A name that was never loaded is entered with no sample: it plays nothing, and the calls
    // on the channel that did not start do nothing either.
    const int channel = FSOUND_PlaySound(FSOUND_FREE, _soundSamples[name]);
    FSOUND_SetVolume(channel, volume);
    if (position) {
        const float where[3] = {position->x, position->y, position->z};
        FSOUND_3D_SetAttributes(channel, where, nullptr);
    }
    return channel;
}

// ---- play rules ---------------------------------------------------------------------------

namespace {

// What every kind of chaser shares.
constexpr int CHASER_SHOT_SCORE = 250;
constexpr int CHASER_CUTOFF_SCORE = 500;
constexpr double CHASER_RECOVERY_TIME = 0.12;
constexpr double CHASER_RESPAWN_DELAY = 20.0;
constexpr int CHASER_NAME_MIN = 3;
constexpr int CHASER_NAME_MAX = 16;
// Chasers grow faster by a tenth of the preset's factor per level, up to twice the craft.
constexpr float CHASER_LEVEL_FACTOR = 0.1f;
constexpr float CHASER_FACTOR_MAX = 2.0f;
// A dead chaser leaves this much melted round its cell, its pick-up spared.
constexpr int CHASER_DEATH_MELT = 6;

// The EMP blast: chasers closer than radius times this go; the view shakes in first person.
constexpr float EMP_REACH = 1.4f;
constexpr float EMP_SHAKE_AMPLITUDE = 0.25f;
constexpr float EMP_SHAKE_DURATION = 0.5f;

constexpr std::size_t MAX_EXPLOSIONS = 10;

struct ChaserKind {
    const char* type;
    float speedChange;
    float avoidCrash;
    int hitpoints;
    RGBA<float> color;
};

// By botType.
const ChaserKind chaserKinds[4] = {
    {"ROCKER", 1.0f, 0.85f, 8, RGBA<float>(0.6f, 0.5f, 0.6f, 1.0f)},
    {"THIEF", 1.0f, 0.5f, 8, RGBA<float>(0.5f, 0.65f, 0.5f, 1.0f)},
    {"DOVE", 1.1f, 0.05f, 10, RGBA<float>(0.65f, 0.5f, 0.5f, 1.0f)},
    {"SHIVA", 0.85f, 1.0f, 6, RGBA<float>(0.5f, 0.5f, 0.6f, 1.0f)},
};

// Straight runs by kind and level: the thief's grow longer and less even with the level, the
// shiva's shorter.
std::pair<int, int> straightMovesOf(Game::botType kind, int level) {
    switch (kind) {
        case Game::BOT_THIEF: return {std::max(8 - level, 3), std::min(level + 22, 31)};
        case Game::BOT_DOVE: return {20, 31};
        case Game::BOT_SHIVA: return {std::max(5 - level / 2, 3), std::max(15 - level, 5)};
        case Game::BOT_ROCKER:
        default: return {10, 20};
    }
}

int randomCell(int size) {
    return static_cast<int>(static_cast<long>(crand::rand()) * size / (crand::CRAND_MAX + 1L));
}

// The chaser's explosion: hot sparks, a red flash and grey smoke. Speeds and sizes follow the
// shot's sparks of the same textures.
const ParticleSet explosionSets[3] = {
    {170, "particle2.png", 15.0f, -3.0f, 0.07f, 0.02f, 0.0f, RGBA<float>(1.0f, 0.2f, 0.1f, 0.9f),
     RGBA<float>(0.2f, 0.4f, 0.4f, 0.2f), RGBA<float>(0.0f, 0.0f, 0.0f, -0.5f), RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f)},
    {100, "particle1.png", 26.0f, -15.0f, 0.4f, 0.3f, 1.0f, RGBA<float>(1.0f, 0.1f, 0.1f, 1.0f),
     RGBA<float>(0.0f, 0.0f, 0.0f, 0.1f), RGBA<float>(0.0f, 0.0f, 0.0f, -1.0f), RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f)},
    {370, "particle2.png", 5.0f, -3.0f, 0.04f, 0.02f, 0.0f, RGBA<float>(0.4f, 0.4f, 0.4f, 1.0f),
     RGBA<float>(0.1f, 0.1f, 0.1f, 0.2f), RGBA<float>(0.0f, 0.0f, 0.0f, -0.45f), RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f)},
};

float distanceSq(const Vector3<float>& a, const Vector3<float>& b) {
    const float x = a.x - b.x;
    const float y = a.y - b.y;
    const float z = a.z - b.z;
    return x * x + y * y + z * z;
}

}  // namespace

void Game::addBot() {
    const botType kind = _botTypeGenerator();
    const std::string name = _nameGenerator.generate(CHASER_NAME_MIN, CHASER_NAME_MAX);

    const GameSpeed preset = _currentGameSpeed != _gameSpeeds.end() ? _currentGameSpeed->second : GameSpeed();
    const float factor =
        std::min(static_cast<float>(_botLevel) * CHASER_LEVEL_FACTOR + preset.chaserFactor, CHASER_FACTOR_MAX);
    const float base = factor * preset.velocity;
    const float spread = base * preset.chaserSpread;
    const float velocity =
        base + static_cast<float>(crand::rand()) * (2.0f * spread) / static_cast<float>(crand::CRAND_MAX) - spread;

    const int size = _octree.size();
    const int x = randomCell(size);
    const int y = randomCell(size);
    const int z = randomCell(size);
    Bot* const bot =
        new Bot(name, Vector3<int>(x, y, z), Vector3<int>::Z_MINUS, Vector3<int>::Y_PLUS, velocity, _octree);

    if (_currentColorScheme != _colorSchemes.end() && !_currentColorScheme->second.trailColors.empty()) {
        const std::vector<unsigned char>& colors = _currentColorScheme->second.trailColors;
        const std::size_t index =
            static_cast<std::size_t>(crand::rand()) * colors.size() / static_cast<std::size_t>(crand::CRAND_MAX);
        bot->_trailColor = colors[std::min(index, colors.size() - 1)];
    }

    const ChaserKind& row = chaserKinds[kind];
    const std::pair<int, int> moves = straightMovesOf(kind, _botLevel);
    bot->type(row.type);
    if (row.speedChange != 1.0f) {
        bot->velocity(velocity * row.speedChange);
    }
    bot->avoidCrash(row.avoidCrash);
    bot->_hitpoints = static_cast<float>(row.hitpoints);
    bot->hitpointsMax(row.hitpoints);
    bot->straightMoves(moves.first, moves.second);
    bot->baseColor(row.color);
    bot->mesh(_chaserMesh);
    bot->scoreShot(CHASER_SHOT_SCORE);
    bot->scoreBurn(CHASER_CUTOFF_SCORE);
    bot->timeStretch(static_cast<double>(_timeStretch));
    bot->recoveryTime(CHASER_RECOVERY_TIME);
    bot->hitColor(_hitColor);

    _bots.push_back(bot);
    ++_liveBotCount;
    _message._text << "ENTER: " << name << "\n";
    _message.showText(1.5, 1.0);
    ++_botsAddedThisFrame;
    if (_botsAddedThisFrame == 1 && _state == STATE_PLAY) {
        playSound("chaserentered", _voiceVolume);
    }
}

std::list<Bot*>::iterator Game::respawnBot(std::list<Bot*>::iterator& it) {
    if (it == _deadBots.end()) {
        return it;
    }
    Bot& bot = **it;
    // A chaser whose delay ran out came back in its own update; a second respawn would move
    // it once more after that update, and the frame would lay a trail cube where it died.
    if (bot.dead()) {
        bot.respawn();
    }
    if (_state != STATE_GAME_OVER) {
        _message._text << "RE-ENTER: " << bot._name << "\n";
    }
    if (_state == STATE_PLAY) {
        ++_botsAddedThisFrame;
        if (_botsAddedThisFrame == 1) {
            playSound("chaserentered", _voiceVolume);
        }
    }
    it = _deadBots.erase(it);
    ++_liveBotCount;
    _message.showText(1.5, 1.0);
    return it;
}
void Game::clearBots() {
    if (std::find(_bots.begin(), _bots.end(), _cameraSubject) != _bots.end()) {
        _cameraSubject = &_player;
    }
    for (Bot* bot : _bots) {
        delete bot;
    }
    _bots.clear();
    _deadBots.clear();
    _botInfoList.clear();
    _aimedBot = nullptr;
}

Vector3<float> Game::nearestWrappedPoint(const Vector3<float>& from, const Vector3<float>& to) const {
    const float period = static_cast<float>(_octree.size());
    Vector3<float> nearest = to;
    float best = std::numeric_limits<float>::max();
    for (int k = -1; k <= 1; ++k) {
        for (int j = -1; j <= 1; ++j) {
            for (int i = -1; i <= 1; ++i) {
                const Vector3<float> p(to.x + static_cast<float>(i) * period, to.y + static_cast<float>(j) * period,
                                       to.z + static_cast<float>(k) * period);
                const float d = distanceSq(from, p);
                if (d < best) {
                    best = d;
                    nearest = p;
                }
            }
        }
    }
    return nearest;
}
void Game::applyColorScheme(const std::string& which) {
    auto found = _colorSchemes.find(which);
    if (found == _colorSchemes.end()) {
        found = std::find_if(_colorSchemes.begin(), _colorSchemes.end(),
                             [&](const auto& entry) { return entry.second.name == which; });
        if (found == _colorSchemes.end()) {
            return;
        }
    }
    const auto previous = _currentColorScheme;
    _currentColorScheme = found;
    const ColorScheme& scheme = found->second;

    if (!scheme.backgrounds.empty()) {
        const bool playing = _state == STATE_PLAY || _state == STATE_INGAME_MENU;
        const int stage = playing && _stage > 0 ? _stage : 1;
        const int perBackground = std::max(1, scheme.changeBackgroundOnEvery);
        const std::size_t index = static_cast<std::size_t>((stage - 1) / perBackground) % scheme.backgrounds.size();
        _fogColor = scheme.backgrounds[index];
    }
    _hudColor = scheme.hud;
    _message._color = scheme.hud;
    tintBanner();
    if (_starfield) {
        _starfield->color(scheme.starfieldColor, scheme.starfieldColorRand);
    }
    setFog(_fogColor);
    setupNukeBackgroundGradient(_fogColor);
    _player._trailColor = scheme.playerTrail;
    _hitColor = scheme.hit;

    // The cursor takes the HUD colour here, as a scheme may have no trail colours to go on to.
    if (_aimCursorSprite) {
        _aimCursorSprite->color(_hudColor);
    }
    // A scheme without trail colours has nothing to hand out: cells and chasers keep theirs.
    if (scheme.trailColors.empty()) {
        return;
    }
    if (previous != _colorSchemes.end()) {
        // Every index maps to itself unless the old list pairs it off, so placed cells of a
        // colour outside the old list (the craft's own) keep it.
        std::map<unsigned char, unsigned char> remap;
        for (int i = 0; i < 256; ++i) {
            remap[static_cast<unsigned char>(i)] = static_cast<unsigned char>(i);
        }
        std::size_t next = 0;
        for (const unsigned char old : previous->second.trailColors) {
            remap[old] = scheme.trailColors[next];
            next = (next + 1) % scheme.trailColors.size();
        }
        _octree.replaceTrailColors(remap);
    }
    const std::size_t count = scheme.trailColors.size();
    for (Bot* bot : _bots) {
        const std::size_t index = static_cast<std::size_t>(crand::rand()) * count / 32767;
        bot->_trailColor = scheme.trailColors[std::min(index, count - 1)];
    }
}

void Game::tintBanner() {
    if (_overlayText) {
        _overlayText->textColor = RGBA<float>(_hudColor.r, _hudColor.g, _hudColor.b, _overlayText->textColor.a);
    }
}

void Game::setupNukeBackgroundGradient(RGBA<float> colour) {
    _backgroundGradient.clear();
    _backgroundGradient.addEntry(0.0f, _backgroundColor);
    _backgroundGradient.addEntry(0.5f, _backgroundColor);
    _backgroundGradient.addEntry(static_cast<float>(_backgroundFogStop), colour);
}
void Game::applyGameSpeed(const std::string& which) {
    // The menus and the settings file name a speed by its display name, the code by its key.
    std::map<std::string, GameSpeed>::iterator found = _gameSpeeds.find(which);
    if (found == _gameSpeeds.end()) {
        found = std::find_if(_gameSpeeds.begin(), _gameSpeeds.end(),
                             [&which](const std::pair<const std::string, GameSpeed>& preset) {
                                 return preset.second.name == which;
                             });
    }
    if (found == _gameSpeeds.end()) {
        return;
    }
    _currentGameSpeed = found;
    const GameSpeed& speed = found->second;
    _timeStretch = speed.timeStretch;
    // Trails cool in real time while the craft flies in stretched time.
    _octree.trailCoolingTime(speed.trailCooling / speed.timeStretch);
    _octree.meltSpeed(1.0f, 4.0f);
    _player.velocityMult(speed.velocityMult);
    _player.velocity(speed.velocity);

    const float base = speed.chaserFactor * speed.velocity;
    const float spread = speed.chaserSpread * base;
    for (Bot* bot : _bots) {
        const int r = crand::rand();
        bot->velocity(base + static_cast<float>(r) * (2.0f * spread) / static_cast<float>(crand::CRAND_MAX) - spread);
        bot->timeStretch(static_cast<double>(_timeStretch));
    }
}

// ---- score, shields, ammunition, bombs and pick-ups -------------------------------------

void Game::score(int points) {
    // Points of the trainer, the demo and a game that has ended count for nothing.
    if (_state != STATE_PLAY) {
        return;
    }
    _previousScore = _score;
    _score = _previousScore + static_cast<std::uint32_t>(points);
    const std::int32_t before = static_cast<std::int32_t>(_previousScore);
    const std::int32_t now = static_cast<std::int32_t>(_score);

    const int shieldBonus = thresholdsCrossed(before, now, _shieldBonusEvery) * _shieldsPerBonus;
    if (shieldBonus > 0) {
        _message._text << "SHIELD +" << shieldBonus << "\n";
        shields(shieldBonus);
        _message.showText(1.2, 1.0);
    }
    const int ammoBonus = thresholdsCrossed(before, now, _ammoBonusEvery) * _ammoPerBonus;
    if (ammoBonus > 0) {
        _message._text << "AMMO +" << ammoBonus << "\n";
        ammo(ammoBonus);
        _message.showText(1.2, 1.0);
    }

    // One award earns one wave at most, however far it overshoots the quota.
    const int toGoBefore = _pointsToGo;
    _pointsToGo -= points;
    if (toGoBefore > 0 && _pointsToGo <= 0) {
        ++_pendingWaves;
    }
}

void Game::shields(int delta) {
    const int points = static_cast<int>(_player._hitpoints) + delta;
    _player._hitpoints = static_cast<float>(std::min(points, _maxShields));
}

void Game::ammo(int delta) {
    _gun.addAmmo(delta);
    if (_gun.ammo() > _maxAmmo) {
        _gun.ammo(_maxAmmo);
    }
}

void Game::bombs(int delta) {
    _bombs = std::clamp(_bombs + delta, 0, std::max(_maxBombs, 0));
}

void Game::addCollectable(const Vector3<int>& cell) {
    const CollectableType kind = _collectableTypeGenerator();
    if (kind == COLLECTABLE_NONE) {
        return;
    }
    Collectable& pickup = *_octree.addCollectableObject(cell);
    pickup._lifeTime = PICKUP_LIFETIME / static_cast<double>(_timeStretch);
    switch (kind) {
        case COLLECTABLE_SCORE:
            pickup._mesh = _scorePickupMesh;
            pickup._scoreAmount = scorePickupPoints(crand::rand());
            break;
        case COLLECTABLE_SHIELDS:
            pickup._mesh = _shieldsPickupMesh;
            pickup._shieldAmount = 5;
            break;
        case COLLECTABLE_AMMO:
            pickup._mesh = _ammoPickupMesh;
            pickup._ammoAmount = 50;
            break;
        case COLLECTABLE_EMP:
            pickup._mesh = _empPickupMesh;
            pickup._bombAmount = 1;
            break;
        case COLLECTABLE_NONE: break;
    }
    pickup._amountScale = 1.0f;
}

void Game::collectCollectable(const Vector3<int>& cell) {
    const Collectable* const pickup = _octree.getTerminalNode(cell)->collectable();
    if (pickup == nullptr) {
        return;
    }
    // Every amount is announced, also when a limit swallows it or the game has ended.
    if (pickup->_scoreAmount != 0) {
        _message._text << "SCORE +" << pickup->_scoreAmount << "\n";
        score(pickup->_scoreAmount);
        playSound("score", _voiceVolume);
    }
    if (pickup->_ammoAmount != 0) {
        _message._text << "AMMO +" << pickup->_ammoAmount << "\n";
        ammo(pickup->_ammoAmount);
        playSound("ammo", _voiceVolume);
    }
    if (pickup->_shieldAmount != 0) {
        _message._text << "SHIELDS +" << pickup->_shieldAmount << "\n";
        shields(pickup->_shieldAmount);
        playSound("shields", _voiceVolume);
    }
    if (pickup->_bombAmount != 0) {
        _message._text << "EMP +" << pickup->_bombAmount << "\n";
        bombs(pickup->_bombAmount);
        playSound("emp", _voiceVolume);
    }
    _message.showText(1.0, 1.0);
    playSound("pickup", _effectsVolume);
    // Deletes the pick-up: it must not be read after this.
    _octree.setTerminalNode(cell, OcTree::SET_CLEAR_ANY, 0);
}

// ---- chasers: return, death and hum ------------------------------------------------------

void Game::respawnBot(Bot* bot) {
    std::list<Bot*>::iterator it = std::find(_deadBots.begin(), _deadBots.end(), bot);
    respawnBot(it);
}

void Game::respawnAllBots() {
    for (std::list<Bot*>::iterator it = _deadBots.begin(); it != _deadBots.end();) {
        respawnBot(it);
    }
}

std::list<Bot*>::iterator Game::destroyBot(Bot* bot, BotDeathType how) {
    std::list<Bot*>::iterator it = std::find(_bots.begin(), _bots.end(), bot);
    if (it != _bots.end()) {
        ++it;
    }
    // A chaser dies once: a second death would list it twice among the dead, count it off the
    // live ones twice and drop a second pick-up.
    if (bot->dead()) {
        return it;
    }
    addCollectable(bot->_cell);
    _octree.melt(bot->_cell, CHASER_DEATH_MELT, false);

    if (how == DEATH_CUTOFF) {
        const int points = bot->scoreBurn() * _speedLevelRounded;
        _message._text << "CUTOFF: " << bot->_name << " +" << points << "\n";
        playSound("chasercutoff", _voiceVolume);
        score(points);
    } else {
        const int points = bot->scoreShot();
        ++_botsDestroyedThisFrame;
        _message._text << "DESTROYED: " << bot->_name << " +" << points << "\n";
        if (_botsDestroyedThisFrame < 2) {
            playSound("chaserdestroyed", _voiceVolume);
        }
        score(points);
    }
    _message.showText(1.5, 1.0);

    const Vector3<float> where = how == DEATH_SHOT ? _aimPoint : nearestWrappedPoint(_player._pos, bot->_pos);
    addExplosion(where);
    bot->die(CHASER_RESPAWN_DELAY);
    _deadBots.push_back(bot);
    playSound("explosion", _effectsVolume, &where);

    --_liveBotCount;
    _aimedBot = nullptr;
    return it;
}

void Game::muteBotHum(bool mute) {
    for (Bot* bot : _bots) {
        bot->muteHum(mute);
    }
}

void Game::setBotHumVolume(unsigned char volume) {
    for (Bot* bot : _bots) {
        bot->humVolume(volume);
    }
}

// ---- EMP blast and explosions ---------------------------------------------------------------

void Game::bomb(const Vector3<int>& cell, int radius) {
    if (_bombs < 1) {
        _bombs = 0;
        playSound("weapon_empty", _effectsVolume);
        return;
    }
    _octree.melt(cell, radius, false);
    playSound("emp_blast", _effectsVolume);
    --_bombs;
    if (_cameraMode == CAMERA_FIRST_PERSON) {
        _shaker.shake(EMP_SHAKE_AMPLITUDE, EMP_SHAKE_DURATION);
    }
    _message.clear();
    const float reach = static_cast<float>(radius) * EMP_REACH;
    for (std::list<Bot*>::iterator it = _bots.begin(); it != _bots.end();) {
        Bot* const bot = *it;
        if (bot != nullptr && !bot->dead()) {
            const Vector3<float> seen = nearestWrappedPoint(_player._pos, bot->_pos);
            if (std::sqrt(distanceSq(_player._pos, seen)) < reach) {
                it = destroyBot(bot, DEATH_EMP);
                continue;
            }
        }
        ++it;
    }
    _message.showText(1.5, 1.0);
}

void Game::addExplosion(const Vector3<float>& position) {
    std::list<Particle::CreateData> sets;
    for (const ParticleSet& set : explosionSets) {
        sets.push_back(particleTemplate(set, position, _effectsParticleDensity, textureOf(set.texture)));
    }
    BotExplosion* const explosion = new BotExplosion(sets, position);
    if (_explosionRingMesh != nullptr) {
        explosion->ringMesh(*_explosionRingMesh);
    }
    _explosions.push_back(explosion);
    if (_explosions.size() > MAX_EXPLOSIONS) {
        delete _explosions.front();
        _explosions.pop_front();
    }
}

void Game::clearExplosions() {
    for (Explosion* explosion : _explosions) {
        delete explosion;
    }
    _explosions.clear();
}

}  // namespace Vortel
