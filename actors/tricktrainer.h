#ifndef QUELLARIS_ACTORS_TRICKTRAINER_H
#define QUELLARIS_ACTORS_TRICKTRAINER_H

#include "actors/movementtrack.h"
#include "actors/trick.h"
#include "platform/vector3.h"

namespace Vortel {

class OcTree;
class Player;

// Follows one trick while the person flies it: told each step the craft records, it advises
// the next move and judges the steps already flown, two steps behind its advice (a recorded
// step describes the cell just left, and the advice is for the cell after the next).
class TrickTrainer {
public:
    enum Advice {
        ADVICE_LEFT = 0,
        ADVICE_RIGHT = 1,
        ADVICE_UP = 2,
        ADVICE_DOWN = 3,
        ADVICE_STRAIGHT = 4,
        ADVICE_NONE = 5,  // every step advised, the last checks still to come
        ADVICE_FAILED = 6,
        ADVICE_SUCCESS = 7
    };

    explicit TrickTrainer(OcTree& octree);

    // Takes its own copy; a short trick is padded with a wildcard step so that checking,
    // which starts with the third step given, covers it before it ends.
    void trick(const Trick& trick);
    void beginTrick();
    // Stops following the trick without a verdict: advice() keeps its value.
    void endTrick();
    void clearSteps();

    void step(unsigned int move, unsigned int surround);
    void step(const MovementTrack::Step& recorded) { step(recorded.move, recorded.surround); }

    bool doingTrick() const { return _doingTrick; }
    int advice() const { return _advice; }

    // Whether flying the trick's moves from the craft's cell and heading through the
    // playfield as it stands meets every surround the trick asks for without a crash.
    bool trickPossible(const Player& craft, const Trick& trick) const;
    // Re-records the track's moves along the path they take from the given cell and heading,
    // with the surround the playfield gives on that path.
    void regenerateMovementTrackForDifferentPosition(MovementTrack& track, Vector3<int> cell, Vector3<int> forward,
                                                     Vector3<int> up) const;

private:
    // Step number k of the trick in flying order, 1 for the first to fly.
    const MovementTrack::Step& flownStep(int k) const;
    int stepCount() const { return static_cast<int>(_trick.steps().size()); }
    void stopTrick(int advice);

    OcTree& _octree;
    Trick _trick;
    // Steps already advised and already checked; checking that has not begun also reads
    // as finished, since it starts from the end.
    int _advicePos;
    int _checkPos;
    int _stepCount;
    int _advice;
    bool _doingTrick;
};

}  // namespace Vortel

#endif
