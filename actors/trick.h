#ifndef QUELLARIS_ACTORS_TRICK_H
#define QUELLARIS_ACTORS_TRICK_H

#include <list>
#include <string>

#include "actors/movementtrack.h"
#include "platform/vector3.h"

namespace Vortel {

// A named manoeuvre: its steps are the pattern (the first step oldest), with the points
// it earns, its menu texts, the turn keys that fly it and the obstacle cells that show
// where it is flown, in the trick's own frame.
class Trick : public MovementTrack {
public:
    Trick();

    // Empties everything, unlike a craft's track, which keeps its newest steps.
    void clear() override;

    const std::string& name() const { return _name; }
    void name(const std::string& text) { _name = text; }
    const std::string& subname() const { return _subname; }
    void subname(const std::string& text) { _subname = text; }
    const std::string& description() const { return _description; }
    void description(const std::string& text) { _description = text; }
    const std::string& rank() const { return _rank; }
    void rank(const std::string& text) { _rank = text; }
    const std::string& keySequence() const { return _keySequence; }

    int score() const { return _score; }
    void score(int points) { _score = points; }

    std::list<Vector3<int> >& obstacles() { return _obstacles; }
    const std::list<Vector3<int> >& obstacles() const { return _obstacles; }
    void addObstacle(const Vector3<int>& cell);
    void addObstacle(int x, int y, int z);

    // One letter per step, L, R, U or D for the turn to press, * for anything else.
    void generateKeySequence();
    void autoGenerateObstacles();
    // Grows every obstacle into a line of cells along each axis with a positive extent.
    void expandObstacles(const Vector3<int>& extent, bool both);

    bool operator<(const Trick& other) const { return _steps.size() < other._steps.size(); }

private:
    std::string _name;
    std::string _subname;
    int _score;
    std::list<Vector3<int> > _obstacles;
    std::string _description;
    std::string _rank;
    std::string _keySequence;
};

}  // namespace Vortel

#endif
