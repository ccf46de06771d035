#ifndef QUELLARIS_ACTORS_PLAYER_H
#define QUELLARIS_ACTORS_PLAYER_H

#include <deque>
#include <string>

#include "actors/grid.h"
#include "actors/movementtrack.h"
#include "platform/aabb2.h"
#include "platform/matrix.h"
#include "platform/vector3.h"
#include "world/bulletholes.h"

namespace Vortel {

class OcTree;

// A craft flying cell to cell through the wrapping playfield, turning in quarter turns at
// cell boundaries. The person's craft is one; every chaser derives from it. It neither
// draws nor sounds nor changes the playfield: the game lays the trail from these fields,
// which is why they are all open.
class Player {
public:
    enum direction { DIR_NONE = 0, DIR_LEFT = 1, DIR_RIGHT = 2, DIR_UP = 3, DIR_DOWN = 4 };

    // The recorded move a turn makes; MOVE_STRAIGHT for anything but the four turns.
    static unsigned int moveOf(direction d);

    Player(const std::string& name, Vector3<int> cell, Vector3<int> forward, Vector3<int> up, float speed,
           OcTree& world);
    virtual ~Player();

    // Taken at the next cell boundary; while one waits, up to two more queue behind it.
    virtual void turn(direction d);
    virtual void boost(bool on);
    virtual void update(double dt);
    // Start condition for a new game; cell, heading and speed carry on.
    virtual void reset();
    virtual void damage(float amount);
    // Degrees from the heading the craft is drawn at, continuous across the boundary.
    virtual float turnAngle() const;
    float turnAngleAbs() const { return _turnAngle; }

    void velocity(float v);
    void velocityMult(float m);
    // The caller keeps forward and up perpendicular.
    void orientation(const Vector3<int>& f) { _forward = f; }
    void up(const Vector3<int>& u) { _up = u; }
    // Places the craft without wrapping and recomputes its position where it stands.
    void position(const Vector3<int>& c);
    void wrap();
    int getSurround();
    void addBulletHole(const Vector3<float>& pos, const Vector3<float>& normal, const Vector3<float>& orientation);

    Vector3<float>& wrappedAmmount() { return _wrapAmount; }
    bool wrapped() const { return _wrapped; }
    MovementTrack& movementTrack() { return _movementTrack; }
    direction requestedDirection() const { return _requestedDirection; }

    OcTree& _octree;
    direction _requestedDirection;
    std::deque<direction> _turnQueue;
    int _maxQueuedTurns;
    Vector3<int> _cell;
    // Where the game lays the trail cube.
    Vector3<int> _previousCell;
    // Differs from _cell after an update exactly when a new cell was entered.
    Vector3<int> _updateStartCell;
    Vector3<float> _pos;
    Vector3<int> _unwrappedCell;
    Vector3<float> _unwrappedPos;
    float _progress;
    Vector3<int> _forward;
    Vector3<int> _updateStartForward;
    Vector3<int> _up;
    float _velocity;
    float _baseVelocity;
    float _velocityMult;
    bool _boost;
    std::string _name;
    float _hitpoints;
    Matrix _matrix;
    float _turnSpeed;
    float _turnAngle;
    Vector3<int> _turnAxis;
    Vector3<int> _turnAxisWorld;
    bool _turning;
    // What the last wrap added to the position; things that keep their place relative to
    // the craft add it too.
    Vector3<float> _wrapAmount;
    bool _wrapped;
    int _worldSize;
    Quib::AABB2<float> _screenBox;
    BulletHoles _bulletHoles;
    unsigned char _trailColor;
    MovementTrack _movementTrack;
    unsigned int _previousSurround;
    unsigned int _surround;
    unsigned int _previousMove;
    unsigned int _move;
    int _solidSides;

protected:
    // The rotation axis of a turn in d, in the craft's own frame and in the grid's.
    void setTurnAxes(direction d);

private:
    void resetState();
    void crossBoundary();
    void applyRequestedTurn();
    void animateTurn(double dt);
    void wrapAxis(int& coordinate, float& amount);
};

}  // namespace Vortel

#endif
