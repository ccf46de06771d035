#ifndef QUELLARIS_ENGINE2D_TEXTUREDPOLYLINE_H
#define QUELLARIS_ENGINE2D_TEXTUREDPOLYLINE_H

#include <vector>

#include "engine2d/polyline.h"

namespace Stelkor {

class Bitmap;

// A poly-line drawn as a band of a given width whose texture repeats every tile length along
// the line. The geometry is rebuilt whenever a point is added, so drawing only walks the
// ready quad strip: per point a texture coordinate and vertex on its left, then on its right.
class TexturedPolyLine : public PolyLine {
public:
    TexturedPolyLine();

    TexturedPolyLine& addPoint(const Vector2<float>& p) override;
    TexturedPolyLine& addPoint(float x, float y) override;

    // The setters leave the strip as it is until the next point is added.
    void width(float w) { _width = w; }
    float width() const { return _width; }
    void textureBitmap(Bitmap* bitmap) { _textureBitmap = bitmap; }
    Bitmap* textureBitmap() const { return _textureBitmap; }
    void textureTileLength(float length) { _tileLength = length; }
    float textureTileLength() const { return _tileLength; }

    void refreshCache();

    const std::vector<Vector2<float> >& normals() const { return _normals; }
    const std::vector<Vector2<float> >& directions() const { return _directions; }
    const std::vector<float>& distances() const { return _distances; }
    // Alternating texture coordinate and vertex, four entries per point.
    const std::vector<Vector2<float> >& quadStrip() const { return _quadStrip; }

private:
    float _width;
    Bitmap* _textureBitmap;  // not owned
    float _tileLength;
    std::vector<Vector2<float> > _normals;
    std::vector<Vector2<float> > _directions;
    std::vector<float> _distances;
    std::vector<Vector2<float> > _quadStrip;
};

}  // namespace Stelkor

#endif
