#ifndef QUELLARIS_WORLD_OCTREEWALK_H
#define QUELLARIS_WORLD_OCTREEWALK_H

#include <cstddef>
#include <vector>

#include "platform/math.h"
#include "world/octree.h"

namespace Vortel {

class Collectable;
class CubeRenderer;
class FaceOcclusion;

// One frame's walk of the playfield, without GL: culls the octree against the view
// frustum, lets each visible cell age (trail cubes cool, melting cubes shrink and vanish,
// pick-ups animate and expire) and batches the visible trail-cube faces into the cube
// renderer. What must be drawn one by one (melting cubes, pick-ups) is listed for the GL
// pass. The lists are sized once for every cell, so a frame allocates nothing.
//
// A cell that is outside the view, or covered on all six sides, does not age while so; the
// time it missed is added when it is next walked.
class OcTreeWalk {
public:
    struct MeltingCube {
        Vector3<int> cell;
        float scale;  // 1 when the melt starts, falling to 0
    };

    explicit OcTreeWalk(std::size_t cellCount);

    // Walks at the tree's present time. With an occlusion result for this drawing, the
    // faces that it finds hidden stay out of the batch, and the cells are batched nearest
    // first (the pick-ups stay in the tree's order).
    void run(OcTree& tree, CubeRenderer& renderer, const float frustum[6][4], const FaceOcclusion* occlusion = nullptr);

    const std::vector<MeltingCube>& meltingCubes() const { return _meltingCubes; }
    const std::vector<Collectable*>& collectables() const { return _collectables; }
    // Frustum tests made below the root.
    int nodesVisited() const { return _nodesVisited; }
    // Trail-cube faces put into the batch.
    int facesBatched() const { return _facesBatched; }

private:
    void walkChildren(OcTree::Node& node, int test);
    void ageCell(OcTree::Node& cell);
    void batchTrailCube(const OcTree::Node& cell);
    unsigned int treeOrder(const Vector3<int>& cell) const;

    OcTree* _tree;
    CubeRenderer* _renderer;
    const float (*_frustum)[4];
    const FaceOcclusion* _occlusion;
    Vector3<float> _eye;  // in the tree's own frame
    bool _nearestFirst;   // children from the eye's side of each node first
    std::vector<MeltingCube> _meltingCubes;
    std::vector<Collectable*> _collectables;
    int _nodesVisited;
    int _facesBatched;
};

}  // namespace Vortel

#endif
