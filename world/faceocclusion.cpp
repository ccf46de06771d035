#include "world/faceocclusion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/geometry.h"
#include "world/cubefaces.h"
#include "world/frustumprojection.h"

namespace Vortel {

namespace {

// Faces this close to the near or far plane may be clipped, so they hide nothing.
const float CLIP_MARGIN = 1e-4f;
// More copies than the 27 round the eye start a new frame.
const std::size_t MAX_COPIES = 64;
// Cells with faces to show that are remembered one by one for clearing; past that many the
// whole table is cleared.
const std::size_t MAX_MARKED = 1 << 16;
// The copy of the eye's own field among the 27.
const int CENTRE_SLOT = 13;

bool samePlaneValue(float a, float b) { return std::fabs(a - b) <= 1e-4f * std::max(1.0f, std::fabs(a)); }

int floorDiv(float value, int size) {
    const float q = std::floor(value / static_cast<float>(size));
    return static_cast<int>(std::max(-1e6f, std::min(1e6f, q)));
}

void projectCorners(const FrustumProjection& projection, const AABB3<int>& box, ScreenPoint corners[8]) {
    projection.projectBox(Vector3<float>(box.min), Vector3<float>(box.max), corners);
}

// The convex hull of up to eight points, counter-clockwise; returns its size.
int convexHull(const ScreenPoint* points, int count, ScreenPoint* hull) {
    ScreenPoint sorted[8];
    std::copy(points, points + count, sorted);
    std::sort(sorted, sorted + count, [](const ScreenPoint& a, const ScreenPoint& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    const auto turn = [](const ScreenPoint& o, const ScreenPoint& a, const ScreenPoint& b) {
        return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    };
    ScreenPoint chain[16];
    int size = 0;
    for (int i = 0; i < count; ++i) {
        while (size >= 2 && turn(chain[size - 2], chain[size - 1], sorted[i]) <= 0.0f) {
            --size;
        }
        chain[size++] = sorted[i];
    }
    const int lower = size + 1;
    for (int i = count - 2; i >= 0; --i) {
        while (size >= lower && turn(chain[size - 2], chain[size - 1], sorted[i]) <= 0.0f) {
            --size;
        }
        chain[size++] = sorted[i];
    }
    const int hullSize = std::max(0, size - 1);
    std::copy(chain, chain + hullSize, hull);
    return hullSize;
}

}  // namespace

FaceOcclusion::FaceOcclusion(std::size_t cellCount)
    : _tree(nullptr),
      _projection(nullptr),
      _frustum(nullptr),
      _silhouettes(false),
      _cellCount(cellCount),
      _visible(COPIES * cellCount, 0),
      _markedOverflow(false),
      _slot(-1),
      _inFrame(false),
      _frameWrapped(false),
      _framePlanes(),
      _frameTime(0.0),
      _frameStamp(0),
      _frameCount(0) {
    _marked.reserve(MAX_MARKED);
    _drawnCopies.reserve(MAX_COPIES);
}

unsigned char FaceOcclusion::visibleFaces(std::size_t cell) const {
    return _slot < 0 ? static_cast<unsigned char>(OcTree::NEIGHBOURS_ALL) : _visible[static_cast<std::size_t>(_slot) * _cellCount + cell];
}

void FaceOcclusion::run(const OcTree& tree, const float frustum[6][4], double time, bool wrapped) {
    _tree = &tree;
    const FrustumProjection projection(frustum);
    Vector3<int> copy(0, 0, 0);
    const bool perspective = projection.eye(_eye);
    if (perspective) {
        copy.set(floorDiv(_eye.x, tree.size()), floorDiv(_eye.y, tree.size()), floorDiv(_eye.z, tree.size()));
    } else {
        // A parallel view: an eye far back against the depth direction orders the walk.
        const Vector3<float> d = projection.depthDirection();
        _eye.set(-d.x * 1e6f, -d.y * 1e6f, -d.z * 1e6f);
    }
    // The copy drawn here, seen from the copy that holds the eye.
    const Vector3<int> drawn(-copy.x, -copy.y, -copy.z);
    if (wrapped && perspective) {
        if (!sameFrame(frustum, copy, time, false)) {
            const float size = static_cast<float>(tree.size());
            _eye.set(_eye.x - size * copy.x, _eye.y - size * copy.y, _eye.z - size * copy.z);
            findAllCopies();
        }
        const bool near = std::abs(drawn.x) <= 1 && std::abs(drawn.y) <= 1 && std::abs(drawn.z) <= 1;
        _slot = near ? copySlot(drawn) : -1;
        return;
    }

    clearMarks();
    if (!sameFrame(frustum, copy, time, true)) {
        _mask.clear();
    }
    _slot = CENTRE_SLOT;
    _silhouettes = perspective && drawn.x == 0 && drawn.y == 0 && drawn.z == 0 && silhouettesHold(frustum);
    findIn(frustum, projection);
}

// Every copy round the eye's own, nearest copies first so that they fill the mask before
// the ones behind them are tested. All of them will be drawn, so cube outlines may hide
// whatever lies behind them in any copy.
void FaceOcclusion::findAllCopies() {
    clearMarks();
    _mask.clear();
    const float size = static_cast<float>(_tree->size());
    const Vector3<float> eye = _eye;
    _silhouettes = silhouettesHold(_framePlanes);
    for (int distance = 0; distance <= 3; ++distance) {
        for (int z = -1; z <= 1; ++z) {
            for (int y = -1; y <= 1; ++y) {
                for (int x = -1; x <= 1; ++x) {
                    if (std::abs(x) + std::abs(y) + std::abs(z) != distance) {
                        continue;
                    }
                    // The view in the copy's own coordinates.
                    float planes[6][4];
                    for (int p = 0; p < 6; ++p) {
                        const float* const plane = _framePlanes[p];
                        std::copy(plane, plane + 3, planes[p]);
                        planes[p][3] = plane[3] + size * (plane[0] * x + plane[1] * y + plane[2] * z);
                    }
                    _eye.set(eye.x - size * x, eye.y - size * y, eye.z - size * z);
                    _slot = copySlot(Vector3<int>(x, y, z));
                    findIn(planes, FrustumProjection(planes));
                }
            }
        }
    }
    _eye = eye;
}

void FaceOcclusion::clearMarks() {
    if (_markedOverflow) {
        std::fill(_visible.begin(), _visible.end(), 0);
    } else {
        for (const std::uint32_t index : _marked) {
            _visible[index] = 0;
        }
    }
    _marked.clear();
    _markedOverflow = false;
}

int FaceOcclusion::copySlot(const Vector3<int>& copy) { return ((copy.z + 1) * 3 + copy.y + 1) * 3 + copy.x + 1; }

void FaceOcclusion::findIn(const float frustum[6][4], const FrustumProjection& projection) {
    const OcTree::Node& root = *_tree->root();
    if (root._count == 0) {
        return;
    }
    const int test = AABBinFrustum(root._box, frustum);
    if (test == FRUSTUM_OUTSIDE) {
        return;
    }
    _projection = &projection;
    _frustum = frustum;
    if (root._terminal) {
        if (root._neighbours != OcTree::NEIGHBOURS_ALL && isTrailKind(root._count)) {
            testCell(root);
        }
    } else {
        walkChildren(root, test);
    }
    _projection = nullptr;
    _frustum = nullptr;
}

// A field whose kinds were changed, or that was emptied from its root, starts a new frame;
// so does, when repeats count, a copy drawn a second time.
bool FaceOcclusion::sameFrame(const float frustum[6][4], const Vector3<int>& copy, double time, bool repeatsCount) {
    const unsigned long fieldStamp = _tree->_kindChanges;
    const int filled = _tree->root()->_count;
    // The planes as they stand for the copy that holds the eye: the same for every copy of
    // one view.
    const float size = static_cast<float>(_tree->size());
    float planes[6][4];
    for (int p = 0; p < 6; ++p) {
        const float* const plane = frustum[p];
        for (int c = 0; c < 3; ++c) {
            planes[p][c] = plane[c];
        }
        planes[p][3] = plane[3] + size * (plane[0] * copy.x + plane[1] * copy.y + plane[2] * copy.z);
    }
    // A frame of the other kind, one copy after another or all at once, does not go on.
    const bool wrapped = !repeatsCount;
    bool same = _inFrame && wrapped == _frameWrapped && time == _frameTime && fieldStamp == _frameStamp &&
                filled == _frameCount && _drawnCopies.size() < MAX_COPIES;
    for (int p = 0; same && p < 6; ++p) {
        for (int c = 0; same && c < 4; ++c) {
            same = samePlaneValue(planes[p][c], _framePlanes[p][c]);
        }
    }
    const Vector3<int> drawn(-copy.x, -copy.y, -copy.z);
    for (std::size_t i = 0; repeatsCount && same && i < _drawnCopies.size(); ++i) {
        const Vector3<int>& c = _drawnCopies[i];
        same = !(c.x == drawn.x && c.y == drawn.y && c.z == drawn.z);
    }
    if (!same) {
        _inFrame = true;
        _frameWrapped = wrapped;
        _frameTime = time;
        _frameStamp = fieldStamp;
        _frameCount = filled;
        for (int p = 0; p < 6; ++p) {
            for (int c = 0; c < 4; ++c) {
                _framePlanes[p][c] = planes[p][c];
            }
        }
        _drawnCopies.clear();
    }
    if (repeatsCount) {
        _drawnCopies.push_back(drawn);
    }
    return same;
}

// The nodes the drawing walks, in the same frustum tests, nearest octant first so that near
// faces are in the mask before the ones behind them are tested.
void FaceOcclusion::walkChildren(const OcTree::Node& node, int test) {
    const int octant = node.slotToward(_eye);
    const unsigned int filled = node._filledChildren;
    for (int i = 0; i < 8; ++i) {
        const int slot = i ^ octant;
        if ((filled & (1u << slot)) == 0) {
            continue;
        }
        const OcTree::Node& child = *node._children[slot];
        if (child._terminal) {
            if (child._neighbours != OcTree::NEIGHBOURS_ALL && isTrailKind(child._count)) {
                testCell(child);
            }
            continue;
        }
        int childTest = test;
        if (test == FRUSTUM_CROSSING) {
            childTest = AABBinFrustum(child._box, _frustum);
        }
        if (childTest != FRUSTUM_OUTSIDE && !boxHidden(child._box)) {
            walkChildren(child, childTest);
        }
    }
}

bool FaceOcclusion::boxHidden(const AABB3<int>& box) const {
    ScreenPoint corners[8];
    projectCorners(*_projection, box, corners);
    float nearest = corners[0].depth;
    for (const ScreenPoint& c : corners) {
        if (!c.ahead) {
            return false;
        }
        nearest = std::min(nearest, c.depth);
    }
    return _mask.hides(corners, 8, nearest);
}

void FaceOcclusion::testCell(const OcTree::Node& cell) {
    ScreenPoint corners[8];
    projectCorners(*_projection, cell._box, corners);
    // Most cubes lie wholly behind others: one test for the whole cube before its faces.
    bool ahead = true;
    float cubeNearest = corners[0].depth;
    for (const ScreenPoint& c : corners) {
        ahead = ahead && c.ahead;
        cubeNearest = std::min(cubeNearest, c.depth);
    }
    if (ahead && _mask.hides(corners, 8, cubeNearest)) {
        return;
    }
    unsigned char visible = 0;
    for (const CubeFace& face : CUBE_FACES) {
        if ((cell._neighbours & face.hiddenBit) != 0) {
            continue;
        }
        ScreenPoint quad[VERTICES_PER_CUBE_FACE];
        bool ahead = true;
        float nearest = 2.0f;
        float deepest = -1.0f;
        for (int k = 0; k < VERTICES_PER_CUBE_FACE; ++k) {
            quad[k] = corners[face.corners[k]];
            ahead = ahead && quad[k].ahead;
            nearest = std::min(nearest, quad[k].depth);
            deepest = std::max(deepest, quad[k].depth);
        }
        if (!ahead) {
            visible |= face.hiddenBit;  // it reaches round the eye: nothing can be said
            continue;
        }
        if (deepest < 0.0f || nearest > 1.0f || _mask.hides(quad, VERTICES_PER_CUBE_FACE, nearest)) {
            continue;
        }
        visible |= face.hiddenBit;
        if (!_silhouettes && !frontFacesDrawn(cell) && nearest > CLIP_MARGIN && deepest < 1.0f - CLIP_MARGIN) {
            _mask.cover(quad, VERTICES_PER_CUBE_FACE, deepest);
        }
    }
    if (visible != 0 && (_silhouettes || frontFacesDrawn(cell))) {
        coverSilhouette(corners);
    }
    if (visible != 0) {
        const std::size_t index =
            static_cast<std::size_t>(_slot) * _cellCount + static_cast<std::size_t>(_tree->index(cell._box.min));
        _visible[index] = visible;
        if (_marked.size() < MAX_MARKED) {
            _marked.push_back(static_cast<std::uint32_t>(index));
        } else {
            _markedOverflow = true;
        }
    }
}

}  // namespace Vortel

namespace Vortel {

// Seen from outside every trail cube, a ray into a cube's outline first meets the trail cubes
// where they border on empty space: a face the batch holds, or one that something nearer
// hides. So the whole outline is covered by the cube's depth or nearer, also where two faces
// meet, which face by face would leave a crack. That holds in the copy that holds the eye,
// when nothing is solid that is not drawn, and when no trail cube reaches the near plane.
void FaceOcclusion::coverSilhouette(const ScreenPoint corners[8]) {
    float nearest = corners[0].depth;
    float deepest = corners[0].depth;
    for (int c = 0; c < 8; ++c) {
        if (!corners[c].ahead) {
            return;
        }
        nearest = std::min(nearest, corners[c].depth);
        deepest = std::max(deepest, corners[c].depth);
    }
    if (nearest <= CLIP_MARGIN || deepest >= 1.0f - CLIP_MARGIN) {
        return;
    }
    ScreenPoint hull[8];
    const int size = convexHull(corners, 8, hull);
    _mask.cover(hull, size, deepest);
}

// Seen from outside a cube, its faces turned towards the eye make up its whole outline; when
// none of them is covered by a neighbour, all of them go into the batch (or lie behind
// something nearer), so the outline is covered in one piece, without cracks between faces.
bool FaceOcclusion::frontFacesDrawn(const OcTree::Node& cell) const {
    const AABB3<int>& box = cell._box;
    unsigned char front = 0;
    front |= _eye.x > static_cast<float>(box.max.x) ? OcTree::NEIGHBOUR_X_PLUS : 0;
    front |= _eye.x < static_cast<float>(box.min.x) ? OcTree::NEIGHBOUR_X_MINUS : 0;
    front |= _eye.y > static_cast<float>(box.max.y) ? OcTree::NEIGHBOUR_Y_PLUS : 0;
    front |= _eye.y < static_cast<float>(box.min.y) ? OcTree::NEIGHBOUR_Y_MINUS : 0;
    front |= _eye.z > static_cast<float>(box.max.z) ? OcTree::NEIGHBOUR_Z_PLUS : 0;
    front |= _eye.z < static_cast<float>(box.min.z) ? OcTree::NEIGHBOUR_Z_MINUS : 0;
    return front != 0 && (cell._neighbours & front) == 0;
}

// Nothing is solid that is not drawn, and no trail cube of the 27 cells round the eye comes
// within a small distance of the near plane's part inside the view.
bool FaceOcclusion::silhouettesHold(const float frustum[6][4]) const {
    if (_tree->_untrailedSolids != 0) {
        return false;
    }
    const float* const nearPlane = frustum[5];
    const float length = std::sqrt(nearPlane[0] * nearPlane[0] + nearPlane[1] * nearPlane[1] + nearPlane[2] * nearPlane[2]);
    const float reach = 0.02f * length;
    float slab[6][4];
    for (int p = 0; p < 4; ++p) {
        std::copy(frustum[p], frustum[p] + 4, slab[p]);
    }
    for (int c = 0; c < 3; ++c) {
        slab[4][c] = -nearPlane[c];
        slab[5][c] = nearPlane[c];
    }
    slab[4][3] = reach - nearPlane[3];
    slab[5][3] = reach + nearPlane[3];
    const Vector3<int> centre(static_cast<int>(std::floor(_eye.x)), static_cast<int>(std::floor(_eye.y)),
                              static_cast<int>(std::floor(_eye.z)));
    for (int z = -1; z <= 1; ++z) {
        for (int y = -1; y <= 1; ++y) {
            for (int x = -1; x <= 1; ++x) {
                const Vector3<int> cell(centre.x + x, centre.y + y, centre.z + z);
                if (!isTrailKind(_tree->getTerminalNode(cell)->_count)) {
                    continue;
                }
                const Vector3<float> low(static_cast<float>(cell.x), static_cast<float>(cell.y),
                                         static_cast<float>(cell.z));
                const Vector3<float> high(low.x + 1.0f, low.y + 1.0f, low.z + 1.0f);
                if (AABBinFrustum(low, high, slab) != FRUSTUM_OUTSIDE) {
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace Vortel
