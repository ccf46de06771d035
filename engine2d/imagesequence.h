#ifndef QUELLARIS_ENGINE2D_IMAGESEQUENCE_H
#define QUELLARIS_ENGINE2D_IMAGESEQUENCE_H

#include <vector>

#include "platform/math.h"

namespace Stelkor {

class Bitmap;
class Image;

// The frames of an animation in order. Frames it cuts itself are deleted only by
// destroyImages(); clear() forgets them, so a sequence may also list images owned elsewhere.
class ImageSequence {
public:
    ImageSequence() = default;
    ImageSequence(Bitmap& bitmap, int frameW, int frameH, int gapX, int gapY, int maxCount);
    ImageSequence(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap, int maxCount);

    void add(Image& image);
    // Cuts a grid of equal cells, left to right, rows from the bottom of the bitmap up; a
    // negative maxCount sets no limit. Throws std::runtime_error when a step would not advance.
    void add(Bitmap& bitmap, int frameW, int frameH, int gapX, int gapY, int maxCount);
    void add(Bitmap& bitmap, const Vector2<int>& frameSize, const Vector2<int>& gap, int maxCount);

    // Clamped to the first and last frame; null when empty.
    Image* image(int i) const;
    int count() const { return static_cast<int>(_images.size()); }
    void clear() { _images.clear(); }
    void destroyImages();

private:
    std::vector<Image*> _images;
};

}  // namespace Stelkor

#endif
