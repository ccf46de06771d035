// The play frame: framePlay() steps and draws the live world for every state that shows it
// (play, game over, score entry, the trainer, the menus, the score and credits screens)
// before that state draws its own screen. In this order: the world's step and its sub-steps,
// tricks and combos, stages, the sound listener, the drawing of the world and the HUD, and
// the shot and the aim ray.
#include <GL/gl.h>

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <list>
#include <numeric>
#include <sstream>

#include "actors/bot.h"
#include "engine2d/image.h"
#include "engine2d/sprite.h"
#include "engine2d/textsprite.h"
#include "engine2d/timelinesprite.h"
#include "game/combo.h"
#include "game/craftframe.h"
#include "game/game.h"
#include "game/particleset.h"
#include "platform/geometry.h"
#include "platform/math.h"
#include "platform/pickraygenerator.h"
#include "world/bumpnoise.h"
#include "world/particlebatch.h"
#include "world/explosion.h"
#include "world/mesh.h"
#include "world/meshchrome.h"
#include "world/starfield.h"

namespace Vortel {

namespace {

// Engine hum: pitch in Hz and loudness factor at rest and at full boost, and how fast they
// climb while the boost is held and fall once it is let go, per second of the craft's time.
constexpr float HUM_FREQ_REST = 44100.0f;
constexpr float HUM_FREQ_BOOST = 80000.0f;
constexpr float HUM_FREQ_RISE = 18000.0f;
constexpr float HUM_FREQ_FALL = 60000.0f;
constexpr float HUM_VOLUME_REST = 0.8f;
constexpr float HUM_VOLUME_BOOST = 2.0f;
constexpr float HUM_VOLUME_RISE = 0.35f;
constexpr float HUM_VOLUME_FALL = 1.5f;

// Sub-steps of one frame at most: 37 seconds of the fastest craft, far beyond the quarter
// second the main loop hands at most; past it the movers may skip cells rather than the game
// stall for as long again.
constexpr double MAX_SUB_STEPS = 1000.0;

// A crash shakes the view by this many degrees of roll, easing off at ROLL_DECAY a second.
constexpr float CRASH_ROLL = 11.0f;
constexpr float ROLL_DECAY = 30.0f;
constexpr float ROLL_PHASE_SPEED = 45.0f;
constexpr float BOB_PHASE_SPEED = 5.0f;
constexpr float BOB_CELLS = 0.1f;
constexpr float TWO_PI = 2.0f * TRUE_PI<float>;

// A combo ends at this many tricks, however much of its window is left.
constexpr int COMBO_MAX_TRICKS = 10;

// A crash that leaves the shields at exactly this many warns the player.
constexpr float LOW_SHIELDS = 4.0f;

// Cells the view may need on every side: the wrapped world shows in 3 x 3 x 3 copies.
constexpr int COPIES_PER_AXIS = 3;

Vector3<int> plus(const Vector3<int>& a, const Vector3<int>& b) { return grid::add(a, b); }

Vector3<float> plus(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.x + b.x, a.y + b.y, a.z + b.z);
}

int roundToInt(double v) { return static_cast<int>(std::lround(v)); }

// The solid cells a chaser clears where it flies: its own and the four beside, above and
// below it.
void meltAround(OcTree& field, const Bot& bot) {
    const Vector3<int> side = grid::cross(bot._forward, bot._up);
    const Vector3<int> cells[5] = {bot._cell, plus(bot._cell, side), plus(bot._cell, grid::negated(side)),
                                   plus(bot._cell, bot._up), plus(bot._cell, grid::negated(bot._up))};
    for (const Vector3<int>& c : cells) {
        if (isSolidKind(field.getTerminalNode(c)->count())) {
            field.setTerminalNode(c, OcTree::SET_MELT, 0);
        }
    }
}

// The look-at goes on top of what the modelview already holds (the shake, the recoil, the
// mouselook turn and the roll); the projection is the camera's own.
void lookThruOnto(const SimpleCamera& camera) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(camera.fov(), camera.aspect(), camera.nearClip(), camera.farClip());
    glMatrixMode(GL_MODELVIEW);
    const Vector3<float>& e = camera.pos();
    const Vector3<float>& t = camera.target();
    const Vector3<float>& u = camera.up();
    gluLookAt(e.x, e.y, e.z, t.x, t.y, t.z, u.x, u.y, u.z);
}

void setProjection(const SimpleCamera& camera) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(camera.fov(), camera.aspect(), camera.nearClip(), camera.farClip());
    glMatrixMode(GL_MODELVIEW);
}

void frustumOfCurrentView(float planes[6][4]) {
    double projection[16];
    double modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    GetFrustum(projection, modelview, planes);
}

// The window box spanned by two points of the current model frame.
Quib::AABB2<float> screenBoxOfModel() {
    double modelview[16];
    double projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    double ax = 0.0, ay = 0.0, az = 0.0, bx = 0.0, by = 0.0, bz = 0.0;
    gluProject(-1.0, -1.0, 0.0, modelview, projection, viewport, &ax, &ay, &az);
    gluProject(1.0, 1.0, 0.0, modelview, projection, viewport, &bx, &by, &bz);
    return Quib::AABB2<float>(static_cast<float>(std::min(ax, bx)), static_cast<float>(std::min(ay, by)),
                              static_cast<float>(std::max(ax, bx)), static_cast<float>(std::max(ay, by)));
}

void setMaterialAndLights() {
    const GLfloat specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 70.0f);
    const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    const GLfloat key[4] = {1.0f, 1.0f, 0.95f, 1.0f};
    const GLfloat fill[4] = {0.4f, 0.4f, 0.5f, 1.0f};
    const GLfloat keyDirection[4] = {0.5f, 1.0f, 0.3f, 0.0f};
    const GLfloat fillDirection[4] = {-0.5f, -0.3f, -1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, key);
    glLightfv(GL_LIGHT0, GL_POSITION, keyDirection);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, fill);
    glLightfv(GL_LIGHT1, GL_POSITION, fillDirection);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
}

// How many screens the explosions' big sparks cover, as the spark layer would take them, up
// to the point where gathering them pays whatever came before.
double bigSparkScreens(const std::list<Explosion*>& explosions, ParticleBatch& batch) {
    double screens = 0.0;
    for (const Explosion* explosion : explosions) {
        screens += batch.screensCovered(explosion->particles(), SparkLayer::SMALLEST);
        if (screens >= SparkLayer::WORTH_SCREENS) {
            break;
        }
    }
    return screens;
}

bool isOneOf(int state, std::initializer_list<int> states) {
    return std::find(states.begin(), states.end(), state) != states.end();
}

}  // namespace

bool Game::framePlay() {
    if (!stepWorld()) {
        return true;
    }
    drawWorld();
    drawHud();
    stepStages();
    placeListener();
    return true;
}

// ---- the world's step -------------------------------------------------------------------

bool Game::stepWorld() {
    _botsDestroyedThisFrame = 0;
    _botsAddedThisFrame = 0;

    const double worldStep = _paused ? 0.0 : _frameTime;
    const double playerStep = worldStep * static_cast<double>(_timeStretch);
    _playClock += worldStep;
    _stageClock += worldStep;
    _backgroundTime += worldStep;
    _density = roundToInt(static_cast<double>(_octree.root()->count()) * 100.0 / static_cast<double>(_maxCubes));

    stepBoost(playerStep);

    _gun.animate(worldStep);
    resolveShot();
    _shaker.animate(worldStep);
    stepMouselook(worldStep);

    const Vector3<float> subjectBefore = _cameraSubject->_pos;
    if (!_paused && !stepMovers(worldStep, playerStep)) {
        return false;
    }

    stepCamera(worldStep);
    moveEffectsWithWrap(subjectBefore);
    for (auto it = _explosions.begin(); it != _explosions.end();) {
        (*it)->animate(worldStep);
        if ((*it)->finished()) {
            delete *it;
            it = _explosions.erase(it);
        } else {
            ++it;
        }
    }
    _bulletSystem.animate(worldStep);
    if (_starfield) {
        _starfield->animate(worldStep);
    }
    return true;
}

void Game::stepBoost(double playerStep) {
    const float p = static_cast<float>(playerStep);
    if (!_player._boost) {
        _boostTime = 0.0;
        _speedLevel = std::max(1.0f, _speedLevel - p * static_cast<float>(_speedingDecay));
        _playerHumFreq = std::max(HUM_FREQ_REST, _playerHumFreq - p * HUM_FREQ_FALL);
        _playerHumVolumeMultiplier = std::max(HUM_VOLUME_REST, _playerHumVolumeMultiplier - p * HUM_VOLUME_FALL);
    } else {
        _boostTime += playerStep;
        const int rates = static_cast<int>(_speedingRates.size());
        const int level = std::clamp(_speedLevelRounded - 1, 0, rates - 1);
        const float rate = rates > 0 ? _speedingRates[static_cast<std::size_t>(level)] : 0.0f;
        _speedLevel = std::min(static_cast<float>(_speedingMaxLevel), _speedLevel + p * rate);
        _playerHumFreq = std::min(HUM_FREQ_BOOST, _playerHumFreq + p * HUM_FREQ_RISE);
        _playerHumVolumeMultiplier = std::min(HUM_VOLUME_BOOST, _playerHumVolumeMultiplier + p * HUM_VOLUME_RISE);
    }
    _speedLevelRounded = std::min(roundToInt(_speedLevel), _speedingMaxLevel);
    FSOUND_SetFrequency(_humChannel, roundToInt(_playerHumFreq));
    FSOUND_SetVolume(_humChannel, _effectsVolume);
}

void Game::stepMouselook(double worldStep) {
    if (!_mouselookHeld) {
        if (std::fabs(_mouselookYaw) > 0.1f || std::fabs(_mouselookPitch) > 0.1f) {
            const float easing = static_cast<float>(std::pow(static_cast<double>(_mouselookReturnRate), worldStep));
            _mouselookYaw *= easing;
            _mouselookPitch *= easing;
        }
    } else {
        centreAimCursor(_bottomBar.height());
    }
}

int Game::subStepsOf(double worldStep, double playerStep) const {
    double cells = _playerActive ? playerStep * static_cast<double>(_player._velocity) : 0.0;
    for (const Bot* bot : _bots) {
        const double botCells = worldStep * static_cast<double>(bot->_velocity) *
                                static_cast<double>(bot->_velocityMult) * bot->_timeStretchFactor;
        cells = std::max(cells, botCells);
    }
    return static_cast<int>(std::min(std::max(1.0, std::ceil(cells)), MAX_SUB_STEPS));
}

bool Game::stepMovers(double worldStep, double playerStep) {
    // A craft moved on by more than a cell at once would pass over cells without its trail,
    // its crash or its pick-up there: a long frame is flown as that many short ones.
    const int subSteps = subStepsOf(worldStep, playerStep);
    const double worldSubStep = worldStep / subSteps;
    const double playerSubStep = playerStep / subSteps;
    for (int i = 0; i < subSteps; ++i) {
        stepChasers(worldSubStep);
        if (_playerActive && !stepCraft(playerSubStep)) {
            return false;
        }
        // The trainer's verdict stops the world where it fell.
        if (_paused) {
            break;
        }
    }
    return true;
}

void Game::stepChasers(double worldStep) {
    for (Bot* bot : _bots) {
        bot->think(worldStep);
        bot->update(worldStep);
        if (bot->dead()) {
            continue;
        }
        if (bot->deadBefore()) {
            respawnBot(bot);
        }
        if (bot->_cell != bot->_updateStartCell) {
            _octree.setTerminalNode(bot->_previousCell, OcTree::CELL_SOLID_2, bot->_trailColor);
            meltAround(_octree, *bot);
        }
    }
    if (_state == STATE_PLAY) {
        cutOffChasers();
    }
}

void Game::cutOffChasers() {
    // A chaser flying level with the craft, right beside it across the heading, has run into
    // the craft's trail as it is laid.
    const int size = _octree.size();
    const Vector3<int> craft = grid::wrapCell(_player._cell, size);
    const Vector3<int> side = grid::cross(_player._forward, _player._up);
    const Vector3<int> across[4] = {side, grid::negated(side), _player._up, grid::negated(_player._up)};
    const Vector3<int> back = grid::negated(_player._forward);
    for (std::list<Bot*>::iterator it = _bots.begin(); it != _bots.end();) {
        const Bot& bot = **it;
        const bool level = bot._forward == _player._forward || bot._forward == back;
        const bool beside = std::any_of(std::begin(across), std::end(across), [&](const Vector3<int>& step) {
            return grid::wrapCell(plus(bot._cell, step), size) == craft;
        });
        if (!bot.dead() && level && beside) {
            it = destroyBot(*it, DEATH_CUTOFF);
        } else {
            ++it;
        }
    }
}

bool Game::stepCraft(double playerStep) {
    _player.update(playerStep);
    const bool newCell = _player._cell != _player._updateStartCell;
    if (_state == STATE_TRICK_TRAINER && _trainedTrick != nullptr) {
        stepTrickTrainer(newCell);
    }
    if (newCell && !enterNewCell()) {
        return false;
    }
    stepComboClock(playerStep);
    return true;
}

void Game::stepTrickTrainer(bool newCell) {
    // The trainer follows recorded steps, and a step is recorded as a cell is left: a trick
    // begins on entering the cell it starts from, and is given that same step first.
    if (!newCell || _player.movementTrack().steps().empty()) {
        return;
    }
    const bool begins = !_trickTrainer.doingTrick() && _trickTrainer.trickPossible(_player, *_trainedTrick);
    if (begins) {
        _trickTrainer.trick(*_trainedTrick);
        _trickTrainer.beginTrick();
        _message.clear();
        _message._text << " BEGIN *" << _trainedTrick->name() << " " << _trainedTrick->subname() << "*\n";
        _message.showText(1.0, 1.0);
        _trickTrainerAdviceHud.trick(*_trainedTrick);
        _trickTrainerAdviceHud.beginTrick();
    }
    if (!_trickTrainer.doingTrick()) {
        return;
    }
    _trickTrainer.step(_player.movementTrack().steps().front());
    const int advice = _trickTrainer.advice();
    static const char* const signals[4] = {"signal_left", "signal_right", "signal_up", "signal_down"};
    const char* text = nullptr;
    switch (advice) {
        case TrickTrainer::ADVICE_LEFT:
        case TrickTrainer::ADVICE_RIGHT:
        case TrickTrainer::ADVICE_UP:
        case TrickTrainer::ADVICE_DOWN: playSound(signals[advice], _effectsVolume); break;
        case TrickTrainer::ADVICE_STRAIGHT:
            // Flying on clears the last word, but not the trick's name as it begins.
            text = begins ? nullptr : " ";
            break;
        case TrickTrainer::ADVICE_FAILED:
            text = "FAILED\n";
            _trickTrainerAdviceHud.endTrick();
            if (!_trickDone) {
                judgeTrainedTrick(false);
                playSound("trick_failed", _effectsVolume);
            }
            break;
        case TrickTrainer::ADVICE_SUCCESS:
            text = "SUCCESS\n";
            playSound("trick", _effectsVolume);
            if (!_trickDone) {
                judgeTrainedTrick(true);
            }
            break;
        default: break;
    }
    if (advice != TrickTrainer::ADVICE_FAILED) {
        _trickTrainerAdviceHud.step();
    }
    if (text != nullptr) {
        _message.clear();
        _message._text << text;
        _message.showText(1.0, 1.0);
    }
}

void Game::judgeTrainedTrick(bool succeeded) {
    _trickDone = true;
    _trickResultPanel = true;
    _trickSucceeded = succeeded;
    _trickIntroPanel = false;
    pause(true);
    // The panel says "any key": every key and button answers it, not only the flight keys.
    _input.trackAllKeys(true);
}

bool Game::enterNewCell() {
    const Vector3<int> ahead = plus(_player._cell, _player._forward);
    _playerSurround = _octree.getSurround(ahead, _player._forward, _player._up, &_playerSurroundCount);
    _octree.setTerminalNode(_player._previousCell, OcTree::CELL_SOLID_1, _player._trailColor);
    score(_speedLevelRounded * _flyingScores[std::clamp(_playerSurroundCount, 0, 4)]);

    const int kind = _octree.getTerminalNode(ahead)->count();
    if (kind == OcTree::CELL_COLLECTABLE) {
        collectCollectable(ahead);
    } else if (isSolidKind(kind) && !crash(ahead)) {
        return false;
    }
    checkTricks();
    return true;
}

bool Game::crash(const Vector3<int>& cell) {
    // Only a game costs shields: the demo behind the menus may crash as it likes, and shields
    // an old game left low neither warn nor end anything there.
    const bool inPlay = _state == STATE_PLAY;
    if (inPlay) {
        _player._hitpoints -= 1.0f;
        if (_player._hitpoints == LOW_SHIELDS) {
            playSound("warning_low_shields", _voiceVolume);
        }
    }
    playSound("bump", _effectsVolume);
    _playerHumFreq = HUM_FREQ_REST;
    if (_bumpNoise) {
        _bumpNoise->bump();
    }
    _octree.setTerminalNode(cell, OcTree::SET_CLEAR, 0);
    _boostTime = 0.0;
    _bounceOffset = CRASH_ROLL;
    _speedLevel = 1.0f;
    _comboTime = std::min(_comboTime + 1.0, _comboWindow);
    if (inPlay && std::lround(_player._hitpoints) < 1) {
        gameOver();
        return false;
    }
    return true;
}

void Game::stepCamera(double worldStep) {
    const float w = static_cast<float>(worldStep);
    const float dt = static_cast<float>(_frameTime);
    _bounceOffset = std::max(0.0f, _bounceOffset - ROLL_DECAY * w);
    _cameraRollPhase += ROLL_PHASE_SPEED * w;
    // The follow cameras keep swinging and bobbing while the game is paused.
    _cameraBobPhase += BOB_PHASE_SPEED * dt;
    if (_cameraMode == CAMERA_ORBIT) {
        _cameraOrbitAngle += dt * _cameraOrbitSpeed;
        if (_cameraOrbitAngle > TWO_PI) {
            _cameraOrbitAngle -= TWO_PI;
        }
    }

    updateCraftMatrices();
    const CameraPlacement view = placeCamera(_cameraSubject->_matrix, _cameraMode, _cameraOrbitAngle,
                                             BOB_CELLS * std::sin(_cameraBobPhase));
    const Vector3<float>& shake = _shaker.displacement();
    _camera.pos(plus(view.eye, shake));
    _camera.target(plus(view.target, shake));
    _camera.up(view.up);
}

void Game::updateCraftMatrices() {
    _player._matrix = craftMatrix(_player);
    for (Bot* bot : _bots) {
        bot->_matrix = craftMatrix(*bot);
    }
}

void Game::moveEffectsWithWrap(const Vector3<float>& subjectBefore) {
    // A jump of half the field or more is a wrap; the effects jump with the view so that they
    // stay where they were seen.
    const float size = static_cast<float>(_octree.size());
    const Vector3<float>& now = _cameraSubject->_pos;
    const auto wrapOf = [size](float from, float to) { return size * std::round((to - from) / size); };
    const Vector3<float> amount(wrapOf(subjectBefore.x, now.x), wrapOf(subjectBefore.y, now.y),
                                wrapOf(subjectBefore.z, now.z));
    if (amount == Vector3<float>()) {
        return;
    }
    for (Explosion* explosion : _explosions) {
        explosion->origin(plus(explosion->origin(), amount));
    }
}

// ---- tricks and combos ------------------------------------------------------------------

void Game::checkTricks() {
    MovementTrack& track = _player.movementTrack();
    if (track.match(_trickLibrary, _matchedTrick) != MovementTrack::MATCH_EARLIER || _state != STATE_PLAY) {
        return;
    }
    track.clear();
    const Trick& trick = _matchedTrick;
    _message._text << '*' << trick.name() << '*' << " +" << trick.score();
    if (_speedLevelRounded >= 2) {
        _message._text << " x " << _speedLevelRounded;
    }
    _message._text << '\n';
    const int points = trick.score() * _speedLevelRounded;
    score(points);
    _message.showText(1.0, 0.7);
    playSound("trick", _effectsVolume);

    // With no combo running the clock stands at 0, so a first trick always opens one; only a
    // combo whose window ran out while play was away sees a trick score alone.
    if (_comboTime <= _comboWindow) {
        _comboTime = 0.0;
        _comboTricks.push_back(trick);
        _comboScores.push_back(points);
        ++_comboCount;
    }
}

void Game::stepComboClock(double playerStep) {
    if (_comboCount > 0) {
        _comboTime += playerStep;
    }
    // Away from play a combo neither gains tricks nor ends: it ends on coming back.
    const bool over = _comboTime > _comboWindow || _comboCount >= COMBO_MAX_TRICKS;
    if (!over || _state != STATE_PLAY) {
        return;
    }
    if (_comboCount > 1) {
        scoreCombo();
    }
    _comboTime = 0.0;
    _comboCount = 0;
    _comboTricks.clear();
    _comboScores.clear();
}

void Game::scoreCombo() {
    const int tricks = _comboCount;
    std::ostringstream text;
    text << tricks << "-COMBO";
    playSound(std::to_string(tricks) + "combo", _voiceVolume);
    const int points = comboPoints(tricks, std::accumulate(_comboScores.begin(), _comboScores.end(), 0));
    score(points);
    playSound("combo", _effectsVolume);

    const ComboRating& rating = comboRating(points);
    text << rating.text << '+' << points << " shields+" << rating.shields << " ammo+" << rating.ammo;
    shields(rating.shields);
    ammo(rating.ammo);
    playSound(rating.sound, _voiceVolume);
    if (tricks == COMBO_MAX_TRICKS) {
        text << " EMP +1";
        bombs(1);
    }
    _overlayTextQueue.push(text.str());
}

// ---- stages -----------------------------------------------------------------------------

void Game::stepStages() {
    if (_demoMode && _state != STATE_GAME_OVER && _density > 9 && _backgroundTime >= _backgroundFogStop) {
        if (_stage == _wavesPerRound) {
            clearBots();
            _cameraSubject = &_player;
            _liveBotCount = 0;
            _stage = 3;
            _pendingWaves = 1;
        } else {
            ++_pendingWaves;
        }
    }
    while (_pendingWaves > 0) {
        nextWave();
        --_pendingWaves;
    }

    const double worldStep = _paused ? 0.0 : _frameTime;
    if (isOneOf(_state, {STATE_PLAY, STATE_GAME_OVER, STATE_ENTER_SCORE})) {
        const bool arrival = _stageClock - worldStep < _botArrivalDelay && _stageClock >= _botArrivalDelay;
        if (arrival) {
            fillStage();
        }
    }
    if (_demoMode) {
        if (_state == STATE_MAIN_MENU) {
            fillStage();
        }
        if (_state != STATE_GAME_OVER) {
            _cameraSubject = _bots.empty() ? &_player : _bots.front();
        }
    }
}

void Game::fillStage() {
    // Counted, not tested against the list: a chaser that could not be made must not hang
    // the frame.
    for (int n = static_cast<int>(_bots.size()); n < _waveBotCount; ++n) {
        addBot();
    }
}

// ---- sound ------------------------------------------------------------------------------

void Game::placeListener() {
    const Player& subject = *_cameraSubject;
    const float position[3] = {static_cast<float>(subject._cell.x), static_cast<float>(subject._cell.y),
                               static_cast<float>(subject._cell.z)};
    const float velocity[3] = {static_cast<float>(subject._forward.x) * subject._velocity,
                               static_cast<float>(subject._forward.y) * subject._velocity,
                               static_cast<float>(subject._forward.z) * subject._velocity};
    FSOUND_3D_Listener_SetAttributes(position, velocity, static_cast<float>(subject._forward.x),
                                     static_cast<float>(subject._forward.y), static_cast<float>(subject._forward.z),
                                     static_cast<float>(subject._up.x), static_cast<float>(subject._up.y),
                                     static_cast<float>(subject._up.z));
    FSOUND_Update();
}

// ---- drawing ----------------------------------------------------------------------------

void Game::drawWorld() {
    // The 3D view reaches up past the window's top by the bar's height, so that its centre
    // stays in the middle of what the bar leaves free.
    const int barHeight = roundToInt(_bottomBar.height());
    const float aspect = static_cast<float>(_width) / static_cast<float>(barHeight + _height);
    glEnable(GL_FOG);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glViewport(0, 0, _width, _height);
    _renderer.vport(Quib::AABB2<int>(0, 0, _width, _height + barHeight));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(_fov, aspect, 0.01, _octree.size() / 2);
    _camera.aspect(aspect);
    glDepthMask(GL_TRUE);

    if (_backgroundTime < _backgroundFogStop) {
        const RGBA<float> c = _backgroundGradient.value(static_cast<float>(_backgroundTime));
        glClearColor(c.r, c.g, c.b, c.a);
        setFog(c);
    } else {
        glClearColor(_fogColor.r, _fogColor.g, _fogColor.b, _fogColor.a);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    setMaterialAndLights();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const Vector3<float>& shake = _shaker.displacement();
    glTranslatef(shake.x, shake.y, shake.z);
    const Vector3<float>& recoil = _gun.virtualShakeTranslate(_gun._currentGun);
    glRotatef(2.0f * recoil.z, 1.0f, 0.0f, 0.0f);
    glTranslatef(2.0f * recoil.x, 2.0f * recoil.y, recoil.z);

    glRotatef(viewTurnDegrees(_mouselookPitch * -0.5f), 1.0f, 0.0f, 0.0f);
    glRotatef(viewTurnDegrees(_mouselookYaw * 0.5f), 0.0f, 1.0f, 0.0f);

    glRotatef(std::sin(_cameraRollPhase) * _bounceOffset, 0.0f, 0.0f, 1.0f);
    lookThruOnto(_camera);

    glGetDoublev(GL_MODELVIEW_MATRIX, _viewMatrix.data());
    glPushMatrix();
    glTranslatef(_playfieldOffset.x, _playfieldOffset.y, _playfieldOffset.z);
    glGetDoublev(GL_MODELVIEW_MATRIX, _objectViewMatrix.data());
    glPopMatrix();

    drawCopies();
    // A software GL then draws the field on its own threads while the sparks and the HUD are
    // being sent, rather than all of the frame at the swap.
    glFlush();

    setProjection(_camera);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    // Sparks and stars behind the field's walls would only be thrown away by the depth test,
    // pixel by pixel: the walls' coverage drops them whole.
    ParticleBatch& batch = Particle::batch();
    batch.hideBehind(_octree.drawnCoverage());
    for (Explosion* explosion : _explosions) {
        explosion->drawShapes();
    }
    // The explosions' glow near the eye covers screens of pixels; light adds up in any
    // order, so where it covers enough it is gathered at half resolution and added to the
    // picture at once. Small sparks would lose their peak there: they go onto the picture
    // after.
    const bool layered = _sparkLayer.worth(bigSparkScreens(_explosions, batch)) && _sparkLayer.begin();
    if (layered) {
        // The layer's pixels are twice the picture's.
        batch.sizeBand(SparkLayer::SMALLEST / 2.0f, ParticleBatch::ENDLESS);
        int gathered = 0;
        for (Explosion* explosion : _explosions) {
            // A system without particles leaves the batch alone, and its count with it.
            if (!explosion->particles().empty()) {
                explosion->drawParticles();
                gathered += batch.sent();
            }
        }
        _sparkLayer.end(gathered > 0);
        batch.sizeBand(0.0f, SparkLayer::SMALLEST);
    }
    for (Explosion* explosion : _explosions) {
        explosion->drawParticles();
    }
    batch.sizeBand(0.0f, ParticleBatch::ENDLESS);
    _bulletSystem.draw();
    drawStarfield();
    batch.hideBehind(nullptr);
    glDepthMask(GL_TRUE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Game::drawCopies() {
    beginAimRay();
    _botInfoList.clear();
    const float edge = static_cast<float>(_octree.size());
    float planes[6][4];
    for (int k = -1; k < COPIES_PER_AXIS - 1; ++k) {
        for (int j = -1; j < COPIES_PER_AXIS - 1; ++j) {
            for (int i = -1; i < COPIES_PER_AXIS - 1; ++i) {
                const Vector3<float> copy(static_cast<float>(i) * edge, static_cast<float>(j) * edge,
                                          static_cast<float>(k) * edge);
                glPushMatrix();
                glTranslatef(copy.x + _playfieldOffset.x, copy.y + _playfieldOffset.y, copy.z + _playfieldOffset.z);
                frustumOfCurrentView(planes);
                _octree.draw(planes, _camera.pos(), _playClock);
                glPopMatrix();
                aimRayAtCopy(copy);
                drawChasersOfCopy(copy);
            }
        }
    }
    if (_cameraMode != CAMERA_FIRST_PERSON && _playerMesh != nullptr) {
        glPushMatrix();
        glMultMatrixd(_player._matrix.data());
        _playerMesh->draw();
        glPopMatrix();
    }
    endAimRay();
    addShotTracer();
}

void Game::drawChasersOfCopy(const Vector3<float>& copy) {
    glPushMatrix();
    glTranslatef(copy.x, copy.y, copy.z);
    float planes[6][4];
    frustumOfCurrentView(planes);
    for (Bot* bot : _bots) {
        if (bot->dead()) {
            continue;
        }
        const Vector3<float>& p = bot->_pos;
        if (AABBinFrustum(Vector3<float>(p.x - 1.0f, p.y - 1.0f, p.z - 1.0f),
                          Vector3<float>(p.x + 1.0f, p.y + 1.0f, p.z + 1.0f), planes) == 0) {
            continue;
        }
        glPushMatrix();
        glMultMatrixd(bot->_matrix.data());
        bot->draw();
        glDisable(GL_TEXTURE_2D);
        glColor4f(0.0f, 0.0f, 0.0f, 0.8f);
        bot->_bulletHoles.draw();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glEnable(GL_TEXTURE_2D);
        bot->_screenBox = screenBoxOfModel();
        drawCornerCube(*bot);
        if (_flareMesh != nullptr) {
            // The engine's glow adds light and hides nothing behind it.
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glEnable(GL_BLEND);
            glDepthMask(GL_FALSE);
            _flareMesh->draw();
            glDepthMask(GL_TRUE);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        glPopMatrix();
        _botInfoList.push_back(bot);
        aimRayAtChaser(*bot, copy);
    }
    glPopMatrix();
}

void Game::drawStarfield() {
    if (!_starfield) {
        return;
    }
    // The stars fill a cube of the field's edge round the field's origin; two copies along
    // each axis surround every point of the field out to the far clip.
    const float edge = static_cast<float>(_octree.size());
    const float half = edge * 0.5f;
    float planes[6][4];
    frustumOfCurrentView(planes);
    for (int k = 0; k < 2; ++k) {
        for (int j = 0; j < 2; ++j) {
            for (int i = 0; i < 2; ++i) {
                const Vector3<float> centre(static_cast<float>(i) * edge, static_cast<float>(j) * edge,
                                            static_cast<float>(k) * edge);
                if (AABBinFrustum(Vector3<float>(centre.x - half, centre.y - half, centre.z - half),
                                  Vector3<float>(centre.x + half, centre.y + half, centre.z + half), planes) == 0) {
                    continue;
                }
                glPushMatrix();
                glTranslatef(centre.x, centre.y, centre.z);
                _starfield->draw();
                glPopMatrix();
            }
        }
    }
}

void Game::drawHud() {
    const int barHeight = roundToInt(_bottomBar.height());
    _renderer.vport(Quib::AABB2<int>(0, 0, _width, _height + barHeight));
    // The world's meshes bound textures of their own behind the renderer's back.
    _renderer._boundTexture = 0;
    const double worldStep = _paused ? 0.0 : _frameTime;
    const bool play = _state == STATE_PLAY;
    const bool ingameMenu = _state == STATE_INGAME_MENU;
    const bool trainer = _state == STATE_TRICK_TRAINER;

    if ((play || trainer) && _bumpNoise) {
        _bumpNoise->animate(worldStep);
        _bumpNoise->draw();
    }
    if (play || ingameMenu) {
        drawBotInfo();
    }
    if (_displayDestroyedChaserList) {
        drawDeadBots();
    }
    drawDebugInfo();
    if (_cameraMode == CAMERA_FIRST_PERSON) {
        glPushMatrix();
        glTranslatef(static_cast<float>(_width / 2), (_height + barHeight) * 0.5f, 0.0f);
        glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
        _renderer.drawCross(10);
        glPopMatrix();
        if (_cameraSubject == &_player && (play || ingameMenu) && _aimCursorSprite) {
            _aimCursorSprite->animate(worldStep);
            _aimCursorSprite->draw();
        }
    }
    if (play || ingameMenu || trainer || _state == STATE_GAME_OVER) {
        // The message prints in whatever font is current, and the HUD before it left another.
        _renderer._font = _font.get();
        _message.animate(worldStep);
        _message.draw();
    }
    drawBanner(worldStep);
    if (trainer) {
        _trickTrainerAdviceHud.animate(worldStep);
        _trickTrainerAdviceHud.draw();
    }
    if (play || ingameMenu) {
        drawSpeeding();
        if (_comboCount > 0) {
            drawCombo();
        }
        if (_cockpitHud) {
            drawScore();
            drawShields();
            drawAmmo();
            drawBombs();
            drawDensity();
            drawChasers();
            drawWave();
        }
    }
    if (_displaySurroundDetector && (play || trainer || ingameMenu)) {
        drawSurroundDetector();
    }
    if (_state != STATE_MAIN_MENU) {
        _bottomBar.animate(_frameTime);
        _bottomBar.draw();
    }
    if ((play || _state == STATE_GAME_OVER) && !_cockpitHud) {
        drawBarHud();
    }
    if (_paused && _pausedSprite) {
        _pausedSprite->animate(_frameTime);
        _pausedSprite->draw();
    }
}

void Game::drawBanner(double worldStep) {
    if (!_overlayText) {
        return;
    }
    _overlayText->animate(worldStep);
    if ((_overlayText->textColor.a > 0.01f && _state == STATE_PLAY) || _state == STATE_INGAME_MENU) {
        _overlayText->draw();
    } else if (!_overlayTextQueue.empty()) {
        _overlayText->rewindAllTimelines();
        _overlayText->text = _overlayTextQueue.front();
        _overlayTextQueue.pop();
    }
}

void Game::drawSurroundDetector() {
    if (!_smallArrowImage) {
        return;
    }
    _renderer._color = RGBA<float>(1.0f, 1.0f, 1.0f, 0.6f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.6f);
    const float pi = TRUE_PI<float>;
    const float w = static_cast<float>(_width);
    const float h = static_cast<float>(_height);
    const float halfW = static_cast<float>(_width / 2);
    const float halfH = static_cast<float>(_height / 2);
    struct Marker {
        int bit;
        Vector2<float> pos;
        float rotation;
    };
    const Marker markers[4] = {{OcTree::SURROUND_LEFT, Vector2<float>(16.0f, halfH), pi},
                               {OcTree::SURROUND_RIGHT, Vector2<float>(w - 16.0f, halfH), 0.0f},
                               {OcTree::SURROUND_UP, Vector2<float>(halfW, h - 16.0f), pi * 0.5f},
                               {OcTree::SURROUND_DOWN, Vector2<float>(halfW, _cockpitHud ? 16.0f : 36.0f), -pi * 0.5f}};
    for (const Marker& m : markers) {
        if ((_playerSurround & m.bit) != 0) {
            _renderer.drawImage(*_smallArrowImage, m.pos, m.rotation, 1.0f, 1.0f);
        }
    }
}

// ---- the shot and the aim ray -------------------------------------------------------------

// A cube this far from the aim ray's origin (squared, world units) or farther is out of reach:
// just past the far clip.
constexpr float SHOT_REACH_SQ = 300.0f;
constexpr float SHOT_DAMAGE = 1.0f;
constexpr std::size_t MAX_SHOT_EXPLOSIONS = 8;
constexpr float TRACER_SPEED = 80.0f;
constexpr float TRACER_LIFE = 0.7f;
// The muzzles sit low on either side of the view, this far ahead of the eye.
constexpr float MUZZLE_DEPTH = 0.5f;
constexpr float MUZZLE_SIDE = 0.5f;
constexpr float MUZZLE_DROP = 0.5f;

const ParticleSet cubeHitSets[2] = {
    {100, "particle1.png", 26.0f, -15.0f, 0.4f, 0.3f, 1.0f, RGBA<float>(1.0f, 0.0f, 0.0f, 0.7f),
     RGBA<float>(0.3f, 0.5f, 0.1f, 0.2f), RGBA<float>(0.0f, 0.0f, 0.0f, -0.9f), RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f)},
    {70, "particle2.png", 15.0f, -3.0f, 0.07f, 0.02f, 0.0f, RGBA<float>(0.2f, 0.2f, 0.2f, 1.0f),
     RGBA<float>(0.2f, 0.1f, 0.1f, 0.2f), RGBA<float>(0.0f, 0.0f, 0.0f, -0.4f), RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f)},
};

const ParticleSet chaserHitSet = {70, "particle2.png", 5.0f, -3.0f, 0.04f, 0.02f, 0.0f,
                                  RGBA<float>(1.0f, 0.5f, 0.0f, 0.9f), RGBA<float>(0.2f, 0.1f, 0.1f, 0.2f),
                                  RGBA<float>(0.0f, 0.0f, 0.0f, -0.4f), RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f)};

Vector3<float> minus(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.x - b.x, a.y - b.y, a.z - b.z);
}

float lengthSq(const Vector3<float>& v) { return v.x * v.x + v.y * v.y + v.z * v.z; }

// A craft's frame only turns and moves: its inverse turns by the transpose.
Vector3<float> intoFrame(const Matrix& frame, const Vector3<float>& v) {
    return Vector3<float>(static_cast<float>(frame(1, 1) * v.x + frame(2, 1) * v.y + frame(3, 1) * v.z),
                          static_cast<float>(frame(1, 2) * v.x + frame(2, 2) * v.y + frame(3, 2) * v.z),
                          static_cast<float>(frame(1, 3) * v.x + frame(2, 3) * v.y + frame(3, 3) * v.z));
}

void Game::resolveShot() {
    if (_gun._shots == 0) {
        return;
    }
    playSound(_gun.ammo() < 1 ? "weapon_empty" : "lazer", _effectsVolume);
    _gun._shots = 0;
    _shotTracerDue = true;
    // The aim of the last drawn frame: a chaser kept there has no cube in front of it.
    if (_aimedBot != nullptr && !_aimedBot->dead()) {
        shootChaser(*_aimedBot);
    } else if (!_aimHits.empty() && _aimHits.front().distanceSq < SHOT_REACH_SQ) {
        shootCell(_aimHits.front());
    }
}

void Game::shootChaser(Bot& bot) {
    bot.damage(SHOT_DAMAGE);
    if (bot._hitpoints <= 0.0f) {
        destroyBot(&bot, DEATH_SHOT);
        return;
    }
    addShotExplosion(&chaserHitSet, 1, _aimedBotGeometry[3]);
    playSound("bullet_hit", _effectsVolume);
    bot.addBulletHole(_aimedBotGeometry[0], _aimedBotGeometry[1], _aimedBotGeometry[2]);
}

void Game::shootCell(const OcTree::NodeHitInfo& hit) {
    // Seen in the copy the ray met it in; it melts in the field itself.
    const Vector3<float> seen = plus(_aimRayOrigin, hit.offset);
    const Vector3<int> cell = hit.node->box().min;
    playSound("block_explode", _effectsVolume, &seen);
    _octree.setTerminalNode(cell, OcTree::SET_MELT, 0);
    addShotExplosion(cubeHitSets, 2, seen);
    _octree.melt(cell, static_cast<int>(_shotMeltRadius), false);
}

void Game::addShotExplosion(const ParticleSet* sets, int count, const Vector3<float>& at) {
    std::list<Particle::CreateData> templates;
    for (int i = 0; i < count; ++i) {
        templates.push_back(particleTemplate(sets[i], at, _effectsParticleDensity, textureOf(sets[i].texture)));
    }
    _explosions.push_back(new Explosion(templates, at));
    while (_explosions.size() > MAX_SHOT_EXPLOSIONS) {
        delete _explosions.front();
        _explosions.pop_front();
    }
}

void Game::centreAimCursor(float barHeight) {
    if (_aimCursorSprite) {
        _aimCursorSprite->pos(Vector2<float>(static_cast<float>(_width / 2), (_height + barHeight) * 0.5f));
    }
}

void Game::beginAimRay() {
    // The modelview holds the view: the ray runs in the world from the eye through the aim.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    Vector2<int> point(viewport[0] + viewport[2] / 2, viewport[1] + viewport[3] / 2);
    if (!_mouselookHeld && _aimCursorSprite) {
        const Vector2<float>& cursor = _aimCursorSprite->pos();
        point = Vector2<int>(roundToInt(cursor.x), roundToInt(cursor.y));
    }
    const Vector3<float> eye = !_viewMatrix * Vector3<float>(0.0f, 0.0f, 0.0f);
    aimAlong(PickRayGenerator::generateInWorldSpace(eye, point));
}

void Game::aimAlong(const Ray3<float>& ray) {
    _aimHits.clear();
    _aimedBot = nullptr;
    _aimedBotDistanceSq = std::numeric_limits<float>::max();
    _aimRayOrigin = ray.origin;
    _aimRayDirection = ray.direction;
}

void Game::aimRayAtCopy(const Vector3<float>& copy) {
    // The copy's cells fill [c, c + 1) in its own space, which the playfield offset and the
    // copy's place shift into the world.
    const Ray3<float> ray{minus(minus(_aimRayOrigin, copy), _playfieldOffset), _aimRayDirection};
    _octree.root()->rayHit(ray, _aimHits);
}

void Game::aimRayAtChaser(Bot& bot, const Vector3<float>& copy) {
    Mesh* const mesh = bot.mesh();
    if (mesh == nullptr || bot.dead()) {
        return;
    }
    const Matrix& frame = bot._matrix;
    const Vector3<float> place(static_cast<float>(frame(1, 4)) + copy.x, static_cast<float>(frame(2, 4)) + copy.y,
                               static_cast<float>(frame(3, 4)) + copy.z);
    const Ray3<float> local{intoFrame(frame, minus(_aimRayOrigin, place)), intoFrame(frame, _aimRayDirection)};
    Vector3<float> hit;
    float distance = 0.0f;
    if (!mesh->rayHit(local, Vector3<float>(), &hit, &distance)) {
        return;
    }
    const Vector3<float> world = plus(frame * hit, copy);
    const float d = lengthSq(minus(world, _aimRayOrigin));
    if (d >= _aimedBotDistanceSq) {
        return;
    }
    // One mesh serves every chaser: its hit fields change with the next test.
    _aimedBot = &bot;
    _aimedBotDistanceSq = d;
    _aimedBotGeometry = {mesh->_hitPoint, mesh->_hitNormal, mesh->_hitTangent, world};
}

void Game::endAimRay() {
    std::sort(_aimHits.begin(), _aimHits.end());
    const bool cubeInFront = !_aimHits.empty() && _aimHits.front().distanceSq < _aimedBotDistanceSq;
    if (cubeInFront) {
        _aimedBot = nullptr;
    }
    if (_aimedBot != nullptr) {
        _aimPoint = _aimedBotGeometry[3];
    } else if (!_aimHits.empty()) {
        _aimPoint = plus(_aimRayOrigin, _aimHits.front().offset);
    }
}

void Game::addShotTracer() {
    if (!_shotTracerDue) {
        return;
    }
    _shotTracerDue = false;
    // Low in the view on the side of the barrel that fired, turning with the view.
    const float spread = std::tan(_fov * (TWO_PI / 360.0f) * 0.5f) * MUZZLE_DEPTH;
    const float side = _gun._currentGun % 2 == 0 ? -MUZZLE_SIDE : MUZZLE_SIDE;
    const Vector3<float> muzzle = !_viewMatrix * Vector3<float>(side * spread, -MUZZLE_DROP * spread, -MUZZLE_DEPTH);
    const Vector3<float>& d = _aimRayDirection;
    _bulletSystem.addBullet(muzzle, Vector3<float>(d.x * TRACER_SPEED, d.y * TRACER_SPEED, d.z * TRACER_SPEED),
                            TRACER_LIFE);
}

}  // namespace Vortel
