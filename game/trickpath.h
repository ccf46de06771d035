#ifndef QUELLARIS_GAME_TRICKPATH_H
#define QUELLARIS_GAME_TRICKPATH_H

#include <list>

#include "actors/movementtrack.h"
#include "actors/player.h"
#include "platform/aabb3.h"
#include "platform/matrix.h"
#include "platform/simplecamera.h"
#include "platform/vector3.h"

// The layout of a trick illustration: the path a trick's steps trace from the origin,
// heading along -z with +y up, where it turns, where its arrow points and where the camera
// looks at it from. Plain arithmetic, so the picture's layout tests without a context.

namespace Vortel {

// One cell of an illustrated path.
struct TrickPathCell {
    enum Kind { CUBE, CORNER, ARROW };

    Kind kind = CUBE;
    Vector3<int> cell;
    // Corners only: the turn taken in the cell.
    Player::direction turn = Player::DIR_NONE;
    // The heading on entering the cell, and after it (the arrow's is the path's last).
    Vector3<int> entryForward;
    Vector3<int> forward;
    Vector3<int> up;
};

// The turn of a step's move bits: left 1, right 2, up 4, down 8; anything else goes straight.
Player::direction turnOfMove(unsigned int move);

// Calls visit(const TrickPathCell&) for every step of a trick, oldest first (the list is
// newest first): a corner where the step turns, else a cube; then one more cube, and last
// the arrow cell beyond it.
template <typename Visit>
void walkTrickPath(const std::list<MovementTrack::Step>& newestFirst, Visit&& visit) {
    TrickPathCell c;
    c.forward = Vector3<int>::Z_MINUS;
    c.up = Vector3<int>::Y_PLUS;
    for (auto step = newestFirst.rbegin(); step != newestFirst.rend(); ++step) {
        c.entryForward = c.forward;
        c.turn = turnOfMove(step->move);
        c.kind = c.turn == Player::DIR_NONE ? TrickPathCell::CUBE : TrickPathCell::CORNER;
        grid::turnHeading(step->move, c.forward, c.up);
        visit(static_cast<const TrickPathCell&>(c));
        c.cell = grid::add(c.cell, c.forward);
    }
    c.entryForward = c.forward;
    c.turn = Player::DIR_NONE;
    c.kind = TrickPathCell::CUBE;
    visit(static_cast<const TrickPathCell&>(c));
    c.cell = grid::add(c.cell, c.forward);
    c.kind = TrickPathCell::ARROW;
    visit(static_cast<const TrickPathCell&>(c));
}

// The box round every cell of the path, the arrow's included.
AABB3<float> trickPathBounds(const std::list<MovementTrack::Step>& newestFirst);

// The fixed oblique camera framed on the path's bounds, for a view of that width over height.
SimpleCamera trickIllustrationCamera(const AABB3<float>& bounds, float aspect);

// The frame of a heading: columns up x forward, up, forward, no translation.
Matrix headingFrame(const Vector3<int>& forward, const Vector3<int>& up);

// Where an obstacle cell of a trick stands in the illustration: a trick keeps its
// obstacles in a frame mirrored through the origin.
inline Vector3<int> illustratedObstacle(const Vector3<int>& obstacle) { return grid::negated(obstacle); }

}  // namespace Vortel

#endif
