#include "actors/trick.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "actors/grid.h"

namespace Vortel {
namespace {

using Cell = Vector3<int>;

using grid::cross;
using grid::negated;

}  // namespace

Trick::Trick()
    : MovementTrack(), _name(), _subname(), _score(0), _obstacles(), _description(), _rank(), _keySequence() {}

void Trick::clear() {
    _steps.clear();
    _obstacles.clear();
    _name.clear();
    _subname.clear();
    _description.clear();
    _rank.clear();
    _keySequence.clear();
    _score = 0;
}

void Trick::addObstacle(const Vector3<int>& cell) {
    if (std::find(_obstacles.begin(), _obstacles.end(), cell) == _obstacles.end()) {
        _obstacles.push_back(cell);
    }
}

void Trick::addObstacle(int x, int y, int z) {
    addObstacle(Vector3<int>(x, y, z));
}

void Trick::generateKeySequence() {
    _keySequence.clear();
    for (auto s = _steps.rbegin(); s != _steps.rend(); ++s) {
        switch (s->move) {
            case MOVE_LEFT: _keySequence += 'L'; break;
            case MOVE_RIGHT: _keySequence += 'R'; break;
            case MOVE_UP: _keySequence += 'U'; break;
            case MOVE_DOWN: _keySequence += 'D'; break;
            default: _keySequence += '*'; break;
        }
    }
}

void Trick::autoGenerateObstacles() {
    // The walk's frame mirrors the playfield's in y; whoever places the cells negates y.
    // The side vector s stands on the side that the value 2 (right) names.
    Cell position(0, 0, 0);
    Cell forward(0, 0, 1);
    Cell up(0, -1, 0);
    Cell side = cross(up, forward);
    for (auto s = _steps.rbegin(); s != _steps.rend(); ++s) {
        switch (s->surround) {
            case SURROUND_LEFT: addObstacle(grid::sub(position, side)); break;
            case SURROUND_RIGHT: addObstacle(grid::add(position, side)); break;
            case SURROUND_UP: addObstacle(grid::add(position, up)); break;
            case SURROUND_DOWN: addObstacle(grid::sub(position, up)); break;
            case SURROUND_FRONT: addObstacle(grid::add(position, forward)); break;
            default: break;  // combinations and wildcards name no single cell
        }
        const Cell oldForward = forward;
        switch (s->move) {
            case MOVE_RIGHT: forward = side; break;
            case MOVE_LEFT: forward = negated(side); break;
            case MOVE_UP:
                forward = up;
                up = negated(oldForward);
                break;
            case MOVE_DOWN:
                forward = negated(up);
                up = oldForward;
                break;
            default: break;
        }
        position = grid::add(position, forward);
        side = cross(up, forward);
    }
}

void Trick::expandObstacles(const Vector3<int>& extent, bool both) {
    const int extents[3] = {extent.x, extent.y, extent.z};
    const Cell axes[3] = {Cell(1, 0, 0), Cell(0, 1, 0), Cell(0, 0, 1)};
    // New cells go to the back; only the obstacles present on entry are grown.
    const std::size_t original = _obstacles.size();
    auto obstacle = _obstacles.begin();
    for (std::size_t n = 0; n < original; ++n, ++obstacle) {
        const Cell origin = *obstacle;
        for (int a = 0; a < 3; ++a) {
            for (int i = 0; i <= extents[a]; ++i) {
                const Cell offset = grid::scaled(axes[a], i);
                addObstacle(grid::add(origin, offset));
                if (both) {
                    addObstacle(grid::sub(origin, offset));
                }
            }
        }
    }
}

}  // namespace Vortel
