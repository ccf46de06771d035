#include "actors/bot.h"

#include <GL/gl.h>

#include "platform/crand.h"
#include "platform/math.h"
#include "platform/matrix.h"
#include "platform/quaternion.h"
#include "world/meshchrome.h"
#include "world/octree.h"

namespace Vortel {

namespace {

// The draws scale r by single-precision constants and multiply in double: 1 / CRAND_MAX
// and 4 / CRAND_MAX round to just below their exact values, so no draw reaches 1 or 5.
constexpr float RAND_SPAN = static_cast<float>(crand::CRAND_MAX);
constexpr float CHANCE_SCALE = 1.0f / RAND_SPAN;
constexpr float DIRECTION_SCALE = 4.0f / RAND_SPAN;

constexpr int DEFAULT_HITPOINTS_MAX = 10;
constexpr double DEFAULT_RESPAWN_DELAY = 1.0;
constexpr double DEFAULT_RECOVERY_TIME = 2.0;
constexpr int DEFAULT_STRAIGHT_MOVES = 7;
constexpr float TURN_DEGREES = 90.0f;
constexpr double QUARTER_TURN = TRUE_PI<double> / 2;
// Recovered enough to show the normal colour; a float, so that a recovery of 0.99f is not.
constexpr float RECOVERED = 0.99f;

// Probes ahead in the order they are looked at and acted on: one, three, then two cells.
constexpr int PROBE_DISTANCES[3] = {1, 3, 2};

Vector3<float> toFloat(const Vector3<int>& v) {
    return Vector3<float>(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

}  // namespace

Bot::Bot(const std::string& name, Vector3<int> cell, Vector3<int> forward, Vector3<int> up, float speed,
         OcTree& playfield)
    : Player(name, cell, forward, up, speed, playfield),
      _nextForward(forward),
      _nextUp(0, 0, 0),
      _scoreShot(0),
      _scoreBurn(0),
      _hitpointsMax(DEFAULT_HITPOINTS_MAX),
      _dead(false),
      _deadBefore(false),
      _respawnDelay(DEFAULT_RESPAWN_DELAY),
      _timeDead(0.0),
      _recoveryTimer(0.0),
      _recoveryTime(DEFAULT_RECOVERY_TIME),
      _recovery(1.0f),
      _timeStretchFactor(1.0),
      _straightMovesMax(DEFAULT_STRAIGHT_MOVES),
      _straightMovesMin(DEFAULT_STRAIGHT_MOVES),
      _straightMovesLeft(DEFAULT_STRAIGHT_MOVES),
      _avoidCrash(1.0f),
      _type("GENERIC"),
      _mesh(nullptr),
      _hitColor(0.0f, 0.0f, 0.0f, 0.0f),
      _chaserHumChannel(FSOUND_FREE),
      _baseColor(1.0f, 1.0f, 1.0f, 1.0f) {
    // Drawn even though both bounds agree, so the random sequence stays as tuned.
    drawRunLength();
}

Bot::~Bot() {
    FSOUND_StopSound(_chaserHumChannel);
}

double Bot::chanceOf(int r) {
    return static_cast<double>(r) * static_cast<double>(CHANCE_SCALE);
}

Player::direction Bot::directionOf(int r) {
    const double scaled = static_cast<double>(r) * static_cast<double>(DIRECTION_SCALE);
    return static_cast<direction>(static_cast<int>(scaled + 1.0));
}

int Bot::runLengthOf(int r, int min, int max) {
    const float low = static_cast<float>(min);
    const float high = static_cast<float>(max);
    return static_cast<int>(static_cast<double>(high) +
                            static_cast<double>(r) * static_cast<double>(low - high) / static_cast<double>(RAND_SPAN));
}

// In single precision throughout, which rounds the top value up to size itself.
int Bot::coordinateOf(int r, int size) {
    const float scale = static_cast<float>(size) / RAND_SPAN;
    return static_cast<int>(static_cast<float>(r) * scale);
}

void Bot::drawRunLength() {
    _straightMovesLeft = runLengthOf(crand::rand(), _straightMovesMin, _straightMovesMax);
}

// Any kind but empty is in the way: melting cells and pick-ups too.
bool Bot::filledAhead(int cells) const {
    const Vector3<int> probe = grid::add(_cell, grid::scaled(_forward, cells));
    return _octree.getTerminalNode(probe)->count() != OcTree::CELL_EMPTY;
}

void Bot::think(double) {
    if (_dead) {
        return;
    }
    bool filled[3];
    for (int i = 0; i < 3; ++i) {
        filled[i] = filledAhead(PROBE_DISTANCES[i]);
    }
    // One draw decides for all three probes. Each obstacle still draws a direction, though
    // only the first request can be taken.
    const bool avoid = chanceOf(crand::rand()) < static_cast<double>(_avoidCrash);
    for (const bool blocked : filled) {
        if (blocked && avoid) {
            turn(directionOf(crand::rand()));
        }
    }
    if (_straightMovesLeft > 0) {
        return;
    }
    turn(directionOf(crand::rand()));
}

void Bot::turn(direction d) {
    // A direction none of the four turns names would leave the next up unset; the player
    // ignores it too.
    if (_requestedDirection != DIR_NONE || d < DIR_LEFT || d > DIR_DOWN) {
        return;
    }
    _requestedDirection = d;
    _turnAngle = 0.0f;
    _turning = false;  // the turn waits for the next boundary
    setTurnAxes(d);
    drawRunLength();
}

void Bot::update(double dt) {
    const double ts = dt * _timeStretchFactor;
    _deadBefore = _dead;

    // Recovery runs on unstretched time. With no recovery time there is nothing to recover.
    _recoveryTimer -= dt;
    if (_recoveryTimer < 0.0) {
        _recoveryTimer = 0.0;
    }
    _recovery = _recoveryTime > 0.0 ? static_cast<float>(1.0 - _recoveryTimer / _recoveryTime) : 1.0f;

    if (_timeDead > _respawnDelay) {
        respawn();
    }
    if (_dead) {
        _timeDead += ts;
        return;
    }
    advance(ts);
}

void Bot::advance(double ts) {
    _updateStartCell = _cell;
    _progress += static_cast<float>(ts * static_cast<double>(_velocity) * static_cast<double>(_velocityMult));
    if (_turning) {
        _turnAngle = _progress * TURN_DEGREES;
    }
    const bool boundary = _progress >= 1.0f;
    if (boundary) {
        crossBoundaries();
    }
    // Floor modulo, so a step of several cells past an edge comes in as far past the other.
    wrap();
    if (boundary && _requestedDirection != DIR_NONE) {
        startTurn();
    }
    place();
}

// However many cells the step spans, the run counts one cell and a running turn ends.
void Bot::crossBoundaries() {
    _previousCell = _cell;
    const int cells = static_cast<int>(_progress);
    _cell = grid::add(_cell, grid::scaled(_nextForward, cells));
    _straightMovesLeft -= 1;
    _progress -= static_cast<float>(cells);
    if (_turning) {
        _requestedDirection = DIR_NONE;
        _turning = false;
        _forward = _nextForward;
        _up = _nextUp;
        _turnAngle = 0.0f;
    }
}

void Bot::startTurn() {
    _nextForward = _forward;
    _nextUp = _up;
    grid::turnHeading(moveOf(_requestedDirection), _nextForward, _nextUp);
    _turning = true;
}

// A turning chaser follows a quarter circle through its cell, from the cell itself at the
// start to the next cell along the new heading at the end.
void Bot::place() {
    const Vector3<float> cell = toFloat(_cell);
    if (!_turning) {
        const Vector3<float> f = toFloat(_forward);
        _pos = Vector3<float>(cell.x + f.x * _progress, cell.y + f.y * _progress, cell.z + f.z * _progress);
        return;
    }
    const double angle = static_cast<double>(_progress) * QUARTER_TURN;
    Matrix rotation;
    rotation.rotation(Quaternion(toFloat(_turnAxisWorld), static_cast<float>(angle)));
    const Vector3<float> v = toFloat(grid::sub(_forward, _nextForward));
    const Vector3<float> h(v.x * 0.5f, v.y * 0.5f, v.z * 0.5f);
    const Vector3<float> turned = rotation * h;
    _pos = Vector3<float>(cell.x + turned.x - h.x, cell.y + turned.y - h.y, cell.z + turned.z - h.z);
}

void Bot::damage(float amount) {
    _hitpoints -= amount;
    _recoveryTimer = _recoveryTime;
}

float Bot::turnAngle() const {
    return _turnAngle;
}

void Bot::die(double respawnDelay) {
    _bulletHoles.clear();
    _dead = true;
    _timeDead = 0.0;
    _respawnDelay = respawnDelay;
    FSOUND_SetPaused(_chaserHumChannel, true);
}

void Bot::respawn() {
    _timeDead = 0.0;
    _dead = false;
    _bulletHoles.clear();
    _recoveryTimer = 0.0;
    _hitpoints = static_cast<float>(_hitpointsMax);
    // One past the field is possible here; the next wrap brings it in.
    const int size = _octree.size();
    const int z = coordinateOf(crand::rand(), size);
    const int y = coordinateOf(crand::rand(), size);
    const int x = coordinateOf(crand::rand(), size);
    _cell = Vector3<int>(x, y, z);
    FSOUND_SetPaused(_chaserHumChannel, false);
}

void Bot::straightMoves(int min, int max) {
    _straightMovesMin = min;
    _straightMovesMax = max;
    _straightMovesLeft = 0;
    think(0.0);
}

void Bot::draw() {
    if (_mesh == nullptr) {
        return;
    }
    const bool recovered = _recovery > RECOVERED;
    const RGBA<float>& color = recovered ? _baseColor : _hitColor;
    glColor4f(color.r, color.g, color.b, color.a);
    _mesh->enableTextures(recovered);
    _mesh->draw();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace Vortel
