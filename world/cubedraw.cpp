#include "world/cubedraw.h"

#include "world/octree.h"

namespace Vortel {

namespace {

int wrap(int c, int size) {
    const int r = c % size;
    return r < 0 ? r + size : r;
}

}  // namespace

void CubeDraw::clampToOctree(Vector3<int>& c) const {
    const int size = _tree.size();
    c.set(wrap(c.x, size), wrap(c.y, size), wrap(c.z, size));
}

// Every later cell is wrapped into the field, so the start must be too, or it is never met
// again.
void CubeDraw::line(Vector3<int> start, Vector3<int> step, int kind, unsigned char colorIndex) {
    clampToOctree(start);
    // A wrapped step lays the same cells and cannot overflow.
    clampToOctree(step);
    Vector3<int> current = start;
    do {
        _tree.setTerminalNode(current, kind, colorIndex);
        current.set(current.x + step.x, current.y + step.y, current.z + step.z);
        clampToOctree(current);
    } while (current != start);
}

}  // namespace Vortel
