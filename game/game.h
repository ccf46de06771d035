#ifndef QUELLARIS_GAME_GAME_H
#define QUELLARIS_GAME_GAME_H

#include <array>
#include <atomic>
#include <exception>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "actors/namegenerator.h"
#include "actors/player.h"
#include "actors/trick.h"
#include "actors/tricklibrary.h"
#include "actors/tricktrainer.h"
#include "actors/tricktraineradvicehud.h"
#include "engine2d/bitmapmanager.h"
#include "engine2d/renderer2d.h"
#include "engine2d/textsprite.h"
#include "game/bottombar.h"
#include "game/craftframe.h"
#include "game/credits.h"
#include "game/hudtexts.h"
#include "game/message.h"
#include "game/multiscoretable.h"
#include "game/notice.h"
#include "game/roundcounter.h"
#include "game/usercolorschemes.h"
#include "platform/fsound.h"
#include "platform/input.h"
#include "platform/matrix.h"
#include "platform/mrand.h"
#include "platform/openglapp.h"
#include "platform/ray3.h"
#include "platform/rgba.h"
#include "platform/settings.h"
#include "platform/shaker.h"
#include "platform/simplecamera.h"
#include "platform/vector2.h"
#include "platform/vector3.h"
#include "world/bulletsystem.h"
#include "world/collectable.h"
#include "world/cubedraw.h"
#include "world/gun.h"
#include "world/meshmanager.h"
#include "world/octree.h"
#include "world/skybox.h"
#include "world/sparklayer.h"

class EventSource;
class InputDevice;

namespace Stelkor {
class Font;
class Image;
class MenuSlider;
class SimpleMenu;
class Sprite;
class TimelineSprite;
}  // namespace Stelkor

namespace Vortel {

class Bot;
class BumpNoise;
class Explosion;
class Mesh;
class MeshChrome;
class Starfield;
struct ParticleSet;

// The game: the one application object, in its 800 x 600 window titled "Quellaris". It owns
// every object of the game and runs a state machine with an entry, a frame and a message
// function per state. Its members are open: the play rules, menus and HUD of the other game
// files all work on them, and the tests read them.
class Game : public OpenglApp {
public:
    enum State {
        STATE_NONE = 0,
        STATE_MAIN_MENU = 1,
        STATE_PLAY = 2,
        STATE_GAME_OVER = 3,
        STATE_INGAME_MENU = 4,
        STATE_LOADING = 5,
        STATE_TRICK_TRAINER = 6,
        STATE_VIEW_SCORES = 7,
        STATE_VIEW_SCORES_AUTOMATIC = 8,
        STATE_ENTER_SCORE = 9,
        STATE_CREDITS = 10,
        STATE_CREDITS_AUTOMATIC = 11,
        STATE_SPLASH_LUMISK = 12,
        STATE_SPLASH_ZINDLE = 13,
        STATE_SPLASH_QUENDLE = 14,
    };

    enum botType { BOT_ROCKER = 0, BOT_THIEF = 1, BOT_DOVE = 2, BOT_SHIVA = 3 };

    enum CollectableType {
        COLLECTABLE_NONE = 0,
        COLLECTABLE_SCORE = 1,
        COLLECTABLE_SHIELDS = 2,
        COLLECTABLE_AMMO = 3,
        COLLECTABLE_EMP = 4,
    };

    // One speed preset; its display name also names the preset's high-score table.
    struct GameSpeed {
        float velocity = 0.0f;
        float velocityMult = 0.0f;
        float chaserFactor = 0.0f;
        float chaserSpread = 0.0f;
        float trailCooling = 0.0f;
        float timeStretch = 0.0f;
        std::string name;
    };

    // One look of the playfield (game/usercolorschemes.h).
    using ColorScheme = Vortel::ColorScheme;

    // Points a trick earns per boost speed level.
    static const int _flyingScores[5];

    // Throws std::runtime_error when a part of the game cannot be set up: no name-statistics
    // file, no sound output, no multitexturing.
    Game();
    // The same game reading its window messages and its keyboard and mouse from the given
    // sources, so that a test can drive it.
    Game(std::unique_ptr<EventSource> events, std::unique_ptr<InputDevice> device);
    ~Game() override;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool frame() override;
    void close() override;
    void init() override;
    bool message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // ---- state entries ------------------------------------------------------------------
    void splashLumisk();
    void splashZindle();
    void splashQuendle();
    void load();
    void mainMenu();
    void startGame();
    void nextWave();
    void gameOver();
    void enterScore();
    void ingameMenu();
    void resumeGame();
    void pause(bool paused);
    void viewScores();
    void viewScoresAutomatic();
    void credits();
    void creditsAutomatic();
    void startTrickTrainer(Trick* trick);
    void toggleDemoMode();
    // Shows or hides the system cursor; only a change of wish reaches the window system.
    void cursor(bool visible);
    void nextCameraMode();
    void setFog(const RGBA<float>& color);

    // ---- frames ---------------------------------------------------------------------------
    bool frameMainMenu();
    bool framePlay();
    bool frameGameOver();
    bool frameIngameMenu();
    bool frameLoading();
    bool frameTrickTrainer();
    bool frameViewScores();
    bool frameViewScoresAutomatic();
    bool frameEnterScore();
    bool frameCredits();
    bool frameCreditsAutomatic();
    bool frameSplashLumisk();
    bool frameSplashZindle();
    bool frameSplashQuendle();

    // ---- window messages ------------------------------------------------------------------
    bool messageMainMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messagePlay(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageTrickTrainer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageGameOver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageIngameMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageViewScores(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageViewScoresAutomatic(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageEnterScore(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageCredits(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageCreditsAutomatic(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageSplashLumisk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageSplashZindle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool messageSplashQuendle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- loading --------------------------------------------------------------------------
    static void loader(void* game);
    void afterLoad();
    void loadSettings();
    // The display mode the settings file asks for, where it asks for one. A saved wish
    // never keeps the game from starting: where full screen cannot be had the game goes on in
    // a window, keeps the key as it stands for the next start, and says so once per run.
    void applyFullscreenSetting();
    // Tells the player, on standard error and in the menus, that the display mode could not be
    // changed and in which mode the game goes on.
    void reportDisplayModeFailure(const std::runtime_error& failure);

    // A save or a keeping copy killed before its rename leaves its temporary, which nothing
    // else would remove.
    void removeLeftTemporaries();
    // Fills the three settings stores from their files. A missing file leaves its store empty
    // and the game on its own values, quietly. One that is there but cannot be read (no
    // regular file, over the size the store reads, not readable by the player) does the same,
    // and says so on standard error; the user settings' file is also told in the menus
    // ("SETTINGS NOT READ") and, where it is a regular file, kept before the first save
    // replaces it (see saveSettings()); anything else there no save replaces.
    void readSettingsFiles();

    // ---- saving ---------------------------------------------------------------------------
    // Each writes its file at once and says whether it did. A failure keeps the old file, and
    // the new values hold for this run; the first failure since the start or since the last
    // save of that file that succeeded puts a notice in the menus ("SETTINGS NOT SAVED") and
    // one line with the file and why on standard error. A save whose folder did not sync is
    // a save all the same, told once on standard error: the file may not survive a power cut.
    // A regular file that was there at the start but did not read whole is first copied to
    // the same path + ".damaged", or where a copy kept before stands there, to the first free
    // of ".damaged.2", ".damaged.3" and so on; when that copy fails, nothing is saved. A file
    // that another game saved over it since is that game's, and is not copied.
    bool saveSettings();
    bool saveScores();

    // ---- key bindings ---------------------------------------------------------------------
    void defaultControls();
    void unbindKey(unsigned int code);
    void refreshKeyNames();
    void refreshRedefineKeysMenu();
    void saveControls();
    void trackPlayerKeys();

    // ---- sound ----------------------------------------------------------------------------
    // Plays the named sample on a free channel at the volume (the caller's class of sound:
    // effects, music or voice), at the world position when one is given (heard there only for
    // samples loaded as placed); returns the channel, -1 when nothing plays. A name that is not
    // in _soundSamples is entered there with no sample.
    virtual int playSound(const std::string& name, unsigned char volume, const Vector3<float>* position = nullptr);
    void setupFmodSound();

    // ---- play rules -----------------------------------------------------------------------
    void score(int points);
    void addBot();
    void clearBots();
    // The radius in cells the EMP key blasts with.
    static constexpr int EMP_RADIUS = 8;
    void bomb(const Vector3<int>& cell, int radius);
    void addExplosion(const Vector3<float>& position);
    void applyColorScheme(const std::string& which);
    // The banner reads in the HUD colour over any background; its alpha stays its fade's.
    void tintBanner();
    // The background flash: held in the flash colour for half a second, then faded to colour.
    void setupNukeBackgroundGradient(RGBA<float> colour);
    void applyGameSpeed(const std::string& which);

    // ---- set-ups --------------------------------------------------------------------------
    void setupColorSchemes();
    void setupSpeeds();
    void setupTrickLibrary();
    void setupCollectables();
    void setupBots();
    void setupScoreTables();
    void setupSpeeding();
    void setupCubeMap();

    // ---- menus ----------------------------------------------------------------------------
    void menuSetup();
    void setCurrentMenu(Stelkor::SimpleMenu* menu);
    // The bottom bar grows or shrinks to hold the menu.
    void fitBottomBarTo(Stelkor::SimpleMenu& menu);
    void defaultMenuAction();
    static void _menucallback_quit(const std::string& item, const std::string& value, void* game);
    static void _menucallback_quitCurrentGame(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineDefaults(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyLeft(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyRight(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyUp(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyDown(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyBoost(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyFire(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyNuke(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyPause(const std::string& item, const std::string& value, void* game);
    static void _menucallback_redefineKeyMouselook(const std::string& item, const std::string& value, void* game);
    static void _menucallback_resumeGame(const std::string& item, const std::string& value, void* game);
    static void _menucallback_startGame(const std::string& item, const std::string& value, void* game);
    static void _menucallback_trainTrick(const std::string& item, const std::string& value, void* game);
    static void _menucallback_viewScores(const std::string& item, const std::string& value, void* game);
    static void _menucallback_credits(const std::string& item, const std::string& value, void* game);
    // Setting callbacks: each sets its member from the value text and saves the setting.
    static void _menucallback_cockpitType(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displayMode(const std::string& item, const std::string& value, void* game);
    static void _menucallback_AdjustFov(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displayChaserNames(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displayChaserTypes(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displayChaserHitpoints(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displayChaserBoundingBoxes(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displayDestroyedChaserList(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displaySurroundDetector(const std::string& item, const std::string& value, void* game);
    static void _menucallback_displayFps(const std::string& item, const std::string& value, void* game);
    static void _menucallback_trailReflection(const std::string& item, const std::string& value, void* game);
    static void _menucallback_debrisParticleDensity(const std::string& item, const std::string& value, void* game);
    static void _menucallback_effectsParticleDensity(const std::string& item, const std::string& value, void* game);
    static void _menucallback_colorScheme(const std::string& item, const std::string& value, void* game);
    static void _menucallback_gameSpeed(const std::string& item, const std::string& value, void* game);
    static void _menucallback_invertMouse(const std::string& item, const std::string& value, void* game);
    static void _menucallback_mouseSensitivity(const std::string& item, const std::string& value, void* game);
    static void _menucallback_aimingMode(const std::string& item, const std::string& value, void* game);
    static void _menucallback_masterVolume(const std::string& item, const std::string& value, void* game);
    static void _menucallback_effectsVolume(const std::string& item, const std::string& value, void* game);
    static void _menucallback_musicVolume(const std::string& item, const std::string& value, void* game);
    static void _menucallback_voiceVolume(const std::string& item, const std::string& value, void* game);
    // Puts a short line ("SETTINGS NOT SAVED") at the top of the menu screens for a few
    // seconds (game/notice.h); the play screen does not show it.
    void showNotice(const std::string& line);
    // The notice, at the top centre of the screen in the game's font and HUD colour.
    void drawNotice();

    // ---- drawing --------------------------------------------------------------------------
    void initCornerCubeVertices();
    // A turn's rounded trail corner swept from 0 to angle radians, in the current modelview:
    // colorA on the faces along local y, colorB on those along local x. DIR_NONE draws
    // nothing. Leaves front faces counter-clockwise.
    void drawCornerCube(float angle, Player::direction dir, const RGBA<float>& colorA, const RGBA<float>& colorB);
    // The corner of a chaser's pending turn, grown with its way through the cell, in its model
    // frame; nothing once the turn is taken. Leaves texturing and face culling on, polygons filled.
    void drawCornerCube(Bot& bot);
    // The whole corner of an illustration cell, shaded from startColor to endColor along the
    // turn. Leaves face culling on.
    void drawCornerCubeTrick(Player::direction dir, const RGBA<float>& capColor, const RGBA<float>& startColor,
                             const RGBA<float>& endColor);
    // The cockpit dials, in the order the play frame draws them.
    void drawScore();
    void drawShields();
    void drawAmmo();
    void drawBombs();
    void drawDensity();
    void drawChasers();
    void drawWave();
    // The named trick ("SLICK LEFT"), found first among the obstacle tricks, then in the
    // library; a name neither holds draws nothing at all.
    void drawTrickIllustrationByName(const std::string& name, const Vector2<float>& pos, const Vector2<float>& size,
                                     RGBA<float> color, bool fill);
    // The trick's path, corners, arrow and obstacles seen from above at a slant, inside the
    // window rectangle from pos (lower left) over size, on a fill of background when asked;
    // the depth buffer is cleared inside the rectangle. A null trick draws only the fill, a
    // size of 0 or below nothing. All GL state it changes is restored.
    void drawTrickIllustration(Trick* trick, const Vector2<float>& pos, const Vector2<float>& size,
                               RGBA<float> background, bool fillBackground);
    // The illustration's 3D part, in the state drawTrickIllustration sets: camera, path, arrow
    // and obstacles.
    void drawTrickPath(Trick& trick, float aspect);

    // ---- members, in construction order ---------------------------------------------------

    // State machine and timing.
    int _state = STATE_NONE;
    int _previousState = STATE_NONE;
    double _stateTime = 0.0;
    double _gameOverDuration = 10.0;
    double _idleTime = 0.0;

    // One of the CAMERA_ modes of game/craftframe.h.
    int _cameraMode = CAMERA_FIRST_PERSON;
    float _cameraOrbitSpeed = 0.5f;
    float _cameraOrbitAngle = 0.0f;

    // Chasers and the HUD dials.
    RandWeighted<botType> _botTypeGenerator;
    int _botsDestroyedThisFrame = 0;
    int _botsAddedThisFrame = 0;
    int _liveBotCount = 0;
    double _botArrivalDelay = 1.5;
    int _waveBotCount = 0;
    RoundCounter _scoreDial{40.0f, 50.0f, 30};
    RoundCounter _ammoDial{24.0f, 30.0f, 30};
    RoundCounter _shieldsDial{24.0f, 30.0f, 30};
    RoundCounter _densityDial{10.0f, 10.0f, 25};
    RoundCounter _bombsDial{16.0f, 20.0f, 30};
    RoundCounter _chasersDial{10.0f, 10.0f, 25};
    RoundCounter _waveDial{10.0f, 10.0f, 25};
    bool _cockpitHud = true;

    // World and player.
    OcTree _octree{5};
    Player _player{"player", Vector3<int>(2, 2, 2), Vector3<int>::Z_MINUS, Vector3<int>::Y_PLUS, 4.0f, _octree};
    std::map<std::string, GameSpeed> _gameSpeeds;
    std::map<std::string, GameSpeed>::iterator _currentGameSpeed = _gameSpeeds.end();
    float _timeStretch = 1.0f;
    std::list<Bot*> _bots;
    // Kept as a vector so that refilling it every frame reuses its capacity.
    std::vector<Bot*> _botInfoList;
    std::list<Bot*> _deadBots;
    Bot* _aimedBot = nullptr;
    std::array<Vector3<float>, 4> _aimedBotGeometry{};

    // 2D drawing and fonts.
    Stelkor::Renderer2D _renderer;
    std::unique_ptr<Stelkor::Font> _font;
    std::unique_ptr<Stelkor::Font> _fontSmall;
    std::unique_ptr<Stelkor::Font> _fontBig;

    // Camera and aiming.
    Vector3<float> _aimRayOrigin;
    Vector3<float> _aimRayDirection;
    Player* _cameraSubject = &_player;
    SimpleCamera _camera;
    float _bounceOffset = 0.0f;
    Matrix _viewMatrix;
    Matrix _objectViewMatrix;
    int _cursorX = 0;
    int _cursorY = 0;
    bool _mouselookHeld = false;
    float _mouselookYaw = 0.0f;
    float _mouselookPitch = 0.0f;
    float _mouselookReturnRate = 0.00001f;
    bool _invertMouse = true;
    float _mouseSensitivity = 1.0f;
    bool _mouselookEnabled = true;
    bool _pointAndClickEnabled = true;
    float _fov = 90.0f;
    float _fovMin = 45.0f;
    float _fovMax = 100.0f;
    // Kept as a vector so that the aim ray of every frame reuses its capacity.
    std::vector<OcTree::NodeHitInfo> _aimHits;
    Shaker _shaker{55.0f};

    // Resource managers and the meshes they own.
    Stelkor::BitmapManager _bitmapManager{_renderer};
    MeshManager _meshManager;
    MeshChromeManager _meshChromeManager;
    MeshChrome* _playerMesh = nullptr;
    Mesh* _flareMesh = nullptr;
    Mesh* _gunMesh = nullptr;
    Mesh* _cubeBevelMesh = nullptr;
    Mesh* _explosionRingMesh = nullptr;
    Mesh* _bulletMesh = nullptr;
    std::array<MeshChrome*, 3> _rockerMeshes{};
    MeshChrome* _chaserMesh = nullptr;
    Mesh* _scorePickupMesh = nullptr;
    Mesh* _shieldsPickupMesh = nullptr;
    Mesh* _ammoPickupMesh = nullptr;
    Mesh* _empPickupMesh = nullptr;

    // Colours and background.
    RGBA<float> _fogColor{0.5f, 0.5f, 0.6f, 1.0f};
    RGBA<float> _backgroundColor{1.0f, 0.0f, 0.0f, 1.0f};
    RGBA<float> _hudColor{0.0f, 0.0f, 0.0f, 1.0f};
    RGBA<float> _hitColor{1.0f, 0.0f, 0.0f, 1.0f};
    Gradient<RGBA<float> > _backgroundGradient{0.0f, 10.0f};
    std::map<std::string, ColorScheme> _colorSchemes;
    std::map<std::string, ColorScheme>::iterator _currentColorScheme = _colorSchemes.end();
    float _trailReflectionColorScale = 0.5f;
    double _backgroundFogStop = 1.5;
    double _backgroundTime = 1.5;
    bool _trailReflection = true;

    // Score and playfield fill.
    std::uint32_t _score = 0;
    std::uint32_t _previousScore = 0;
    float _speedLevel = 1.0f;
    int _speedLevelRounded = 1;
    int _playerSurroundCount = 0;
    int _playerSurround = 0;
    int _density = 0;
    int _maxCubes;

    // Files and settings.
    MultiScoreTable _scoreTables{20, 32};
    int _attractTablesLeft = 0;
    std::string _scoresPath = "data/scores";
    Settings _settings;
    std::string _settingsPath = "data/vasp.conf";
    // What the last save of that file told, so only the first of a run of failures, or of
    // saves into a folder that did not sync, is told.
    enum class SaveTold { Nothing, Failure, Unsynced };
    SaveTold _settingsSaveTold = SaveTold::Nothing;
    SaveTold _scoresSaveTold = SaveTold::Nothing;
    // The regular file that was there at the start but did not read whole: kept before a save,
    // while it is still there.
    std::optional<FileIdentity> _settingsDamaged;
    std::optional<FileIdentity> _scoresDamaged;
    Settings _colorSettings;
    std::string _colorSettingsPath = "data/color";
    Settings _speedSettings;
    std::string _speedSettingsPath = "data/speed";
    std::unique_ptr<Stelkor::Image> _titleLogoImage;
    std::unique_ptr<Stelkor::Sprite> _titleLogo;
    std::unique_ptr<Stelkor::Image> _smallArrowImage;
    std::unique_ptr<Stelkor::Sprite> _smallArrow;

    // Menus and keys.
    Stelkor::TextSprite _menuItemPrototype;
    Stelkor::TextSprite _menuItemHighlightPrototype;
    Stelkor::SimpleMenu* _currentMenu = nullptr;
    std::unique_ptr<Stelkor::SimpleMenu> _menuIngame;
    std::unique_ptr<Stelkor::SimpleMenu> _menuMain;
    std::unique_ptr<Stelkor::SimpleMenu> _menuSettings;
    std::unique_ptr<Stelkor::SimpleMenu> _menuControls;
    std::unique_ptr<Stelkor::SimpleMenu> _menuDisplay;
    std::unique_ptr<Stelkor::SimpleMenu> _menuSound;
    std::unique_ptr<Stelkor::SimpleMenu> _menuRedefineKeys;
    std::unique_ptr<Stelkor::SimpleMenu> _menuTricks;
    std::list<std::unique_ptr<Stelkor::SimpleMenu> > _trickSubmenus;
    Stelkor::SimpleMenu* _trickTrainerReturnMenu = nullptr;
    Stelkor::TextSprite _menuDescription;
    Input _input;
    unsigned int _wmKeyDownDI = 0;
    unsigned int _wmKeyUpDI = 0;
    unsigned int _wmMouseMoveDI = 0;
    unsigned int _keyLeft = 0;
    unsigned int _keyRight = 0;
    unsigned int _keyUp = 0;
    unsigned int _keyDown = 0;
    unsigned int _keyBoost = 0;
    unsigned int _keyFire = 0;
    unsigned int _keyNuke = 0;
    unsigned int _keyPause = 0;
    unsigned int _keyMouselook = 0;
    unsigned int* _keyBeingRedefined = nullptr;
    std::array<std::string, 9> _keyNames;
    std::string _pressAnyKeyText = "(press any key)";
    // The curved trail corner piece: rows are the vertices and normals of the left, right,
    // up and down turns, in that order.
    std::array<std::array<Vector3<float>, 6>, 8> _cornerCubeVertices{};

    // Screen furniture and display flags.
    BottomBar _bottomBar{_renderer};
    Message _message{_renderer};
    Notice _notice;
    std::unique_ptr<Stelkor::TimelineSprite> _pausedSprite;
    std::unique_ptr<Stelkor::Image> _pausedImage;
    std::unique_ptr<Stelkor::Image> _adviceArrowImage;
    float _barMenuMinHeight;
    float _barPlayHeight = 20.0f;
    float _barSpeed = 600.0f;
    float _menuX = 220.0f;
    float _menuBarGap = 20.0f;
    float _barMenuMargin = 60.0f;
    bool _cursorVisible = true;
    bool _displayChaserNames = true;
    bool _displayChaserTypes = true;
    bool _displayChaserHitpoints = true;
    bool _displayChaserBoundingBoxes = true;
    bool _displayDestroyedChaserList = true;
    bool _displayFps = true;
    bool _displaySurroundDetector = false;
    std::unique_ptr<Stelkor::Image> _aimCursorImage;
    std::unique_ptr<Stelkor::Sprite> _aimCursorSprite;
    std::unique_ptr<Stelkor::Image> _titleLogoSmallImage;
    std::unique_ptr<Stelkor::Sprite> _titleLogoSmall;
    std::unique_ptr<Stelkor::Image> _loadingArrowImage;
    std::unique_ptr<Stelkor::Sprite> _loadingArrow;
    std::unique_ptr<Stelkor::Image> _highScoresTitleImage;
    std::unique_ptr<Stelkor::Sprite> _highScoresTitle;
    std::unique_ptr<Stelkor::TextSprite> _overlayText;
    std::queue<std::string> _overlayTextQueue;
    std::unique_ptr<BumpNoise> _bumpNoise;

    // Sound.
    std::map<std::string, FSOUND_SAMPLE*> _soundSamples;
    unsigned char _masterVolume = 128;
    unsigned char _effectsVolume = 128;
    unsigned char _musicVolume = 128;
    unsigned char _voiceVolume = 128;

    // Effects, sky and gun.
    std::list<Explosion*> _explosions;
    BulletSystem _bulletSystem{30};
    // Where they cover enough of the screen, the explosions' big sparks are gathered here at
    // half resolution and added to the picture.
    SparkLayer _sparkLayer;
    std::unique_ptr<Starfield> _starfield;
    int _debrisParticleDensity = 4;
    int _starsPerDensityStep = 100;
    float _effectsParticleDensity = 0.5f;
    SkyBox _skyBox;
    Gun _gun;

    // Scoring.
    int _startAmmo = 100;
    int _ammoBonusEvery = 2500;
    int _ammoPerBonus = 0;
    float _gunFireDelayMax = 0.1f;
    float _shotMeltRadius = 1.0f;
    int _maxAmmo = 999;
    int _startShields = 50;
    int _shieldBonusEvery = 1000;
    int _shieldsPerBonus = 0;
    int _maxShields = 50;
    int _startBombs = 3;
    int _bombs = 3;
    int _maxBombs = 9;
    int _stage = 0;
    int _waveQuotaBase = 10000;
    int _waveQuota = 10000;
    int _waveQuotaStep = 5000;
    int _pointsToGo = 10000;
    int _wavesPerRound = 10;
    int _pendingWaves = 0;
    int _botLevel = 0;

    // Pick-ups, play flags and tricks.
    Collectable _collectable;
    RandWeighted<CollectableType> _collectableTypeGenerator;
    bool _playerActive = true;
    bool _demoMode = false;
    bool _paused = false;
    TrickLibrary _trickLibrary;
    TrickLibrary _obstacleTrickLibrary;
    std::list<Trick> _comboTricks;
    std::vector<int> _comboScores;
    int _comboCount = 0;
    double _comboWindow = 5.0;
    double _comboTime = 0.0;
    TrickTrainer _trickTrainer{_octree};
    TrickTrainerAdviceHud _trickTrainerAdviceHud;
    Trick* _trainedTrick = nullptr;
    bool _trickDone = false;
    bool _trickSucceeded = false;
    bool _trickIntroPanel = false;
    bool _trickResultPanel = false;
    CubeDraw _cubeDraw{_octree};
    RoundCounter _comboDial{30.0f, 60.0f, 30};

    // Boost.
    double _boostTime = 0.0;
    double _speedingDecay = 0.0;
    int _speedingMaxLevel = 5;
    std::vector<float> _speedingRates = std::vector<float>(5, 0.0f);
    RoundCounter _speedingDial{30.0f, 50.0f, 30};

    // Names, quitting, loading and the rest.
    NameGenerator _nameGenerator{"data/english_mf.txt", 1};
    bool _quit = false;
    // Set by the loader thread as its last act; the main thread reads nothing the loader fills
    // before it sees the flag.
    std::atomic<bool> _loaded{false};
    std::stringstream _loadingLog{std::ios::in | std::ios::out};
    std::mutex _loadingLogMutex;
    std::thread _loaderThread;
    // A loader that failed keeps its error here and raises the flag instead of _loaded; the
    // loading frame throws the error again on the main thread.
    std::atomic<bool> _loadFailed{false};
    std::exception_ptr _loadError;
    // Asks a running loader to stop between two resources, so the game can go during loading.
    std::atomic<bool> _stopLoading{false};
    double _playClock = 0.0;
    double _stageClock = 0.0;
    // Start-up has told of a full screen it could not have; the settings are applied twice.
    bool _fullscreenFallbackReported = false;
    std::unique_ptr<Stelkor::MenuSlider> _menuSlider;
    std::unique_ptr<Stelkor::Sprite> _sliderBarSprite;
    std::unique_ptr<Stelkor::Sprite> _sliderHandleSprite;
    std::unique_ptr<Stelkor::Image> _sliderBarImage;
    std::unique_ptr<Stelkor::Image> _sliderHandleImage;
    int _humChannel = -1;
    int _musicChannel = -1;
    Credits _credits{_renderer};
    std::unique_ptr<Stelkor::Image> _splashLumiskImage;
    std::unique_ptr<Stelkor::Image> _splashZindleImage;
    std::unique_ptr<Stelkor::TimelineSprite> _splashZindleSprite;
    std::unique_ptr<Stelkor::Image> _splashQuendleImage;
    std::unique_ptr<Stelkor::TimelineSprite> _splashQuendleSprite;
    std::unique_ptr<Stelkor::Image> _makerLogoSmallImage;
    std::unique_ptr<Stelkor::Sprite> _makerLogoSmall;
    std::unique_ptr<Stelkor::Image> _partnerLogoSmallImage;
    std::unique_ptr<Stelkor::Sprite> _partnerLogoSmall;

    // ---- the play frame -------------------------------------------------------------------

    // The world's step of one frame, without GL: clocks, boost and engine hum, the gun and
    // its shot, shake and mouselook easing, chasers, the craft with its new-cell rules, the
    // camera's roll and placement, and the effects. False when a crash ended the game.
    bool stepWorld();
    // Stage arrival of chasers and the demo's own stage cycle.
    void stepStages();
    // The frame's GL: the 3D view, the world in its copies, then the HUD.
    void drawWorld();
    void drawHud();
    // The listener stands where the camera's subject flies.
    void placeListener();
    // Where the craft and every chaser are drawn from, rebuilt each frame.
    void updateCraftMatrices();

    // Rules the play frame calls at their place in the step: the shot and the aim ray, chaser
    // respawn and cut-off, and the HUD's overlays.
    void resolveShot();
    void beginAimRay();
    void aimRayAtCopy(const Vector3<float>& copyOffset);
    void aimRayAtChaser(Bot& bot, const Vector3<float>& copyOffset);
    void endAimRay();
    void addShotTracer();
    void respawnBot(Bot* bot);
    void cutOffChasers();
    void drawBotInfo();
    void drawDeadBots();
    void drawDebugInfo();
    void drawSpeeding();
    void drawCombo();
    void drawBarHud();
    // Places the text bar's columns for the font _font: each as wide as the longest text its
    // counter shows in a game. Run once the fonts are made.
    void placeBarHud();

    // ---- menu settings and HUD texts ------------------------------------------------------

    // Every chaser's engine hum at this volume.
    void setBotHumVolume(unsigned char volume);
    // The overlays' text of the moment, kept so that its buffer serves every frame.
    std::string _hudText;
    // The text bar's columns, placed by placeBarHud().
    std::array<BarHudColumn, 7> _barHudColumns{};

    // ---- chasers, the EMP blast, explosions and the shot --------------------------------

    enum BotDeathType { DEATH_SHOT = 0, DEATH_CUTOFF = 1, DEATH_EMP = 2 };

    // Brings back the dead chaser at it (an iterator into _deadBots); returns the element
    // after it. The end changes nothing.
    std::list<Bot*>::iterator respawnBot(std::list<Bot*>::iterator& it);
    void respawnAllBots();
    // Kills the chaser with its pick-up, points, announcement and explosion; it stays in
    // _bots, dead. Returns the element of _bots after it (the end when it is not listed). A
    // chaser already dead only gets the next element.
    std::list<Bot*>::iterator destroyBot(Bot* bot, BotDeathType how);
    // Of the copies of to in the wrapped playfield, the one nearest to from.
    Vector3<float> nearestWrappedPoint(const Vector3<float>& from, const Vector3<float>& to) const;
    void muteBotHum(bool mute);
    void clearExplosions();

    // The shot's effects: damage and a bullet hole on the aimed chaser, or the nearest cube
    // of the aim ray melted with its neighbours.
    void shootChaser(Bot& bot);
    void shootCell(const OcTree::NodeHitInfo& hit);
    // A shot's sparks at the point; the oldest go while more than eight burn.
    void addShotExplosion(const ParticleSet* sets, int count, const Vector3<float>& at);
    // Starts this frame's aim along the world ray; the copies and chasers are then tested
    // against it one by one, and endAimRay() settles what is aimed at.
    void aimAlong(const Ray3<float>& ray);
    // Puts the aim cursor, where there is one, at the centre of the play view above a bottom
    // bar of that height.
    void centreAimCursor(float barHeight);

    // Where the aim ray met what it aims at, in the world as drawn.
    Vector3<float> _aimPoint;
    // Squared distance from the aim ray's origin to the aimed chaser's hit.
    float _aimedBotDistanceSq = 0.0f;
    // A shot was resolved in this frame's step: the drawing adds its tracer.
    bool _shotTracerDue = false;

    // The playfield is drawn shifted by this, so that a craft's position is its cell's centre.
    Vector3<float> _playfieldOffset{-0.5f, -0.5f, -0.5f};
    // The engine hum's pitch and loudness ramp with the boost.
    float _playerHumFreq = 44100.0f;
    float _playerHumVolumeMultiplier = 0.8f;
    // Wobble of the view after a crash, and the slow bob of the follow cameras.
    float _cameraRollPhase = 0.0f;
    float _cameraBobPhase = 0.0f;

    // ---- counters, tricks and pick-ups ----------------------------------------------------

    // The craft's shield points, truncated to whole points, plus delta, at most _maxShields;
    // no lower bound (running out is the play frame's business).
    void shields(int delta);
    // The gun's ammunition plus delta, at most _maxAmmo; no lower bound.
    void ammo(int delta);
    // The EMP bombs plus delta, kept within 0 and _maxBombs.
    void bombs(int delta);
    // A pick-up of a kind drawn by weight in the cell (wrapped), replacing one already there;
    // a draw of no kind places nothing.
    void addCollectable(const Vector3<int>& cell);
    // Grants, announces and removes the pick-up of the cell (wrapped); a cell without one is
    // left as it is, in silence.
    void collectCollectable(const Vector3<int>& cell);
    // In play, a trick the craft's track has just completed is announced, scored (times the
    // speed level) and joins the running combo if its window is still open; the track is
    // cleared so that its steps cannot match again. Run once per new cell.
    void checkTricks();
    // Runs the combo's clock on the craft's time; in play a combo ends once its window has
    // run out or its tenth trick is in, scored only if it holds two tricks or more.
    void stepComboClock(double playerStep);
    // Scores, rates and rewards the running combo of two tricks or more and queues its banner.
    void scoreCombo();
    // The trick a craft's track matched, reused for every new cell so that a cell without a
    // trick copies nothing.
    Trick _matchedTrick;

    // ---- the trick trainer screen ---------------------------------------------------------

    // The trained trick's name and the caption over its picture, rebuilt every frame in the
    // same storage.
    std::string _trickTrainerTitle;
    std::string _trickTrainerCaption;
    // The panel of the variant last shown in a trick's menu, as printed, and that variant.
    std::string _trickPanelText;
    std::string _trickPanelVariant;

    // ---- game life cycle ------------------------------------------------------------------

    // The end of the game-over screen, by a key or by its time-out: the score entry when the
    // score makes the applied speed's table, else the main menu.
    void leaveGameOver();
    // The window key of the press that left the game-over screen for the score entry, 0 for
    // none: its own key-down message comes after it and must not be typed into the name.
    int _keyLeavingGameOver = 0;
    // Where the wreck's explosion is heard.
    Vector3<float> _gameOverSoundPosition;

private:
    // The numbered schemes of the colour file; unknown colour names give the black triplet.
    void readUserColorSchemes(unsigned char black);

protected:
    // The loader thread's work, in load order; each group appends its progress line. Reachable
    // from derived classes, so that each group can be timed on its own.
    void loadMeshes();
    void loadSoundGroup();
    void loadBitmaps();
    void loadSkyBox();

private:
    // The jingle of the last splash screen, loaded on the main thread before the loader runs.
    void loadIntroSample();
    void appendLoadingLog(const std::string& text);
    // The GL texture of a cached bitmap.
    int textureOf(const std::string& bitmap);
    // Throws when the game is being torn down, so the loader stops between two resources.
    void checkLoadingGoesOn() const;
    // An image of the named bitmap; with cache its texture and display list are made at once
    // (main thread only), without it no GL call is made.
    std::unique_ptr<Stelkor::Image> cutImage(const std::string& bitmap, int x0, int y0, int x1, int y1, int pivotX,
                                             int pivotY, bool cache);
    // Steps of the play frame.
    void stepBoost(double playerStep);
    void stepMouselook(double worldStep);
    // Sub-steps of the frame in which no craft, chaser or the player's, moves on by more than
    // one cell; a frame only a stall makes gets fewer.
    int subStepsOf(double worldStep, double playerStep) const;
    // The chasers and the craft with their new-cell rules, in sub-steps of at most a cell;
    // false when a crash ended the game.
    bool stepMovers(double worldStep, double playerStep);
    void stepChasers(double worldStep);
    bool stepCraft(double playerStep);
    void stepTrickTrainer(bool newCell);
    void judgeTrainedTrick(bool succeeded);
    bool enterNewCell();
    bool crash(const Vector3<int>& cell);
    void stepCamera(double worldStep);
    void moveEffectsWithWrap(const Vector3<float>& subjectBefore);
    void fillStage();
    void drawCopies();
    void drawChasersOfCopy(const Vector3<float>& copy);
    void drawStarfield();
    void drawBanner(double worldStep);
    void drawSurroundDetector();

    // Construction after the members: dials, particle pool, sound, settings files, fixed GL
    // state and camera.
    void construct();
    // Deletes what the chaser and explosion lists still hold.
    void deleteBotsAndExplosions();
};

}  // namespace Vortel

#endif
