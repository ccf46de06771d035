// Loading: load() starts the loader thread, loader() reads the meshes, sound samples,
// pictures and sky box, frameLoading() shows its progress, and afterLoad() makes the textures
// and the built-in tables on the main thread and enters the main menu.

#include "game/game.h"

#include <GL/gl.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <system_error>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "engine2d/renderer2d.h"
#include "engine2d/textsprite.h"
#include "engine2d/sprite.h"
#include "engine2d/timeline.h"
#include "engine2d/timelinesprite.h"
#include "game/spriteshowing.h"
#include "game/soundsamples.h"
#include "world/mesh.h"
#include "world/bumpnoise.h"
#include "world/meshchrome.h"
#include "world/particle.h"
#include "world/starfield.h"

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

namespace {

// The mesh reader takes an empty or foreign file as a mesh without faces; the game would then
// fly, shoot and collect things nobody can see.
template <class M>
M* drawableMesh(M* mesh, const std::string& file) {
    const auto& faces = mesh->_faces;
    if (std::none_of(faces.begin(), faces.end(), [mesh](const Mesh::Face& face) { return mesh->isTriangle(face); })) {
        throw std::runtime_error("Game::loadMeshes - mesh has no triangle to draw: " + file);
    }
    return mesh;
}

}  // namespace

void Game::loadMeshes() {
    appendLoadingLog("Loading meshes...");
    _meshManager.addPath("mesh");
    const auto mesh = [this](const char* file) { return drawableMesh(_meshManager.get(file), file); };
    const auto chrome = [this](const char* file) { return drawableMesh(_meshChromeManager.get(file), file); };
    _playerMesh = chrome("shiva.obj");
    checkLoadingGoesOn();
    _flareMesh = mesh("flare.obj");
    _gunMesh = mesh("gun1.obj");
    _cubeBevelMesh = mesh("cube_bevel.obj");
    _explosionRingMesh = mesh("explosionRing.obj");
    checkLoadingGoesOn();
    for (MeshChrome*& rocker : _rockerMeshes) {
        rocker = chrome("rocker.obj");
    }
    _chaserMesh = chrome("shiva.obj");
    checkLoadingGoesOn();
    _scorePickupMesh = mesh("pow_score.obj");
    _shieldsPickupMesh = mesh("pow_shields.obj");
    _ammoPickupMesh = mesh("pow_ammo.obj");
    _empPickupMesh = mesh("pow_emp.obj");
    _bulletMesh = mesh("bullet.obj");
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
    _titleLogo = spriteShowing(*_titleLogoImage);
    _titleLogo->pos(-5.0f, halfH - 40.0f);
    _titleLogo->_scale = Vector2<float>(0.7f, 0.7f);

    _highScoresTitleImage = cutImage("high_scores.png", 0, 0, 128, 32, 0, 32, false);
    _highScoresTitle = spriteShowing(*_highScoresTitleImage);

    _pausedImage = cutImage("paused.png", 0, 0, 41, 48, 41, 48, false);
    _pausedSprite = spriteShowing<Stelkor::TimelineSprite>(*_pausedImage);
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
    _aimCursorSprite = spriteShowing(*_aimCursorImage);

    _sliderBarImage = cutImage("slider_bar.png", 0, 0, 81, 12, 0, 6, false);
    _sliderBarSprite = spriteShowing(*_sliderBarImage);
    _sliderHandleImage = cutImage("slider_handle.png", 0, 0, 12, 12, 6, 6, false);
    _sliderHandleSprite = spriteShowing(*_sliderHandleImage);
    checkLoadingGoesOn();

    _makerLogoSmallImage = cutImage("logo_zindle_small.png", 0, 0, 64, 32, 32, 16, false);
    _makerLogoSmall = spriteShowing(*_makerLogoSmallImage);
    _makerLogoSmall->color(1.0f, 1.0f, 1.0f, 0.75f);
    _makerLogoSmall->_scale = Vector2<float>(0.75f, 0.75f);
    _partnerLogoSmallImage = cutImage("logo_quendle_small.png", 0, 0, 64, 64, 32, 32, false);
    _partnerLogoSmall = spriteShowing(*_partnerLogoSmallImage);
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

namespace {

struct CreditsEntry {
    const char* title;
    const char* text;
};

// Continuation lines of the line above start with two tabs.
const CreditsEntry creditsEntries[10] = {
    {"Zindle Studios presents:", "QUELLARIS - TRAILS OF THE CUBE"},
    {"", "With the kind support of the Lumisk Media group\n\t\tand Orla Penhallow"},
    {"Design, Programming and Graphics", "Tavin Marsh"},
    {"Music", "Isolde Brenner (www.example.org/brenner)"},
    {"Sound Effects", "Corvin Hale (www.example.org/hale)\nMira Sandvik"},
    {"Voice Samples", "Pella Quist, Ronan Vey and Sela Thorne"},
    {"Game Testing", "Ansel Drummond\nKira Lothe"},
    {"Thanks", "Everyone at Quendle Interactive\n\t\tand the night shift at Zindle Studios\n\t\tand all who flew the early builds"},
    {"", "(c) Zindle Studios. All rights reserved.\nThis game is freeware: copy it and share it, but do not sell it."},
    {"", "www.example.org/quellaris"},
};

Stelkor::Timeline<float>::Keyframe key(double time, float value) {
    return {time, value, Stelkor::Timeline<float>::KEY_ABSOLUTE};
}

}  // namespace

int Game::textureOf(const std::string& bitmap) {
    return static_cast<int>(_bitmapManager.get(bitmap)->texture());
}

void Game::afterLoad() {
    _bitmapManager.activateAll();
    _meshManager.createDisplayListsAll();
    for (int i = 5; i >= 0; --i) {
        textureOf(skyBoxBitmaps[i]);
    }
    _skyBox.assignTextures(textureOf(skyBoxBitmaps[0]), textureOf(skyBoxBitmaps[1]), textureOf(skyBoxBitmaps[2]),
                           textureOf(skyBoxBitmaps[3]), textureOf(skyBoxBitmaps[4]), textureOf(skyBoxBitmaps[5]));

    _playerMesh->_texId = textureOf("chaser1.png");
    _playerMesh->chromeTexId(textureOf("cube7.png"));
    for (MeshChrome* rocker : _rockerMeshes) {
        rocker->_texId = 0;
        rocker->chromeTexId(textureOf("cube7.png"));
    }
    _chaserMesh->_texId = textureOf("chaser1.png");
    _chaserMesh->chromeTexId(textureOf("cube7.png"));

    _scorePickupMesh->_texId = textureOf("pow_score.png");
    _ammoPickupMesh->_texId = textureOf("pow_ammo.png");
    _shieldsPickupMesh->_texId = textureOf("pow_shields.png");
    _empPickupMesh->_texId = textureOf("pow_emp.png");
    // Read back and made now, so that the first explosion of play does not wait for the GL.
    for (const char* spark : {"particle1.png", "particle2.png", "bubble.png"}) {
        Particle::batch().learnShape(textureOf(spark));
    }
    _sparkLayer.prepare();
    _bulletSystem.bulletTextureId(textureOf("bullet.png"));
    _bulletSystem.bulletMesh(_bulletMesh);

    // The stars exist before the colour schemes recolour them and the settings set their count.
    _starfield = std::make_unique<Starfield>(Vector3<float>(0.0f, 0.0f, 0.0f), Vector3<float>(1.0f, 0.0f, 0.0f), 0.2f,
                                             _debrisParticleDensity * _starsPerDensityStep, textureOf("bubble.png"));

    setupColorSchemes();
    setupSpeeds();
    setupTrickLibrary();
    setupCollectables();
    setupBots();
    setupScoreTables();
    setupSpeeding();
    setupCubeMap();

    const float halfW = static_cast<float>(_width / 2);
    const float halfH = static_cast<float>(_height / 2);
    _message._color = _hudColor;
    _message._pos = Vector2<float>(halfW, static_cast<float>(_height / 2 + _height * 0.07));
    _menuDescription.pos(_menuX, 3.0f);
    _menuDescription.hAlign = Stelkor::Renderer2D::ALIGN_LEFT;
    _menuDescription.vAlign = Stelkor::Renderer2D::ALIGN_BOTTOM;
    _menuDescription.font = _fontSmall.get();
    Stelkor::Timeline<float> fadeIn;
    fadeIn.loop = false;
    fadeIn.addKey(key(0.0, 0.0f));
    fadeIn.addKey(key(0.7, 1.0f));
    _menuDescription.setTimeline(_menuDescription.textColor.a, fadeIn);

    // Defaults first, so that a binding missing from the file keeps its default.
    defaultControls();
    loadSettings();

    _menuSlider = std::make_unique<Stelkor::MenuSlider>(*_sliderHandleSprite, *_sliderBarSprite);
    _menuSlider->pos(170.0f, 0.0f);
    // The menus show the values the settings just loaded.
    menuSetup();
    refreshRedefineKeysMenu();
    FSOUND_SetSFXMasterVolume(_masterVolume);

    _overlayText = std::make_unique<Stelkor::TextSprite>();
    _overlayText->font = _fontBig.get();
    _overlayText->hAlign = Stelkor::Renderer2D::ALIGN_CENTER;
    _overlayText->vAlign = Stelkor::Renderer2D::ALIGN_CENTER;
    // Opaque, in the HUD colour as the message is, so that it reads on the scheme's background.
    _overlayText->textColor = RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f);
    tintBanner();
    _overlayText->pos(halfW, halfH + 40.0f);
    Stelkor::Timeline<float> bannerFade;
    bannerFade.loop = false;
    bannerFade.addKey(key(0.0, 1.0f));
    bannerFade.addKey(key(1.8, 1.0f));
    bannerFade.addKey(key(2.8, 0.0f));
    _overlayText->setTimeline(_overlayText->textColor.a, bannerFade);
    Stelkor::Timeline<float> bannerGrow;
    bannerGrow.loop = false;
    bannerGrow.addKey(key(0.0, 0.0f));
    bannerGrow.addKey(key(0.15, 1.3f));
    bannerGrow.addKey(key(0.19, 1.0f));
    _overlayText->setTimeline(_overlayText->_scale.x, bannerGrow);
    _overlayText->setTimeline(_overlayText->_scale.y, bannerGrow);

    _bumpNoise = std::make_unique<BumpNoise>(*_bitmapManager.get("noise.png"),
                                             Vector2<float>(static_cast<float>(_width), static_cast<float>(_height)));

    _credits.font(*_font, *_font);
    _credits.colors(RGBA<float>(1.0f, 1.0f, 0.5f, 1.0f), RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f));
    _credits.spaceBetweenTitles(10.0f);
    for (const CreditsEntry& entry : creditsEntries) {
        _credits.addEntry(entry.title, entry.text);
    }
    _credits.pos(Vector2<float>(_menuX, 0.0f));
    _credits.scrollSpeed(25.0f);

    mainMenu();
}

}  // namespace Vortel
