#ifndef QUELLARIS_PLATFORM_PICTUREFIT_H
#define QUELLARIS_PLATFORM_PICTUREFIT_H

#include "platform/aabb2.h"

// Where the game's picture of a fixed size stands on a screen that may be larger: scaled by one
// factor to fill the screen as far as its aspect lets it, centred, with black bars on the two
// sides it leaves. A picture the size of its screen stands 1:1 at the corner.
class PictureFit {
public:
    // The picture filling a screen of its own size.
    PictureFit(int pictureWidth, int pictureHeight);
    PictureFit(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight);

    int pictureWidth() const { return _pictureWidth; }
    int pictureHeight() const { return _pictureHeight; }
    int screenWidth() const { return _screenWidth; }
    int screenHeight() const { return _screenHeight; }
    // Screen pixels per picture pixel.
    float scale() const { return _scale; }
    // The scaled picture on the screen, in whole pixels counted from the screen's top-left
    // corner (y downward, as window positions are).
    const Quib::AABB2<int>& box() const { return _box; }
    // The same place counted from the bottom-left corner (y upward, as GL counts).
    Quib::AABB2<int> boxFromBottom() const;
    // A screen point (y downward) as the picture's point; a point on a bar or beyond the
    // screen comes to the picture's nearest edge.
    void toPicture(int& x, int& y) const;

private:
    int _pictureWidth;
    int _pictureHeight;
    int _screenWidth;
    int _screenHeight;
    float _scale;
    Quib::AABB2<int> _box;
};

#endif
