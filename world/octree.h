#ifndef QUELLARIS_WORLD_OCTREE_H
#define QUELLARIS_WORLD_OCTREE_H

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <vector>

#include "platform/math.h"
#include "world/collectable.h"

namespace Vortel {

class CubeRenderer;
class CoverageMask;
class FaceOcclusion;
class OcTreeWalk;

// The playfield: a cube of 2^depth cells per edge that wraps round on every axis. Each cell
// has a kind (empty, solid trail cube, melting cube, pick-up), changed only through the
// commands of setTerminalNode. The cells lie in one flat array indexed by coordinate; a
// full octree above them counts the filled cells of each region, so that drawing and ray
// tests skip empty space.
//
// Nothing here needs a GL context except draw(); the cube renderer is bound at construction
// (or the shared one is taken on first need).
class OcTree {
public:
    // Cell kinds: the count of a terminal cell.
    enum CellKind : int {
        CELL_EMPTY = 0,
        CELL_SOLID_1 = 1,  // the player's trail and the trick trainer's obstacles
        CELL_SOLID_2 = 2,  // the chasers' trails
        CELL_MELTING = 16,
        CELL_COLLECTABLE = 32,
    };

    // Commands of setTerminalNode; any other value places a solid cell of that kind on an
    // empty cell.
    enum Command : int {
        SET_CLEAR = 0,          // empties a solid or melting cell; pick-ups stay
        SET_MELT = 16,          // a solid cell starts melting
        SET_COLLECTABLE = 32,   // the cell becomes a pick-up cell, whatever it was
        SET_MELT_ANY = 64,      // a solid or pick-up cell starts melting; the pick-up goes
        SET_CLEAR_ANY = 128,    // empties any cell; the pick-up goes
    };

    // Neighbour bits of a cell: set when the face neighbour on that side is solid.
    enum NeighbourBit : unsigned char {
        NEIGHBOUR_X_PLUS = 1,
        NEIGHBOUR_X_MINUS = 2,
        NEIGHBOUR_Y_PLUS = 4,
        NEIGHBOUR_Y_MINUS = 8,
        NEIGHBOUR_Z_PLUS = 16,
        NEIGHBOUR_Z_MINUS = 32,
        NEIGHBOURS_ALL = 63,
    };

    // Obstacle bits of getSurround, relative to a craft's heading.
    enum SurroundBit : int {
        SURROUND_LEFT = 1,
        SURROUND_RIGHT = 2,
        SURROUND_UP = 4,
        SURROUND_DOWN = 8,
        SURROUND_AHEAD = 16,
    };

    struct NodeHitInfo;

    // An inner node of the octree or a terminal cell. Only the tree changes them.
    class Node {
    public:
        Node();

        // Inner node: filled cells below it. Terminal cell: its kind.
        int count() const { return _count; }
        // Half-open box [min, max) of the cells covered; a cell's min is its coordinate.
        const AABB3<int>& box() const { return _box; }
        bool terminal() const { return _terminal; }
        // Inner node: the octant at slot 4z + 2y + x (each 0 for the lower half).
        Node* child(int slot) const { return _children[slot]; }
        // Inner node: bit 1 << slot set for each child that holds a filled cell, so that
        // walks skip empty children without reading them.
        unsigned char filledChildren() const { return _filledChildren; }

        // Terminal cell only.
        Collectable* collectable() const { return _collectable.get(); }
        unsigned char neighbours() const { return _neighbours; }
        unsigned char colorIndex() const { return _colorIndex; }
        float age() const { return _age; }
        double lastTime() const { return _lastTime; }
        // Solid cell: its cooling time in seconds; melting cell: its melt speed per second.
        float coolingOrMeltSpeed() const { return _coolingOrMeltSpeed; }

        // Empties the whole subtree: pick-ups deleted, kinds, counts, ages and neighbour
        // bits zeroed, every cell stamped with the time. Colour indices stay.
        void clear(double time);

        // Appends every filled cell below that the ray meets, except melting and pick-up
        // cells, unsorted: the caller sorts (nearest first).
        void rayHit(const Ray3<float>& ray, std::list<NodeHitInfo>& hits);
        // The same into a vector, which a caller clearing it every frame keeps without
        // allocating once it has grown.
        void rayHit(const Ray3<float>& ray, std::vector<NodeHitInfo>& hits);

    private:
        friend class OcTree;
        friend class OcTreeWalk;
        friend class FaceOcclusion;

        template <typename Hits>
        void collectRayHits(const Ray3<float>& ray, Hits& hits);
        // The slot of the child on the point's side of the middle along every axis. Children
        // taken in slot order XOR this come nearest the point first, the one across last.
        int slotToward(const Vector3<float>& point) const {
            return (point.x * 2.0f >= static_cast<float>(_box.min.x + _box.max.x) ? 1 : 0) |
                   (point.y * 2.0f >= static_cast<float>(_box.min.y + _box.max.y) ? 2 : 0) |
                   (point.z * 2.0f >= static_cast<float>(_box.min.z + _box.max.z) ? 4 : 0);
        }

        Node* _children[8];
        std::unique_ptr<Collectable> _collectable;
        AABB3<int> _box;
        int _count;
        float _age;
        float _coolingOrMeltSpeed;
        double _lastTime;
        bool _terminal;
        unsigned char _neighbours;
        unsigned char _colorIndex;
        unsigned char _filledChildren;
    };

    // One cell met by a ray.
    struct NodeHitInfo {
        Node* node;
        Vector3<float> offset;  // from the ray's origin to the cell's centre
        float distanceSq;       // squared length of offset

        bool operator<(const NodeHitInfo& other) const { return distanceSq < other.distanceSq; }
    };

    // Builds the whole tree at once; every cell empty. Throws std::runtime_error for a
    // depth outside 0 ... 8. The first form draws with the shared cube renderer.
    explicit OcTree(int depth);
    OcTree(int depth, CubeRenderer& renderer);
    ~OcTree();
    OcTree(const OcTree&) = delete;
    OcTree& operator=(const OcTree&) = delete;

    // The program's one cube renderer, reading its meshes from "mesh" on first use (so a
    // missing mesh is reported from inside main). The playfield, the play frame and the HUD
    // share it.
    static CubeRenderer& cubeRenderer();

    int depth() const { return _depth; }
    int size() const { return _size; }
    Node* root() { return _root; }
    const Node* root() const { return _root; }

    // The playfield's clock, set by draw; the game sets it to 0 when it empties the field.
    double time() const { return _time; }
    void time(double t) { _time = t; }

    // Wraps each coordinate into 0 ... size - 1 (floor modulo: -1 gives size - 1).
    void validateCoord(Vector3<int>& c) const;

    // The cell at the wrapped coordinate; never null.
    Node* getTerminalNode(const Vector3<int>& c);
    const Node* getTerminalNode(const Vector3<int>& c) const;

    // Applies a command (or places a solid kind) at the wrapped coordinate. True when the
    // number of filled cells changed.
    bool setTerminalNode(const Vector3<int>& c, int command, unsigned char colorIndex);

    // Starts melting the cube centre - radius ... centre + radius (z outermost, x
    // innermost); pick-ups melt too only with the flag.
    void melt(Vector3<int> centre, int radius, bool includeCollectables);
    // Starts melting every solid cell; pick-ups stay.
    void meltAll();

    void meltSpeed(float min, float max);
    float meltSpeedMin() const { return _meltSpeedMin; }
    float meltSpeedMax() const { return _meltSpeedMax; }
    void trailCoolingTime(float seconds) { _trailCoolingTime = seconds; }
    float trailCoolingTime() const { return _trailCoolingTime; }

    // A new pick-up marking the wrapped cell; the pick-up keeps the coordinate as given.
    // The cell owns it.
    Collectable* addCollectableObject(const Vector3<int>& c);

    // Register colours with the cube renderer; return the new entry's index.
    unsigned char createColorTriplet(const RGBA<float>& zFaces, const RGBA<float>& xFaces, const RGBA<float>& yFaces);
    unsigned char createTrailColors(unsigned char start, unsigned char end);

    // The obstacle mask round a cell for a craft heading along forward with the given up
    // (unit axis vectors): bits for up, down, left, right and ahead where a trail cube
    // (kind 1 or 2) stands. The number among up, down, left and right goes to count when
    // it is not null.
    int getSurround(Vector3<int> cell, Vector3<int> forward, Vector3<int> up, int* count) const;

    void renderReflections(bool on) { _renderReflections = on; }
    bool renderReflections() const { return _renderReflections; }

    // Whether the walk leaves out of the batch the faces that nearer faces hide (on by
    // default). The picture is the same either way; off is the plain path, batching every
    // uncovered face of every visible cube. draw() takes the plain path by itself when the
    // depth buffer would not hide those faces (depth test or writes off, a function other
    // than less or less-or-equal, fewer than 16 bits).
    void occlusionCulling(bool on) { _occlusionCulling = on; }
    bool occlusionCulling() const { return _occlusionCulling; }
    // Set when every frame draws the field in wrapped copies (each through its own frustum,
    // into one depth buffer) that make up a box of whole copies holding the eye, such as the
    // play frame's 3 x 3 x 3 copies round the field while the eye is among them: hidden faces
    // are then found once a frame for the 27 copies round the eye's, nearest first, and a
    // copy's faces are left out behind nearer copies drawn later too. A nearer copy outside
    // the box can only hide faces of copies outside it as well. Off by default.
    void wrappedDrawing(bool on) { _wrappedDrawing = on; }
    bool wrappedDrawing() const { return _wrappedDrawing; }

    // The frame's walk without drawing: sets the clock, culls the tree against the
    // frustum, ages the visible cells and batches their faces into the cube renderer.
    // draw() runs it and then submits to GL.
    const OcTreeWalk& walk(const float frustum[6][4], double time);
    // The walk of the latest drawing, null before the first.
    const OcTreeWalk* lastWalk() const { return _walk.get(); }
    // Draws the playfield for one frame; needs the GL context. The viewer's position is
    // not used.
    void draw(const float frustum[6][4], const Vector3<float>& viewer, double time);
    // What the faces of the frame's drawings so far cover on the screen, once draw() has run
    // with hidden faces left out; null after a walk without a drawing or a plain drawing.
    // Every face it holds is in the depth buffer once the frame's copies are all drawn, so
    // anything it hides then stays hidden, drawn in the same view. (A wrapped drawing finds
    // the faces of the 27 copies round the eye's own at its first drawing; with the eye a few
    // cells outside the middle copy, the copies beyond the drawn box lie past the far plane,
    // half the field's edge away, and hold no face in view.)
    const CoverageMask* drawnCoverage() const { return _drawnCoverage; }

    // Re-colours every trail cube (kind 1 or 2) through the map; an index missing from the
    // map becomes 0.
    void replaceTrailColors(const std::map<unsigned char, unsigned char>& map);

    CubeRenderer& renderer();

private:
    friend class OcTreeWalk;
    friend class FaceOcclusion;

    OcTree(int depth, CubeRenderer* renderer);
    const OcTreeWalk& walk(const float frustum[6][4], double time, bool mayLeaveOut);
    void buildNode(Node& node, const Vector3<int>& min, const Vector3<int>& max, int level, std::size_t& nextInner);
    int index(const Vector3<int>& wrapped) const {
        return (((wrapped.z << _depth) + wrapped.y) << _depth) + wrapped.x;
    }
    int applyCommand(Node& cell, int command, unsigned char colorIndex);
    void setKind(Node& cell, int kind);
    void startMelting(Node& cell);
    void updateNeighboursBits(const Node& cell);
    void addToCounts(const Vector3<int>& wrapped, int change);
    bool isTrail(const Vector3<int>& c) const;
    void drawMeltingCubes();

    int _depth;
    int _size;
    std::vector<Node> _cells;       // index ((z * size) + y) * size + x
    std::vector<Node> _innerNodes;  // made once; the tree's pointers point into it
    Node* _root;
    double _time;
    float _trailCoolingTime;
    float _meltSpeedMin;
    float _meltSpeedMax;
    bool _renderReflections;
    CubeRenderer* _renderer;  // null: the shared one, taken on first need
    std::unique_ptr<OcTreeWalk> _walk;
    bool _occlusionCulling;
    bool _wrappedDrawing;
    std::unique_ptr<FaceOcclusion> _occlusion;
    const CoverageMask* _drawnCoverage;  // set by draw() when it left hidden faces out
    unsigned long _kindChanges;  // counts the changes of kind that make or unmake a solid cell
    int _untrailedSolids;        // solid cells of a kind that is not drawn
    unsigned int _blackCubeID;  // display list, made on the first draw
};

// Solid for neighbour bits, melting commands and ray tests: anything but empty, melting
// and pick-up cells.
inline bool isSolidKind(int kind) {
    return kind != OcTree::CELL_EMPTY && kind != OcTree::CELL_MELTING && kind != OcTree::CELL_COLLECTABLE;
}

// The trail cubes that are drawn, reported as obstacles and re-coloured.
inline bool isTrailKind(int kind) { return kind == OcTree::CELL_SOLID_1 || kind == OcTree::CELL_SOLID_2; }

}  // namespace Vortel

#endif
