#ifndef QUELLARIS_WORLD_CUBEDRAW_H
#define QUELLARIS_WORLD_CUBEDRAW_H

#include "platform/math.h"

namespace Vortel {

class OcTree;

// Lays straight lines of cells into a playfield: from a start cell it steps by a fixed
// offset, wrapping round the field's edges, until the walk comes back to the start.
class CubeDraw {
public:
    explicit CubeDraw(OcTree& octree) : _tree(octree) {}

    // Wraps each coordinate into 0 ... size - 1 of the bound field.
    void clampToOctree(Vector3<int>& c) const;

    // Applies the command (a solid kind fills only empty cells) to every cell of the wrapped
    // line from start. A start outside the field is wrapped first, so the walk always ends.
    void line(Vector3<int> start, Vector3<int> step, int kind, unsigned char colorIndex);

private:
    OcTree& _tree;
};

}  // namespace Vortel

#endif
