#include "actors/player.h"

#include "world/octree.h"

namespace Vortel {
namespace {

// The turn animation runs at 120 degrees per second for every cell per second of base
// speed: three quarters of a cell at base speed, whatever the boost.
constexpr float TURN_DEGREES_PER_CELL = 120.0f;
constexpr float TURN_END_DEGREES = 90.0f;
constexpr float START_HITPOINTS = 40.0f;

Vector3<float> along(const Vector3<int>& cell, const Vector3<int>& forward, float progress) {
    return Vector3<float>(static_cast<float>(cell.x) + static_cast<float>(forward.x) * progress,
                          static_cast<float>(cell.y) + static_cast<float>(forward.y) * progress,
                          static_cast<float>(cell.z) + static_cast<float>(forward.z) * progress);
}

}  // namespace

Player::Player(const std::string& name, Vector3<int> cell, Vector3<int> forward, Vector3<int> up, float speed,
               OcTree& world)
    : _octree(world),
      _requestedDirection(DIR_NONE),
      _turnQueue(),
      _maxQueuedTurns(2),
      _cell(cell),
      _previousCell(cell),
      _updateStartCell(cell),
      _pos(),
      _unwrappedCell(cell),
      _unwrappedPos(),
      _progress(0.0f),
      _forward(forward),
      _updateStartForward(forward),
      _up(up),
      _velocity(speed),
      _baseVelocity(speed),
      _velocityMult(1.0f),
      _boost(false),
      _name(name),
      _hitpoints(START_HITPOINTS),
      _matrix(),
      _turnSpeed(TURN_DEGREES_PER_CELL * speed),
      _turnAngle(0.0f),
      _turnAxis(up),
      _turnAxisWorld(up),
      _turning(false),
      _wrapAmount(),
      _wrapped(false),
      _worldSize(world.size()),
      _screenBox(0.0f, 0.0f, 0.0f, 0.0f),
      _bulletHoles(),
      _trailColor(0),
      _movementTrack(),
      _previousSurround(0),
      _surround(0),
      _previousMove(0),
      _move(MovementTrack::MOVE_STRAIGHT),
      _solidSides(0) {
    resetState();
}

Player::~Player() = default;

unsigned int Player::moveOf(direction d) {
    switch (d) {
        case DIR_LEFT: return MovementTrack::MOVE_LEFT;
        case DIR_RIGHT: return MovementTrack::MOVE_RIGHT;
        case DIR_UP: return MovementTrack::MOVE_UP;
        case DIR_DOWN: return MovementTrack::MOVE_DOWN;
        default: return MovementTrack::MOVE_STRAIGHT;
    }
}

void Player::turn(direction d) {
    if (_requestedDirection != DIR_NONE) {
        if (static_cast<int>(_turnQueue.size()) < _maxQueuedTurns) {
            _turnQueue.push_back(d);
        }
        return;
    }
    _turning = true;
    _turnAngle = 0.0f;
    _requestedDirection = d;
    setTurnAxes(d);
}

void Player::setTurnAxes(direction d) {
    switch (d) {
        case DIR_LEFT:
            _turnAxis = Vector3<int>(0, 1, 0);
            _turnAxisWorld = _up;
            break;
        case DIR_RIGHT:
            _turnAxis = Vector3<int>(0, -1, 0);
            _turnAxisWorld = grid::negated(_up);
            break;
        case DIR_UP:
            _turnAxis = Vector3<int>(1, 0, 0);
            _turnAxisWorld = grid::cross(_forward, _up);
            break;
        case DIR_DOWN:
            _turnAxis = Vector3<int>(-1, 0, 0);
            _turnAxisWorld = grid::cross(_up, _forward);
            break;
        default: break;
    }
}

void Player::boost(bool on) {
    _boost = on;
    _velocity = on ? _baseVelocity * _velocityMult : _baseVelocity;
    _turnSpeed = TURN_DEGREES_PER_CELL * _baseVelocity;
}

void Player::velocity(float v) {
    _baseVelocity = v;
    _velocity = _boost ? v * _velocityMult : v;
    _turnSpeed = TURN_DEGREES_PER_CELL * v;
}

void Player::velocityMult(float m) {
    _velocityMult = m;
    _velocity = _boost ? _baseVelocity * m : _baseVelocity;
    _turnSpeed = TURN_DEGREES_PER_CELL * _baseVelocity;
}

void Player::update(double dt) {
    _wrapped = false;
    _updateStartCell = _cell;
    _updateStartForward = _forward;
    _progress += static_cast<float>(dt) * _velocity;

    // At most one boundary per update, however many cells the step spans.
    const bool boundary = _progress >= 1.0f;
    if (boundary) {
        crossBoundary();
        if (_requestedDirection != DIR_NONE) {
            applyRequestedTurn();
        }
    }
    if (_turning) {
        animateTurn(dt);
    }
    _pos = along(_cell, _forward, _progress);
    _unwrappedPos = along(_unwrappedCell, _forward, _progress);
}

void Player::crossBoundary() {
    _previousSurround = _surround;
    _previousMove = _move;
    _previousCell = _cell;

    const int cells = static_cast<int>(_progress);
    const Vector3<int> travelled = grid::scaled(_forward, cells);
    _cell = grid::add(_cell, travelled);
    _unwrappedCell = grid::add(_unwrappedCell, travelled);
    _move = MovementTrack::MOVE_STRAIGHT;
    _progress -= static_cast<float>(cells);

    // Seen with the heading of arrival, before any waiting turn; the playfield wraps the
    // lookups itself, so the cell need not be wrapped yet.
    _surround = static_cast<unsigned int>(_octree.getSurround(_cell, _forward, _up, &_solidSides));
    // The step recorded is that of the cell just left: what surrounded it and the move made there.
    _movementTrack.step(_previousMove, _previousSurround);
    wrap();
}

void Player::applyRequestedTurn() {
    const unsigned int move = moveOf(_requestedDirection);
    if (move != MovementTrack::MOVE_STRAIGHT) {
        grid::turnHeading(move, _forward, _up);
        _move = move;
    }
    _requestedDirection = DIR_NONE;
}

void Player::animateTurn(double dt) {
    _turnAngle += static_cast<float>(dt) * _turnSpeed;
    if (_turnAngle < TURN_END_DEGREES) {
        return;
    }
    _turnAngle = TURN_END_DEGREES;
    // Held at a quarter turn until the boundary has applied the turn.
    if (_requestedDirection != DIR_NONE) {
        return;
    }
    _turning = false;
    _turnAngle = 0.0f;
    if (!_turnQueue.empty()) {
        const direction next = _turnQueue.front();
        _turnQueue.pop_front();
        turn(next);
    }
}

void Player::wrap() {
    _wrapAmount = Vector3<float>();
    wrapAxis(_cell.x, _wrapAmount.x);
    wrapAxis(_cell.y, _wrapAmount.y);
    wrapAxis(_cell.z, _wrapAmount.z);
}

void Player::wrapAxis(int& coordinate, float& amount) {
    // Floor modulo: a long frame can carry the craft several cells past an edge, and it
    // must come in that many cells past the opposite one, not at the edge itself.
    const int wrapped = grid::wrapCoordinate(coordinate, _worldSize);
    if (wrapped == coordinate) {
        return;
    }
    amount = static_cast<float>(wrapped - coordinate);
    coordinate = wrapped;
    _wrapped = true;
}

void Player::reset() {
    resetState();
}

void Player::resetState() {
    _boost = false;
    _hitpoints = START_HITPOINTS;
    _previousSurround = 0;
    _surround = 0;
    _previousMove = 0;
    _move = MovementTrack::MOVE_STRAIGHT;
    _movementTrack.clear();
}

void Player::damage(float amount) {
    _hitpoints -= amount;
}

float Player::turnAngle() const {
    // Once the boundary has turned the heading the drawn angle counts up to 0 from behind.
    if (_turning && _requestedDirection == DIR_NONE) {
        return _turnAngle - TURN_END_DEGREES;
    }
    return _turnAngle;
}

void Player::position(const Vector3<int>& c) {
    _cell = c;
    _unwrappedCell = c;
    update(0.0);
}

int Player::getSurround() {
    return _octree.getSurround(_cell, _forward, _up, &_solidSides);
}

void Player::addBulletHole(const Vector3<float>& pos, const Vector3<float>& normal,
                           const Vector3<float>& orientation) {
    _bulletHoles.addHole(pos, normal, orientation);
}

}  // namespace Vortel
