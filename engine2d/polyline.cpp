#include "engine2d/polyline.h"

namespace Stelkor {

PolyLine& PolyLine::addPoint(const Vector2<float>& p) {
    _points.push_back(p);
    return *this;
}

PolyLine& PolyLine::addPoint(float x, float y) {
    return addPoint(Vector2<float>(x, y));
}

}  // namespace Stelkor
