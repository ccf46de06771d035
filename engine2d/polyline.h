#ifndef QUELLARIS_ENGINE2D_POLYLINE_H
#define QUELLARIS_ENGINE2D_POLYLINE_H

#include <vector>

#include "platform/math.h"

namespace Stelkor {

// An open run of 2D points, drawn as a line strip by the renderer.
class PolyLine {
public:
    PolyLine() = default;
    virtual ~PolyLine() = default;

    virtual PolyLine& addPoint(const Vector2<float>& p);
    virtual PolyLine& addPoint(float x, float y);
    // Forgets the points only; a textured line keeps its strip until the next point.
    void clear() { _points.clear(); }
    const std::vector<Vector2<float> >& points() const { return _points; }

protected:
    std::vector<Vector2<float> > _points;
};

}  // namespace Stelkor

#endif
