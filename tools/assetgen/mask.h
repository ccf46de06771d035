#ifndef QUELLARIS_ASSETGEN_MASK_H
#define QUELLARIS_ASSETGEN_MASK_H

#include <algorithm>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace assetgen {

// A coverage field (0..1 per pixel, y upwards) that shapes and text are drawn into before they
// are painted: blurring makes glows, growing makes outlines.
class Mask {
public:
    Mask(int width, int height) : _width(width), _height(height), _values(static_cast<size_t>(width) * height, 0.0f) {}

    int width() const { return _width; }
    int height() const { return _height; }
    float at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= _width || y >= _height)
            return 0.0f;
        return _values[static_cast<size_t>(y) * _width + x];
    }
    void set(int x, int y, float v)
    {
        if (x >= 0 && y >= 0 && x < _width && y < _height)
            _values[static_cast<size_t>(y) * _width + x] = v;
    }
    // Union with the coverage v.
    void unite(int x, int y, float v) { set(x, y, std::max(at(x, y), v)); }

    // Adds a shape given by its signed distance in pixels (negative inside), anti-aliased over one
    // pixel. sdf is called with pixel-centre coordinates.
    template <typename Sdf>
    void shape(Sdf sdf)
    {
        for (int y = 0; y < _height; ++y)
            for (int x = 0; x < _width; ++x) {
                const float d = static_cast<float>(sdf(x + 0.5, y + 0.5));
                const float c = std::clamp(0.5f - d, 0.0f, 1.0f);
                if (c > 0.0f)
                    unite(x, y, c);
            }
    }

    Mask blurred(int radius, int passes = 3) const;
    Mask grown(float radius) const;

    // Paints every covered pixel with colourAt(x, y) composited over the canvas.
    template <typename ColorAt>
    void paint(Canvas& canvas, ColorAt colorAt, int offsetX = 0, int offsetY = 0) const
    {
        for (int y = 0; y < _height; ++y)
            for (int x = 0; x < _width; ++x) {
                const float c = at(x, y);
                if (c > 0.0f)
                    canvas.blend(x + offsetX, y + offsetY, colorAt(x, y), c);
            }
    }
    void paint(Canvas& canvas, const Color& color, int offsetX = 0, int offsetY = 0) const
    {
        paint(canvas, [&](int, int) { return color; }, offsetX, offsetY);
    }

private:
    int _width;
    int _height;
    std::vector<float> _values;
};

}  // namespace assetgen

#endif
