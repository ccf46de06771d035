#ifndef QUELLARIS_ACTORS_MOVEMENTTRACK_H
#define QUELLARIS_ACTORS_MOVEMENTTRACK_H

#include <list>
#include <string>

namespace Vortel {

class Trick;
class TrickLibrary;

// The short memory of a craft's recent cell steps, newest first, and the matcher that
// finds tricks in it. A trick pattern is a track too, so one type serves both.
class MovementTrack {
public:
    // Directions use the same bit in both fields, so a step can tell whether its move
    // went toward a solid neighbour.
    struct Step {
        unsigned int surround;
        unsigned int move;
    };

    enum Move : unsigned int {
        MOVE_LEFT = 1,
        MOVE_RIGHT = 2,
        MOVE_UP = 4,
        MOVE_DOWN = 8,
        MOVE_STRAIGHT = 16,
        MOVE_ANY = 64  // trick patterns only
    };

    enum Surround : unsigned int {
        SURROUND_LEFT = 1,
        SURROUND_RIGHT = 2,
        SURROUND_UP = 4,
        SURROUND_DOWN = 8,
        SURROUND_FRONT = 16,
        SURROUND_COLLISION = 32,
        SURROUND_ANY = 64  // trick patterns only
    };

    enum MatchResult {
        MATCH_NONE = 0,
        MATCH_EARLIER = 1,  // the whole pattern matched and ended before the newest step
        MATCH_CURRENT = 2   // the match reaches the newest step, complete or still running
    };

    // A new track holds nodes for its whole bound already, so recording never allocates.
    MovementTrack();
    virtual ~MovementTrack() = default;
    // Copies the steps, bound and match count; the copy keeps its own spare nodes and
    // allocates only for steps beyond what it already holds.
    MovementTrack(const MovementTrack& other);
    MovementTrack& operator=(const MovementTrack& other);

    std::list<Step>& steps() { return _steps; }
    const std::list<Step>& steps() const { return _steps; }

    void step(unsigned int move, unsigned int surround);

    // Keeps the newest two steps, so the step that ended a trick can begin the next. The
    // nodes of the steps let go are kept for the steps to come.
    virtual void clear();

    unsigned int maxSteps() const { return _maxSteps; }
    void maxSteps(unsigned int n);

    int matchLength() const { return _matchLength; }

    int match(const MovementTrack& pattern);
    int match(const TrickLibrary& library, Trick& out);

    std::string str() const;

protected:
    // Moves the oldest steps into the spare nodes until at most n remain.
    void keepNewest(std::size_t n);

    unsigned int _maxSteps;
    std::list<Step> _steps;
    int _matchLength;

private:
    std::list<Step> _spare;  // nodes of steps let go, reused before any allocation
};

}  // namespace Vortel

#endif
