#include "game/game.h"

#include <GL/gl.h>

#include <system_error>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/sprite.h"
#include "engine2d/timeline.h"
#include "engine2d/timelinesprite.h"
#include "game/soundsamples.h"
#include "world/mesh.h"
#include "world/meshchrome.h"

namespace Vortel {

namespace {

// Raised inside the loader when the game is going away; never leaves the loader thread.
struct LoadingStopped {};

const char* const preloadedBitmaps[] = {
    "cube7.png",        "particle1.png",  "particle2.png", "bullet_hole1.png", "bullet.png",      "arrow_left.png",
    "flare.png",        "pow_score.png",  "pow_ammo.png",  "pow_shields.png",  "pow_emp.png",     "chaser1.png",
    "bubble.png",       "slider_handle.png", "slider_bar.png", "noise.png",
};

const char* const skyBoxBitmaps[] = {
    "environment0.png", "environment1.png", "environment2.png",
    "environment3.png", "environment4.png", "environment5.png",
};

}  // namespace

void Game::load() {
    // Loading happens once per run; a second start would leave the first thread unowned.
    if (_loaderThread.joinable()) {
        return;
    }
    FSOUND_StopSound(FSOUND_ALL);
    // The splash pictures are not shown again; their pixels stay in the cache.
    for (const char* splash : {"textures/splash_lumisk.png", "textures/logo_zindle.png", "textures/logo_quendle.png"}) {
        _bitmapManager.get(splash)->deactivate();
    }
    _state = STATE_LOADING;
    try {
        _loaderThread = std::thread(&Game::loader, this);
    } catch (const std::system_error&) {
        throw std::runtime_error("Cannot create loader thread");
    }
}

void Game::loader(void* argument) {
    Game& game = *static_cast<Game*>(argument);
    try {
        {
            const std::lock_guard<std::mutex> lock(game._loadingLogMutex);
            game._loadingLog.str("");
        }
        game.loadMeshes();
        game.loadSoundGroup();
        game.loadBitmaps();
        game.loadSkyBox();
        game.appendLoadingLog("Starting...");
        game._loaded.store(true, std::memory_order_release);
    } catch (const LoadingStopped&) {
        // The game is being torn down and waits for this thread; nobody reads the result.
    } catch (...) {
        game._loadError = std::current_exception();
        game._loadFailed.store(true, std::memory_order_release);
    }
}

void Game::appendLoadingLog(const std::string& text) {
    const std::lock_guard<std::mutex> lock(_loadingLogMutex);
    _loadingLog << text;
}

void Game::checkLoadingGoesOn() const {
    if (_stopLoading.load(std::memory_order_relaxed)) {
        throw LoadingStopped();
    }
}

void Game::loadMeshes() {
    appendLoadingLog("Loading meshes...");
    _meshManager.addPath("mesh");
    _playerMesh = _meshChromeManager.get("shiva.obj");
    checkLoadingGoesOn();
    _flareMesh = _meshManager.get("flare.obj");
    _gunMesh = _meshManager.get("gun1.obj");
    _cubeBevelMesh = _meshManager.get("cube_bevel.obj");
    _explosionRingMesh = _meshManager.get("explosionRing.obj");
    checkLoadingGoesOn();
    for (MeshChrome*& rocker : _rockerMeshes) {
        rocker = _meshChromeManager.get("rocker.obj");
    }
    _chaserMesh = _meshChromeManager.get("shiva.obj");
    checkLoadingGoesOn();
    _scorePickupMesh = _meshManager.get("pow_score.obj");
    _shieldsPickupMesh = _meshManager.get("pow_shields.obj");
    _ammoPickupMesh = _meshManager.get("pow_ammo.obj");
    _empPickupMesh = _meshManager.get("pow_emp.obj");
    _bulletMesh = _meshManager.get("bullet.obj");
    appendLoadingLog("OK\n");
}

void Game::loadBitmaps() {
    appendLoadingLog("Loading bitmaps...");
    _bitmapManager.addPath("textures");
    for (const char* name : preloadedBitmaps) {
        checkLoadingGoesOn();
        _bitmapManager.get(name);
    }
    checkLoadingGoesOn();

    // No display lists here: this thread has no GL context.
    const float halfW = static_cast<float>(_width / 2);
    const float halfH = static_cast<float>(_height / 2);
    _titleLogoImage = cutImage("logo1.png", 0, 0, 256, 128, 0, 128, false);
    _titleLogo = std::make_unique<Stelkor::Sprite>();
    _titleLogo->image(*_titleLogoImage);
    _titleLogo->pos(-5.0f, halfH - 40.0f);
    _titleLogo->_scale = Vector2<float>(0.7f, 0.7f);

    _highScoresTitleImage = cutImage("high_scores.png", 0, 0, 128, 32, 0, 32, false);
    _highScoresTitle = std::make_unique<Stelkor::Sprite>();
    _highScoresTitle->image(*_highScoresTitleImage);

    _pausedImage = cutImage("paused.png", 0, 0, 41, 48, 41, 48, false);
    _pausedSprite = std::make_unique<Stelkor::TimelineSprite>();
    _pausedSprite->image(*_pausedImage);
    _pausedSprite->pos(static_cast<float>(_width - 40), static_cast<float>(_height - 40));
    Stelkor::Timeline<float> blink;
    for (const auto& key : {std::pair<double, float>(0.0, 1.0f), {0.4, 1.0f}, {0.5, 0.0f}, {0.9, 0.0f}, {1.0, 1.0f}}) {
        blink.addKey({key.first, key.second, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    }
    _pausedSprite->setTimeline(_pausedSprite->_color.a, blink);
    checkLoadingGoesOn();

    _adviceArrowImage = cutImage("arrow_left.png", 0, 0, 64, 64, 32, 32, false);
    _trickTrainerAdviceHud.arrowImage(*_adviceArrowImage);
    _trickTrainerAdviceHud.center(Vector2<float>(halfW, halfH));

    _aimCursorImage = cutImage("target.png", 0, 0, 32, 32, 16, 16, false);
    _aimCursorSprite = std::make_unique<Stelkor::Sprite>();
    _aimCursorSprite->image(*_aimCursorImage);

    _sliderBarImage = cutImage("slider_bar.png", 0, 0, 81, 12, 0, 6, false);
    _sliderBarSprite = std::make_unique<Stelkor::Sprite>();
    _sliderBarSprite->image(*_sliderBarImage);
    _sliderHandleImage = cutImage("slider_handle.png", 0, 0, 12, 12, 6, 6, false);
    _sliderHandleSprite = std::make_unique<Stelkor::Sprite>();
    _sliderHandleSprite->image(*_sliderHandleImage);
    checkLoadingGoesOn();

    _makerLogoSmallImage = cutImage("logo_zindle_small.png", 0, 0, 64, 32, 32, 16, false);
    _makerLogoSmall = std::make_unique<Stelkor::Sprite>();
    _makerLogoSmall->image(*_makerLogoSmallImage);
    _makerLogoSmall->color(1.0f, 1.0f, 1.0f, 0.75f);
    _makerLogoSmall->_scale = Vector2<float>(0.75f, 0.75f);
    _partnerLogoSmallImage = cutImage("logo_quendle_small.png", 0, 0, 64, 64, 32, 32, false);
    _partnerLogoSmall = std::make_unique<Stelkor::Sprite>();
    _partnerLogoSmall->image(*_partnerLogoSmallImage);
    _partnerLogoSmall->color(1.0f, 1.0f, 1.0f, 1.0f);
    appendLoadingLog("OK\n");
}

void Game::loadSkyBox() {
    appendLoadingLog("Loading skybox...");
    for (const char* name : skyBoxBitmaps) {
        checkLoadingGoesOn();
        _bitmapManager.get(name);
    }
    appendLoadingLog("OK\n");
}

bool Game::frameLoading() {
    glLoadIdentity();
    _renderer.color(0.0f, 0.0f, 0.0f, 1.0f);
    _renderer.clear();
    _renderer.color(1.0f, 1.0f, 1.0f, 1.0f);

    _titleLogoSmall->pos(20.0f, static_cast<float>(_height - 20));
    _titleLogoSmall->animate(_frameTime);
    _loadingArrow->pos(143.0f, static_cast<float>(_height - 32));
    _loadingArrow->_scale = Vector2<float>(0.8f, 0.8f);
    _loadingArrow->animate(_frameTime);
    _titleLogoSmall->draw();
    _loadingArrow->draw();

    std::string log;
    {
        const std::lock_guard<std::mutex> lock(_loadingLogMutex);
        log = _loadingLog.str();
    }
    _renderer.print(log, Vector2<float>(20.0f, static_cast<float>(_height - 74)), Vector2<float>(1.0f, 1.0f));

    if (_loadFailed.load(std::memory_order_acquire)) {
        // Once: the loader is done, and nothing it made is used.
        _loadFailed.store(false, std::memory_order_relaxed);
        _loaderThread.join();
        std::rethrow_exception(_loadError);
    }
    if (_loaded.load(std::memory_order_acquire)) {
        afterLoad();
    }
    return true;
}

void Game::loadIntroSample() {
    Vortel::loadIntroSample(_soundSamples);
}

void Game::loadSoundGroup() {
    appendLoadingLog("Loading sounds...");
    // The same line whatever failed: a missing list, name or file only leaves a null entry.
    loadSoundSamples(_soundSamples, [this] { checkLoadingGoesOn(); });
    appendLoadingLog("OK\n");
}

void Game::afterLoad() {
    mainMenu();
}

}  // namespace Vortel
