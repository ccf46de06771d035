#ifndef QUELLARIS_ENGINE2D_IMAGE_H
#define QUELLARIS_ENGINE2D_IMAGE_H

#include <vector>

#include "platform/math.h"

namespace Stelkor {

class Bitmap;

// A rectangle of a bitmap drawn about a pivot: the pixel of the rectangle that lands on the
// drawing position. Keeps its textured quad ready (T2F_V3F) and, when asked and a context is
// current, a display list replaying it. Does not own the bitmap, which must outlive it.
class Image {
public:
    Image(Bitmap& bitmap, const Quib::AABB2<int>& rect, const Vector2<int>& pivot, bool cache);
    virtual ~Image();

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    virtual void redefine(const Quib::AABB2<int>& rect, const Vector2<int>& pivot, bool cache);
    virtual const float* vertArray() const { return _vertArray; }
    virtual const unsigned int* vertIndices() const { return _vertIndices; }
    virtual int vertIndicesCount() const { return _vertIndicesCount; }

    void build(Bitmap& bitmap, const Quib::AABB2<int>& rect, const Vector2<int>& pivot, bool cache);

    const Vector2<int>& size() const { return _size; }
    const Vector2<int>& pivot() const { return _pivot; }
    const Vector2<int>& bitmapPos() const { return _bitmapPos; }
    Bitmap* bitmap() const { return _bitmap; }
    const Quib::AABB2<int>& rect() const { return _rect; }
    const Quib::AABB2<float>& texBox() const { return _texBox; }
    const Quib::AABB2<float>& vertBox() const { return _vertBox; }
    unsigned int displayList() const { return _displayList; }

    // Colour of the pixel under point when the image is drawn at imagePos.
    RGBA<unsigned char> pixelColor(const Vector2<float>& imagePos, const Vector2<float>& point) const;

    // Pixel-exact contact tests. Each returns how many pixels (or, for the mask test, 32-pixel
    // spans) touch; 0 means no contact. The last column and row of the overlap are not examined.
    static int collision(const Image& a, const Vector2<float>& posA, unsigned char alphaA, const Image& b,
                         const Vector2<float>& posB, unsigned char alphaB);
    static int collision(const Image& a, const Vector2<float>& posA, const Image& b, const Vector2<float>& posB);
    static int collision(const Image& image, const Vector2<float>& pos, unsigned char alpha,
                         const Quib::AABB2<float>& box);
    static int collision(const Image& image, const Vector2<float>& pos, unsigned char alpha,
                         const std::vector<Vector2<float> >& polygon);

private:
    Bitmap* _bitmap;
    Quib::AABB2<int> _rect;
    Quib::AABB2<float> _texBox;
    Quib::AABB2<float> _vertBox;
    Vector2<int> _pivot;
    Vector2<int> _size;
    Vector2<int> _bitmapPos;
    unsigned int _displayList;
    float _vertArray[20];
    unsigned int _vertIndices[4];
    int _vertIndicesCount;
};

}  // namespace Stelkor

#endif
