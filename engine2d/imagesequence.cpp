#include "engine2d/imagesequence.h"

#include <algorithm>
#include <stdexcept>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"

namespace Stelkor {

ImageSequence::ImageSequence(Bitmap& bitmap, int frameW, int frameH, int gapX, int gapY, int maxCount) {
    add(bitmap, frameW, frameH, gapX, gapY, maxCount);
}

ImageSequence::ImageSequence(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap, int maxCount) {
    add(bitmap, frameSize.x, frameSize.y, gap.x, gap.y, maxCount);
}

void ImageSequence::add(Image& image) {
    _images.push_back(&image);
}

void ImageSequence::add(Bitmap& bitmap, int frameW, int frameH, int gapX, int gapY, int maxCount) {
    const int fw = std::min(frameW, bitmap.w());
    const int fh = std::min(frameH, bitmap.h());
    // A step of 0 or less would cut the same cell forever.
    if (fw + gapX <= 0 || fh + gapY <= 0) {
        throw std::runtime_error("ImageSequence - frame size plus gap must be above 0");
    }
    int n = 0;
    for (int y = 0; y + fh <= bitmap.h(); y += fh + gapY) {
        for (int x = 0; x + fw <= bitmap.w(); x += fw + gapX) {
            if (n == maxCount) {
                return;
            }
            _images.push_back(new Image(bitmap, Quib::AABB2<int>(x, y, x + fw - 1, y + fh - 1),
                                        Vector2<int>(fw / 2, fh / 2), true));
            ++n;
        }
    }
}

void ImageSequence::add(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap, int maxCount) {
    add(bitmap, frameSize.x, frameSize.y, gap.x, gap.y, maxCount);
}

Image* ImageSequence::image(int i) const {
    if (_images.empty()) {
        return nullptr;
    }
    return _images[static_cast<std::size_t>(std::clamp(i, 0, count() - 1))];
}

void ImageSequence::destroyImages() {
    for (Image* image : _images) {
        delete image;
    }
    clear();
}

}  // namespace Stelkor
