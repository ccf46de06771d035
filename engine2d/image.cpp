#include "engine2d/image.h"

#include <algorithm>
#include <cstdint>

#include "engine2d/bitmap.h"
#include "engine2d/renderer2d.h"

namespace Stelkor {

namespace {

Vector2<int> truncated(const Vector2<float>& v) {
    return Vector2<int>(static_cast<int>(v.x), static_cast<int>(v.y));
}

float ratio(int part, int whole) {
    return static_cast<float>(static_cast<double>(part) / static_cast<double>(whole));
}

// Where an image drawn at p covers the screen, in whole pixels.
Quib::AABB2<int> screenBox(const Image& image, const Vector2<int>& p) {
    const Vector2<int> min = p - image.pivot();
    return Quib::AABB2<int>(min, min + image.size());
}

// The part of the overlap that the tests examine: its last column and row are left out.
struct Scan {
    Vector2<int> screen;  // overlap's min corner on screen
    int cols;
    int rows;
};

Scan scanOf(const Quib::AABB2<int>& overlap) {
    return Scan{overlap.min, overlap.max.x - overlap.min.x - 1, overlap.max.y - overlap.min.y - 1};
}

// The overlap's min corner in the image's bitmap.
Vector2<int> bitmapCorner(const Image& image, const Vector2<int>& p, const Vector2<int>& screen) {
    return screen - p + image.pivot() + image.bitmapPos();
}

unsigned char alphaAt(const Bitmap& bitmap, int x, int y) {
    return bitmap.pixelColor(Vector2<int>(x, y)).a;
}

int floorDiv32(int n) {
    return n >= 0 ? n / 32 : -((-n + 31) / 32);
}

std::uint32_t maskWord(const Bitmap& bitmap, int row, int word) {
    const int wordsPerRow = bitmap.bitmaskWordsPerRow();
    if (row < 0 || row >= bitmap.h() || word < 0 || word >= wordsPerRow) {
        return 0;
    }
    return bitmap.bitmaskData()[static_cast<std::size_t>(row) * wordsPerRow + word];
}

// Span k of a mask row: the 32 columns from firstCol + 32k on, most significant bit leftmost,
// with the columns past the area's width cleared.
std::uint32_t maskSpan(const Bitmap& bitmap, int row, int firstCol, int width, int k) {
    const int start = firstCol + 32 * k;
    const int word = floorDiv32(start);
    const int offset = start - word * 32;
    std::uint32_t span = maskWord(bitmap, row, word) << offset;
    if (offset != 0) {
        span |= maskWord(bitmap, row, word + 1) >> (32 - offset);
    }
    const int bits = std::min(32, width - 32 * k);
    if (bits < 32) {
        span &= ~(0xFFFFFFFFu >> bits);
    }
    return span;
}

}  // namespace

Image::Image(Bitmap& bitmap, const Quib::AABB2<int>& rect, const Vector2<int>& pivot, bool cache)
    : _bitmap(&bitmap), _displayList(0), _vertArray(), _vertIndices(), _vertIndicesCount(4) {
    build(bitmap, rect, pivot, cache);
}

Image::~Image() {
    if (_displayList != 0) {
        _bitmap->renderer()->destroyImageCache(_displayList);
    }
}

void Image::redefine(const Quib::AABB2<int>& rect, const Vector2<int>& pivot, bool cache) {
    build(*_bitmap, rect, pivot, cache);
}

void Image::build(Bitmap& bitmap, const Quib::AABB2<int>& rect, const Vector2<int>& pivot, bool cache) {
    _bitmap = &bitmap;
    _rect = rect;
    _pivot = pivot;
    _size = rect.max - rect.min;
    _bitmapPos = rect.min;
    const int w = bitmap.w();
    const int h = bitmap.h();
    _texBox = Quib::AABB2<float>(ratio(rect.min.x, w), ratio(rect.min.y, h), ratio(rect.max.x, w), ratio(rect.max.y, h));
    _vertBox = Quib::AABB2<float>(static_cast<float>(-pivot.x), static_cast<float>(-pivot.y),
                                  static_cast<float>(_size.x - pivot.x), static_cast<float>(_size.y - pivot.y));

    const float corners[4][4] = {
        {_texBox.min.x, _texBox.min.y, _vertBox.min.x, _vertBox.min.y},
        {_texBox.max.x, _texBox.min.y, _vertBox.max.x, _vertBox.min.y},
        {_texBox.max.x, _texBox.max.y, _vertBox.max.x, _vertBox.max.y},
        {_texBox.min.x, _texBox.max.y, _vertBox.min.x, _vertBox.max.y},
    };
    for (int i = 0; i < 4; ++i) {
        float* vertex = &_vertArray[i * 5];
        vertex[0] = corners[i][0];
        vertex[1] = corners[i][1];
        vertex[2] = corners[i][2];
        vertex[3] = corners[i][3];
        vertex[4] = 0.0f;
        _vertIndices[i] = static_cast<unsigned int>(i);
    }
    _vertIndicesCount = 4;

    Renderer2D* renderer = bitmap.renderer();
    if (_displayList != 0) {
        renderer->destroyImageCache(_displayList);
        _displayList = 0;
    }
    if (cache) {
        _displayList = renderer->createImageCache(*this);
    }
}

RGBA<unsigned char> Image::pixelColor(const Vector2<float>& imagePos, const Vector2<float>& point) const {
    const Vector2<int> d = truncated(point - imagePos);
    if (!_vertBox.pointInside(Vector2<float>(static_cast<float>(d.x), static_cast<float>(d.y)))) {
        return RGBA<unsigned char>(0, 0, 0, 0);
    }
    return _bitmap->pixelColor(d + _pivot + _bitmapPos);
}

int Image::collision(const Image& a, const Vector2<float>& posA, unsigned char alphaA, const Image& b,
                     const Vector2<float>& posB, unsigned char alphaB) {
    const Vector2<int> pA = truncated(posA);
    const Vector2<int> pB = truncated(posB);
    const Quib::AABB2<int> overlap = screenBox(a, pA) & screenBox(b, pB);
    if (!overlap.isValid()) {
        return 0;
    }
    const Scan scan = scanOf(overlap);
    const Vector2<int> cornerA = bitmapCorner(a, pA, scan.screen);
    const Vector2<int> cornerB = bitmapCorner(b, pB, scan.screen);
    int count = 0;
    for (int row = 0; row < scan.rows; ++row) {
        for (int col = 0; col < scan.cols; ++col) {
            if (alphaAt(*a._bitmap, cornerA.x + col, cornerA.y + row) >= alphaA &&
                alphaAt(*b._bitmap, cornerB.x + col, cornerB.y + row) >= alphaB) {
                ++count;
            }
        }
    }
    return count;
}

int Image::collision(const Image& a, const Vector2<float>& posA, const Image& b, const Vector2<float>& posB) {
    if (a._bitmap->bitmaskData() == nullptr || b._bitmap->bitmaskData() == nullptr) {
        return 0;
    }
    const Vector2<int> pA = truncated(posA);
    const Vector2<int> pB = truncated(posB);
    const Quib::AABB2<int> overlap = screenBox(a, pA) & screenBox(b, pB);
    if (!overlap.isValid()) {
        return 0;
    }
    const Scan scan = scanOf(overlap);
    const Vector2<int> cornerA = bitmapCorner(a, pA, scan.screen);
    const Vector2<int> cornerB = bitmapCorner(b, pB, scan.screen);
    const int spans = scan.cols > 0 ? (scan.cols + 31) / 32 : 0;
    int count = 0;
    for (int row = 0; row < scan.rows; ++row) {
        for (int k = 0; k < spans; ++k) {
            const std::uint32_t spanA = maskSpan(*a._bitmap, cornerA.y + row, cornerA.x, scan.cols, k);
            const std::uint32_t spanB = maskSpan(*b._bitmap, cornerB.y + row, cornerB.x, scan.cols, k);
            if ((spanA & spanB) != 0) {
                ++count;
            }
        }
    }
    return count;
}

int Image::collision(const Image& image, const Vector2<float>& pos, unsigned char alpha,
                     const Quib::AABB2<float>& box) {
    const Vector2<int> p = truncated(pos);
    const Quib::AABB2<int> other(truncated(box.min), truncated(box.max));
    const Quib::AABB2<int> overlap = screenBox(image, p) & other;
    if (!overlap.isValid()) {
        return 0;
    }
    const Scan scan = scanOf(overlap);
    const Vector2<int> corner = bitmapCorner(image, p, scan.screen);
    int count = 0;
    for (int row = 0; row < scan.rows; ++row) {
        for (int col = 0; col < scan.cols; ++col) {
            if (alphaAt(*image._bitmap, corner.x + col, corner.y + row) >= alpha) {
                ++count;
            }
        }
    }
    return count;
}

int Image::collision(const Image& image, const Vector2<float>& pos, unsigned char alpha,
                     const std::vector<Vector2<float> >& polygon) {
    if (polygon.empty()) {
        return 0;
    }
    Quib::AABB2<int> bounds(truncated(polygon.front()), truncated(polygon.front()));
    for (const Vector2<float>& point : polygon) {
        const Vector2<int> t = truncated(point);
        bounds.min.set(std::min(bounds.min.x, t.x), std::min(bounds.min.y, t.y));
        bounds.max.set(std::max(bounds.max.x, t.x), std::max(bounds.max.y, t.y));
    }
    const Vector2<int> p = truncated(pos);
    const Quib::AABB2<int> overlap = screenBox(image, p) & bounds;
    if (!overlap.isValid()) {
        return 0;
    }
    const Scan scan = scanOf(overlap);
    const Vector2<int> corner = bitmapCorner(image, p, scan.screen);
    int count = 0;
    for (int row = 0; row < scan.rows; ++row) {
        for (int col = 0; col < scan.cols; ++col) {
            const Vector2<float> at(static_cast<float>(scan.screen.x + col), static_cast<float>(scan.screen.y + row));
            if (alphaAt(*image._bitmap, corner.x + col, corner.y + row) >= alpha && at.pointInsidePolygon(polygon)) {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace Stelkor
