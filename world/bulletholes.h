#ifndef QUELLARIS_WORLD_BULLETHOLES_H
#define QUELLARIS_WORLD_BULLETHOLES_H

#include <list>

#include "platform/math.h"

namespace Vortel {

// The scorch decals that hits leave on a craft: small textured squares laid on the surface
// that was hit, in the craft's own frame. They stay until the owner clears them.
class BulletHoles {
public:
    struct Hole {
        Vector3<float> pos;     // centre of the decal
        Vector3<float> normal;  // surface normal at the hit
        Vector3<float> dir;     // a direction in the surface that orients the decal
    };

    void addHole(const Vector3<float>& pos, const Vector3<float>& normal, const Vector3<float>& dir);
    void clear() { _holes.clear(); }
    void animate(double) {}

    // The caller binds the decal texture and sets the craft's transform. The decals are
    // pulled towards the viewer by a polygon offset so they do not fight with the surface.
    void draw() const;

    const std::list<Hole>& holes() const { return _holes; }

    // The decal's corners in drawing order, for the texture coordinates (0,0), (1,0), (1,1),
    // (0,1): a square of edge 0.4 when dir and normal are perpendicular unit vectors.
    static void corners(const Hole& hole, Vector3<float> out[4]);

private:
    std::list<Hole> _holes;
};

}  // namespace Vortel

#endif
