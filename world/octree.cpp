#include "world/octree.h"

#include <stdexcept>

#include "platform/crand.h"
#include "platform/geometry.h"
#include "world/faceocclusion.h"
#include "world/octreewalk.h"

namespace Vortel {

namespace {

const int MAX_DEPTH = 8;

Vector3<int> plus(const Vector3<int>& a, const Vector3<int>& b) {
    return Vector3<int>(a.x + b.x, a.y + b.y, a.z + b.z);
}

Vector3<int> minus(const Vector3<int>& a, const Vector3<int>& b) {
    return Vector3<int>(a.x - b.x, a.y - b.y, a.z - b.z);
}

Vector3<int> cross(const Vector3<int>& a, const Vector3<int>& b) {
    return Vector3<int>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// The face neighbours of a cell, each with the bit that it keeps for the cell (the bit
// facing back towards it).
struct FaceNeighbour {
    Vector3<int> step;
    unsigned char bitInNeighbour;
};

const FaceNeighbour FACE_NEIGHBOURS[6] = {
    {Vector3<int>(1, 0, 0), OcTree::NEIGHBOUR_X_MINUS}, {Vector3<int>(-1, 0, 0), OcTree::NEIGHBOUR_X_PLUS},
    {Vector3<int>(0, 1, 0), OcTree::NEIGHBOUR_Y_MINUS}, {Vector3<int>(0, -1, 0), OcTree::NEIGHBOUR_Y_PLUS},
    {Vector3<int>(0, 0, 1), OcTree::NEIGHBOUR_Z_MINUS}, {Vector3<int>(0, 0, -1), OcTree::NEIGHBOUR_Z_PLUS},
};

std::size_t innerNodeCount(int depth) {
    // 1 + 8 + 64 + ... over the levels above the cells.
    std::size_t count = 0;
    std::size_t level = 1;
    for (int i = 0; i < depth; ++i) {
        count += level;
        level *= 8;
    }
    return count;
}

int checkedDepth(int depth) {
    if (depth < 0 || depth > MAX_DEPTH) {
        throw std::runtime_error("Invalid playfield depth");
    }
    return depth;
}

}  // namespace

// ---- Node ------------------------------------------------------------------------------

OcTree::Node::Node()
    : _children{},
      _box(),
      _count(0),
      _age(0.0f),
      _coolingOrMeltSpeed(0.0f),
      _lastTime(0.0),
      _terminal(true),
      _neighbours(0),
      _colorIndex(0),
      _filledChildren(0) {}

void OcTree::Node::clear(double time) {
    _count = 0;
    if (!_terminal) {
        _filledChildren = 0;
        for (Node* child : _children) {
            child->clear(time);
        }
        return;
    }
    _collectable.reset();
    _age = 0.0f;
    _neighbours = 0;
    _lastTime = time;
}

void OcTree::Node::rayHit(const Ray3<float>& ray, std::list<NodeHitInfo>& hits) { collectRayHits(ray, hits); }

void OcTree::Node::rayHit(const Ray3<float>& ray, std::vector<NodeHitInfo>& hits) { collectRayHits(ray, hits); }

template <typename Hits>
void OcTree::Node::collectRayHits(const Ray3<float>& ray, Hits& hits) {
    if (_count == CELL_EMPTY || !RayAABBintersection(_box.min, _box.max, ray)) {
        return;
    }
    if (!_terminal) {
        for (unsigned int rest = _filledChildren; rest != 0; rest &= rest - 1) {
            _children[__builtin_ctz(rest)]->collectRayHits(ray, hits);
        }
        return;
    }
    if (_count == CELL_MELTING || _count == CELL_COLLECTABLE) {
        return;
    }
    const Vector3<float> offset(_box.min.x + 0.5f - ray.origin.x, _box.min.y + 0.5f - ray.origin.y,
                                _box.min.z + 0.5f - ray.origin.z);
    hits.push_back(NodeHitInfo{this, offset, offset.x * offset.x + offset.y * offset.y + offset.z * offset.z});
}

// ---- Construction ----------------------------------------------------------------------

OcTree::OcTree(int depth) : OcTree(depth, nullptr) {}

OcTree::OcTree(int depth, CubeRenderer& renderer) : OcTree(depth, &renderer) {}

OcTree::OcTree(int depth, CubeRenderer* renderer)
    : _depth(checkedDepth(depth)),
      _size(1 << _depth),
      _cells(static_cast<std::size_t>(_size) * _size * _size),
      _innerNodes(innerNodeCount(_depth)),
      _root(nullptr),
      _time(0.0),
      _trailCoolingTime(3.0f),
      _meltSpeedMin(1.0f),
      _meltSpeedMax(4.0f),
      _renderReflections(false),
      _renderer(renderer),
      _walk(),
      _occlusionCulling(true),
      _wrappedDrawing(false),
      _occlusion(),
      _drawnCoverage(nullptr),
      _kindChanges(0),
      _untrailedSolids(0),
      _blackCubeID(0) {
    // A tree of depth 0 is its one cell, so that the root and the flat array agree.
    _root = _depth == 0 ? &_cells[0] : &_innerNodes[0];
    std::size_t nextInner = _depth == 0 ? 0 : 1;
    buildNode(*_root, Vector3<int>(0, 0, 0), Vector3<int>(_size, _size, _size), 0, nextInner);
}

OcTree::~OcTree() {}

void OcTree::buildNode(Node& node, const Vector3<int>& min, const Vector3<int>& max, int level,
                       std::size_t& nextInner) {
    node._box = AABB3<int>(min, max);
    node._terminal = level == _depth;
    if (node._terminal) {
        return;
    }
    const Vector3<int> half((max.x - min.x) / 2, (max.y - min.y) / 2, (max.z - min.z) / 2);
    int slot = 0;
    for (int z = 0; z < 2; ++z) {
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 2; ++x, ++slot) {
                const Vector3<int> childMin(min.x + x * half.x, min.y + y * half.y, min.z + z * half.z);
                Node* const child = level + 1 == _depth ? &_cells[static_cast<std::size_t>(index(childMin))]
                                                         : &_innerNodes[nextInner++];
                buildNode(*child, childMin, plus(childMin, half), level + 1, nextInner);
                node._children[slot] = child;
            }
        }
    }
}

// ---- Lookup ----------------------------------------------------------------------------

void OcTree::validateCoord(Vector3<int>& c) const {
    // The edge is a power of two, so masking the two's-complement bits is floor modulo.
    const unsigned int mask = static_cast<unsigned int>(_size - 1);
    c.x = static_cast<int>(static_cast<unsigned int>(c.x) & mask);
    c.y = static_cast<int>(static_cast<unsigned int>(c.y) & mask);
    c.z = static_cast<int>(static_cast<unsigned int>(c.z) & mask);
}

OcTree::Node* OcTree::getTerminalNode(const Vector3<int>& c) {
    Vector3<int> wrapped = c;
    validateCoord(wrapped);
    return &_cells[static_cast<std::size_t>(index(wrapped))];
}

const OcTree::Node* OcTree::getTerminalNode(const Vector3<int>& c) const {
    Vector3<int> wrapped = c;
    validateCoord(wrapped);
    return &_cells[static_cast<std::size_t>(index(wrapped))];
}

bool OcTree::isTrail(const Vector3<int>& c) const { return isTrailKind(getTerminalNode(c)->_count); }

int OcTree::getSurround(Vector3<int> cell, Vector3<int> forward, Vector3<int> up, int* count) const {
    const Vector3<int> left = cross(up, forward);
    const Vector3<int> right = cross(forward, up);
    struct Side {
        Vector3<int> cell;
        int bit;
    };
    const Side sides[4] = {{plus(cell, up), SURROUND_UP},
                           {minus(cell, up), SURROUND_DOWN},
                           {plus(cell, left), SURROUND_LEFT},
                           {plus(cell, right), SURROUND_RIGHT}};
    int mask = 0;
    int solidSides = 0;
    for (const Side& side : sides) {
        if (isTrail(side.cell)) {
            mask |= side.bit;
            ++solidSides;
        }
    }
    if (isTrail(plus(cell, forward))) {
        mask |= SURROUND_AHEAD;
    }
    if (count != nullptr) {
        *count = solidSides;
    }
    return mask;
}

// ---- Commands --------------------------------------------------------------------------

bool OcTree::setTerminalNode(const Vector3<int>& c, int command, unsigned char colorIndex) {
    Vector3<int> wrapped = c;
    validateCoord(wrapped);
    Node& cell = _cells[static_cast<std::size_t>(index(wrapped))];
    const int change = applyCommand(cell, command, colorIndex);
    if (change != 0) {
        addToCounts(wrapped, change);
    }
    return change != 0;
}

// The cell step: +1 when an empty cell gets a kind, -1 when a filled cell becomes empty,
// 0 otherwise; the caller carries it up the tree.
int OcTree::applyCommand(Node& cell, int command, unsigned char colorIndex) {
    const int kind = cell._count;
    switch (command) {
    case SET_CLEAR:
        if (kind == CELL_EMPTY || kind == CELL_COLLECTABLE) {
            return 0;
        }
        setKind(cell, CELL_EMPTY);
        return -1;
    case SET_MELT:
        if (isSolidKind(kind)) {
            startMelting(cell);
        }
        return 0;
    case SET_COLLECTABLE:
        cell._collectable.reset();
        setKind(cell, CELL_COLLECTABLE);
        return kind == CELL_EMPTY ? 1 : 0;
    case SET_MELT_ANY:
        cell._collectable.reset();
        if (isSolidKind(kind) || kind == CELL_COLLECTABLE) {
            startMelting(cell);
        }
        return 0;
    case SET_CLEAR_ANY:
        cell._collectable.reset();
        if (kind == CELL_EMPTY) {
            return 0;
        }
        setKind(cell, CELL_EMPTY);
        return -1;
    default:
        if (kind != CELL_EMPTY) {
            return 0;
        }
        cell._colorIndex = colorIndex;
        cell._age = 0.0f;
        cell._coolingOrMeltSpeed = _trailCoolingTime;
        cell._lastTime = _time;
        setKind(cell, command);
        return 1;
    }
}

void OcTree::setKind(Node& cell, int kind) {
    if (isSolidKind(cell._count) || isSolidKind(kind)) {
        ++_kindChanges;
    }
    const auto untrailed = [](int k) { return isSolidKind(k) && !isTrailKind(k) ? 1 : 0; };
    _untrailedSolids += untrailed(kind) - untrailed(cell._count);
    cell._count = kind;
    updateNeighboursBits(cell);
}

void OcTree::startMelting(Node& cell) {
    cell._age = 0.0f;
    cell._coolingOrMeltSpeed =
        _meltSpeedMin + static_cast<float>(crand::rand()) * (_meltSpeedMax - _meltSpeedMin) / crand::CRAND_MAX;
    cell._lastTime = _time;
    setKind(cell, CELL_MELTING);
}

void OcTree::updateNeighboursBits(const Node& cell) {
    const bool solid = isSolidKind(cell._count);
    for (const FaceNeighbour& face : FACE_NEIGHBOURS) {
        Node& neighbour = *getTerminalNode(plus(cell._box.min, face.step));
        if (solid) {
            neighbour._neighbours = static_cast<unsigned char>(neighbour._neighbours | face.bitInNeighbour);
        } else {
            neighbour._neighbours = static_cast<unsigned char>(neighbour._neighbours & ~face.bitInNeighbour);
        }
    }
}

// Each level halves the box, so the slot on the path is read from one bit of each
// coordinate, the highest bit at the root. The cell's own kind is already set.
void OcTree::addToCounts(const Vector3<int>& wrapped, int change) {
    Node* node = _root;
    if (node->_terminal) {
        return;
    }
    node->_count += change;
    for (int bit = _depth - 1; !node->_terminal; --bit) {
        const int slot = (((wrapped.z >> bit) & 1) << 2) | (((wrapped.y >> bit) & 1) << 1) | ((wrapped.x >> bit) & 1);
        Node* const child = node->_children[slot];
        if (!child->_terminal) {
            child->_count += change;
        }
        const unsigned int slotBit = 1u << slot;
        const unsigned int filled = child->_count != CELL_EMPTY ? node->_filledChildren | slotBit
                                                                : node->_filledChildren & ~slotBit;
        node->_filledChildren = static_cast<unsigned char>(filled);
        node = child;
    }
}

void OcTree::melt(Vector3<int> centre, int radius, bool includeCollectables) {
    const int command = includeCollectables ? SET_MELT_ANY : SET_MELT;
    for (int z = centre.z - radius; z <= centre.z + radius; ++z) {
        for (int y = centre.y - radius; y <= centre.y + radius; ++y) {
            for (int x = centre.x - radius; x <= centre.x + radius; ++x) {
                setTerminalNode(Vector3<int>(x, y, z), command, 0);
            }
        }
    }
}

// -size/2 ... +size/2 reaches every cell (both ends are the same cell); a cell met again
// is already melting and stays as it is.
void OcTree::meltAll() {
    const int half = _size / 2;
    for (int z = -half; z <= half; ++z) {
        for (int y = -half; y <= half; ++y) {
            for (int x = -half; x <= half; ++x) {
                setTerminalNode(Vector3<int>(x, y, z), SET_MELT, 0);
            }
        }
    }
}

void OcTree::meltSpeed(float min, float max) {
    _meltSpeedMin = min;
    _meltSpeedMax = max;
}

Collectable* OcTree::addCollectableObject(const Vector3<int>& c) {
    std::unique_ptr<Collectable> collectable(new Collectable());
    collectable->_cell = c;
    setTerminalNode(c, SET_COLLECTABLE, 0);
    Node& cell = *getTerminalNode(c);
    cell._collectable = std::move(collectable);
    cell._lastTime = _time;
    return cell._collectable.get();
}

void OcTree::replaceTrailColors(const std::map<unsigned char, unsigned char>& map) {
    unsigned char table[256] = {};
    for (const auto& entry : map) {
        table[entry.first] = entry.second;
    }
    for (Node& cell : _cells) {
        if (isTrailKind(cell._count)) {
            cell._colorIndex = table[cell._colorIndex];
        }
    }
}

}  // namespace Vortel
