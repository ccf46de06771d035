#include "platform/picturefit.h"

#include <algorithm>
#include <cmath>

PictureFit::PictureFit(int pictureWidth, int pictureHeight)
    : PictureFit(pictureWidth, pictureHeight, pictureWidth, pictureHeight) {}

PictureFit::PictureFit(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight)
    : _pictureWidth(std::max(pictureWidth, 1)),
      _pictureHeight(std::max(pictureHeight, 1)),
      _screenWidth(screenWidth),
      _screenHeight(screenHeight),
      _scale(1.0f),
      _box() {
    const double across = static_cast<double>(screenWidth) / _pictureWidth;
    const double down = static_cast<double>(screenHeight) / _pictureHeight;
    const double scale = std::max(std::min(across, down), 0.0);
    // The side that sets the scale is filled exactly, whatever the rounding of the other.
    const int width = across <= down ? screenWidth : static_cast<int>(std::lround(_pictureWidth * scale));
    const int height = across <= down ? static_cast<int>(std::lround(_pictureHeight * scale)) : screenHeight;
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    _scale = static_cast<float>(scale);
    _box.set(left, top, left + width, top + height);
}

Quib::AABB2<int> PictureFit::boxFromBottom() const {
    return Quib::AABB2<int>(_box.min.x, _screenHeight - _box.max.y, _box.max.x, _screenHeight - _box.min.y);
}

void PictureFit::toPicture(int& x, int& y) const {
    const Vector2<int> size = _box.size();
    if (size.x <= 0 || size.y <= 0) {
        x = 0;
        y = 0;
        return;
    }
    // Each picture pixel owns the screen pixels whose left or top edge falls in it.
    const long px = (static_cast<long>(x) - _box.min.x) * _pictureWidth / size.x;
    const long py = (static_cast<long>(y) - _box.min.y) * _pictureHeight / size.y;
    x = static_cast<int>(std::clamp(px, 0L, static_cast<long>(_pictureWidth - 1)));
    y = static_cast<int>(std::clamp(py, 0L, static_cast<long>(_pictureHeight - 1)));
}
