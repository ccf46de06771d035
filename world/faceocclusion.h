#ifndef QUELLARIS_WORLD_FACEOCCLUSION_H
#define QUELLARIS_WORLD_FACEOCCLUSION_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/math.h"
#include "world/coveragemask.h"
#include "world/octree.h"

namespace Vortel {

class FrustumProjection;

// Finds, before a drawing of the playfield, the trail-cube faces that nearer faces hide, so
// the batch can leave them out and still give the same picture: the walk goes front to
// back through the same frustum-culled nodes as the drawing, drops nodes and faces that
// lie wholly behind the faces already recorded in a coarse coverage mask, and records each
// face it keeps.
//
// The playfield is drawn several times a frame, once per wrapped copy, into one depth
// buffer. Unless the drawing promises a box of copies round the eye, the mask carries over
// from one copy to the next while the view, the time and the field stay the same and no
// copy comes round twice; anything else starts a new frame with an empty mask. So a face is
// only ever hidden behind faces drawn earlier in the same frame or in the same drawing.
class FaceOcclusion {
public:
    explicit FaceOcclusion(std::size_t cellCount);

    // The 3 x 3 x 3 copies round the eye's own that a wrapped drawing shows.
    static constexpr std::size_t COPIES = 27;

    // For a drawing of the tree through the frustum at the time. `wrapped` promises that
    // every frame draws, into one depth buffer, a box of whole copies that holds the eye
    // (see OcTree::wrappedDrawing): the faces of the 27 copies round the eye's own are then
    // found at the frame's first drawing.
    void run(const OcTree& tree, const float frustum[6][4], double time, bool wrapped);

    // The faces of the cell (flat index) that may show in the present drawing, as
    // neighbour bits.
    unsigned char visibleFaces(std::size_t cell) const;

    // What the faces found so far in the present frame cover on the screen.
    const CoverageMask& coverage() const { return _mask; }

private:
    bool sameFrame(const float frustum[6][4], const Vector3<int>& copy, double time, bool repeatsCount);
    void findAllCopies();
    void findIn(const float frustum[6][4], const FrustumProjection& projection);
    void clearMarks();
    static int copySlot(const Vector3<int>& copy);
    void walkChildren(const OcTree::Node& node, int test);
    bool boxHidden(const AABB3<int>& box) const;
    void testCell(const OcTree::Node& cell);
    void coverSilhouette(const ScreenPoint corners[8]);
    bool frontFacesDrawn(const OcTree::Node& cell) const;
    bool silhouettesHold(const float frustum[6][4]) const;

    const OcTree* _tree;
    const FrustumProjection* _projection;
    const float (*_frustum)[4];
    Vector3<float> _eye;
    bool _silhouettes;  // whole cube outlines go into the mask, not face by face
    CoverageMask _mask;
    std::size_t _cellCount;
    std::vector<unsigned char> _visible;  // per copy, per cell
    std::vector<std::uint32_t> _marked;   // entries of _visible that are set
    bool _markedOverflow;                 // more were set than _marked holds
    int _slot;                            // the present drawing's copy in _visible; -1 none

    // The frame the mask belongs to: the view moved into the eye's own copy of the field,
    // the time, the field's stamp and filled count, and the copies drawn so far.
    bool _inFrame;
    bool _frameWrapped;
    float _framePlanes[6][4];
    double _frameTime;
    unsigned long _frameStamp;
    int _frameCount;
    std::vector<Vector3<int> > _drawnCopies;
};

}  // namespace Vortel

#endif
