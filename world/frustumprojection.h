#ifndef QUELLARIS_WORLD_FRUSTUMPROJECTION_H
#define QUELLARIS_WORLD_FRUSTUMPROJECTION_H

#include "platform/math.h"

namespace Vortel {

// A point as the view puts it on the screen: x and y in normalised device coordinates
// (-1 ... 1 across the viewport), depth as the depth buffer stores it (0 at the near plane,
// 1 at the far one). `ahead` is false for a point at or behind the eye's plane, whose x, y
// and depth mean nothing.
struct ScreenPoint {
    float x;
    float y;
    float depth;
    bool ahead;
};

// The projection that a view frustum's six planes (right, left, bottom, top, far, near, as
// GetFrustum makes them from the projection times the modelview) stand for. Each plane is
// the clip-space w plus or minus one clip coordinate, so the planes give back the clip
// coordinates themselves and nothing else is needed to project a point the way GL does.
class FrustumProjection {
public:
    explicit FrustumProjection(const float frustum[6][4]);

    ScreenPoint project(float x, float y, float z) const;
    // The eight corners of the box [low, high], in corner-code order (bit 0 takes high x,
    // bit 1 high y, bit 2 high z).
    void projectBox(const Vector3<float>& low, const Vector3<float>& high, ScreenPoint corners[8]) const;

    // Where the eye is, for a view with one; false for a parallel projection.
    bool eye(Vector3<float>& at) const;
    // For a parallel projection: the direction in which depth grows.
    Vector3<float> depthDirection() const;

private:
    // Rows of the clip matrix: x, y, z and w of a point are row . (p, 1).
    double _rows[4][4];
};

}  // namespace Vortel

#endif
