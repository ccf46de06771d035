#include "world/octreewalk.h"

#include <algorithm>

#include "platform/geometry.h"
#include "world/collectable.h"
#include "world/cubefaces.h"
#include "world/cuberenderer.h"
#include "world/faceocclusion.h"
#include "world/frustumprojection.h"

namespace Vortel {

namespace {

// A pick-up this faint has faded out.
const float VISIBLE_ALPHA = 0.001f;

}  // namespace

OcTreeWalk::OcTreeWalk(std::size_t cellCount)
    : _tree(nullptr),
      _renderer(nullptr),
      _frustum(nullptr),
      _occlusion(nullptr),
      _eye(),
      _nearestFirst(false),
      _nodesVisited(0),
      _facesBatched(0) {
    _meltingCubes.reserve(cellCount);
    _collectables.reserve(cellCount);
}

void OcTreeWalk::run(OcTree& tree, CubeRenderer& renderer, const float frustum[6][4],
                     const FaceOcclusion* occlusion) {
    _tree = &tree;
    _renderer = &renderer;
    _frustum = frustum;
    _occlusion = occlusion;
    // Where the depth buffer decides what the opaque cubes show, nearer faces first let the GL
    // throw away what they hide before shading it; without it the order of drawing shows.
    _nearestFirst = occlusion != nullptr && FrustumProjection(frustum).eye(_eye);
    _meltingCubes.clear();
    _collectables.clear();
    _nodesVisited = 0;
    _facesBatched = 0;

    OcTree::Node& root = *tree.root();
    if (root._count == 0) {
        return;
    }
    const int test = AABBinFrustum(root._box, frustum);
    if (test == FRUSTUM_OUTSIDE) {
        return;
    }
    if (root._terminal) {
        if (root._neighbours != OcTree::NEIGHBOURS_ALL) {
            ageCell(root);
        }
        return;
    }
    walkChildren(root, test);
    if (_nearestFirst) {
        // Fading pick-ups blend with what is behind them: they keep the tree's own order.
        std::sort(_collectables.begin(), _collectables.end(), [this](const Collectable* a, const Collectable* b) {
            return treeOrder(a->pos()) < treeOrder(b->pos());
        });
    }
}

// Where the tree's own walk, children by slot, meets the cell: its coordinates' bits
// interleaved, z y x, from the root down.
unsigned int OcTreeWalk::treeOrder(const Vector3<int>& cell) const {
    unsigned int order = 0;
    for (int bit = _tree->depth() - 1; bit >= 0; --bit) {
        order = (order << 3) | (static_cast<unsigned int>((cell.z >> bit) & 1) << 2) |
                (static_cast<unsigned int>((cell.y >> bit) & 1) << 1) | static_cast<unsigned int>((cell.x >> bit) & 1);
    }
    return order;
}

// A box wholly inside passes that on to everything below it; only boxes that cross the
// frustum have their children tested. Cells are not tested on their own: the smallest
// regions tested are 2 x 2 x 2 cells. Nearest first, the octant holding the eye comes first
// and the one across from it last.
void OcTreeWalk::walkChildren(OcTree::Node& node, int test) {
    // A copy: ageing a child may clear it, but never one of its siblings.
    const unsigned int filled = node._filledChildren;
    for (unsigned int rest = filled; rest != 0; rest &= rest - 1) {
        __builtin_prefetch(&node._children[__builtin_ctz(rest)]->_count);
    }
    const int octant = _nearestFirst ? node.slotToward(_eye) : 0;
    for (int i = 0; i < 8; ++i) {
        const int slot = i ^ octant;
        if ((filled & (1u << slot)) == 0) {
            continue;
        }
        OcTree::Node* const child = node._children[slot];
        if (child->_terminal) {
            if (child->_neighbours != OcTree::NEIGHBOURS_ALL) {
                ageCell(*child);
            }
            continue;
        }
        int childTest = test;
        if (test == FRUSTUM_CROSSING) {
            childTest = AABBinFrustum(child->_box, _frustum);
            ++_nodesVisited;
        }
        if (childTest != FRUSTUM_OUTSIDE) {
            walkChildren(*child, childTest);
        }
    }
}

void OcTreeWalk::ageCell(OcTree::Node& cell) {
    const double now = _tree->time();
    const double elapsed = now - cell._lastTime;
    cell._age += static_cast<float>(elapsed);
    const int kind = cell._count;
    if (isTrailKind(kind)) {
        batchTrailCube(cell);
    } else if (kind == OcTree::CELL_MELTING) {
        const float scale = 1.0f - cell._age * cell._coolingOrMeltSpeed;
        if (scale > 0.0f) {
            _meltingCubes.push_back(MeltingCube{cell._box.min, scale});
        } else {
            _tree->setTerminalNode(cell._box.min, OcTree::SET_CLEAR, 0);
            cell._age = 0.0f;
        }
    } else if (kind == OcTree::CELL_COLLECTABLE && cell._collectable) {
        Collectable* const collectable = cell._collectable.get();
        collectable->animate(elapsed);
        if (collectable->_alpha >= VISIBLE_ALPHA) {
            _collectables.push_back(collectable);
        } else {
            _tree->setTerminalNode(cell._box.min, OcTree::SET_CLEAR_ANY, 0);
            cell._age = 0.0f;
        }
    }
    cell._lastTime = now;
}

// A fresh trail cube shows its trail colour's start shades, then fades to the end
// triplet over its cooling time and keeps that. A cube whose every face is covered or
// hidden puts nothing into the batch.
void OcTreeWalk::batchTrailCube(const OcTree::Node& cell) {
    unsigned char hidden = cell._neighbours;
    if (_occlusion != nullptr) {
        const unsigned char visible = _occlusion->visibleFaces(static_cast<std::size_t>(_tree->index(cell._box.min)));
        hidden = static_cast<unsigned char>(hidden | (~visible & OcTree::NEIGHBOURS_ALL));
    }
    if (hidden == OcTree::NEIGHBOURS_ALL) {
        return;
    }
    const CubeRenderer::trailColors& trail = _renderer->colors().trail(cell._colorIndex);
    if (cell._age < cell._coolingOrMeltSpeed) {
        const float t = cell._age / cell._coolingOrMeltSpeed;
        for (unsigned int shade = 0; shade < 3; ++shade) {
            _renderer->color(shade, trail.gradients[shade].value(t));
        }
    } else {
        _renderer->activeColorTriplet(trail.end);
    }
    _facesBatched += CUBE_FACE_COUNT - __builtin_popcount(hidden);
    _renderer->drawCubeToArray(cell._box, hidden);
}

}  // namespace Vortel
