#ifndef QUELLARIS_WORLD_COVERAGEMASK_H
#define QUELLARIS_WORLD_COVERAGEMASK_H

#include <vector>

#include "world/frustumprojection.h"

namespace Vortel {

// A coarse picture of what the faces drawn so far cover: for each block of the screen, the
// depth behind which everything in that block is certainly hidden. A block counts only
// where one drawn face covers it whole, and it keeps the deepest depth of that face, so the
// mask never claims more than the depth buffer will hold.
//
// A shape is hidden only when it lies behind that depth by more than the depth buffer can
// tell apart (16 bits and GL's rounding), everywhere it could reach: then no fragment of it
// can pass the depth test nor tie with the nearer face, whatever the order of drawing.
class CoverageMask {
public:
    static constexpr int WIDTH = 160;
    static constexpr int HEIGHT = 120;
    // Blocks are kept in tiles of TILE x TILE, each with the deepest depth of its blocks,
    // so that a shape behind a whole tile, or behind the whole screen, is found at once.
    static constexpr int TILE = 8;
    static constexpr int TILES_X = WIDTH / TILE;
    static constexpr int TILES_Y = HEIGHT / TILE;

    CoverageMask();

    void clear();

    // True when the shape spanned by the points (all ahead of the eye), whose nearest depth
    // is `nearest`, lies wholly off the screen or wholly behind what the mask holds.
    bool hides(const ScreenPoint* points, int count, float nearest) const;

    // Records a drawn convex polygon (all points ahead of the eye and between the near and
    // far planes, in either winding) in the blocks that it covers whole, at the depth behind
    // which it hides everything.
    void cover(const ScreenPoint* polygon, int count, float deepest);

private:
    float tileDepth(int tile) const;
    float screenDepth() const;

    std::vector<float> _depth;  // row by row from the bottom; past the far plane where empty
    // Bounds on the deepest depth of each tile and of the screen, always at least as deep as
    // the blocks; a stale one is found again from its blocks when it is not near enough.
    mutable std::vector<float> _tileDepth;
    mutable std::vector<bool> _tileStale;
    // The nearest depth of each tile's blocks, kept exact: a shape that reaches into a tile
    // lying wholly before it cannot be hidden.
    std::vector<float> _tileNearest;
    mutable float _screenDepth;
    mutable bool _screenStale;
    mutable int _coversSinceScreenBound;
    float _nearestCover;  // the nearest depth any cover recorded
};

}  // namespace Vortel

#endif
