#ifndef QUELLARIS_ASSETGEN_CANVAS_H
#define QUELLARIS_ASSETGEN_CANVAS_H

#include <string>
#include <vector>

namespace assetgen {

struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Color rgba(float r, float g, float b, float a = 1.0f) { return Color{r, g, b, a}; }
Color mix(const Color& x, const Color& y, float t);
Color withAlpha(const Color& c, float a);

// A picture in floating-point straight-alpha RGBA. y counts upwards from the bottom row, as the
// game stores its bitmaps, so a rectangle (0,0)-(w,h) cut by the game is the bottom-left corner here.
class Canvas {
public:
    Canvas(int width, int height, Color fill = Color{});

    int width() const { return _width; }
    int height() const { return _height; }
    Color& at(int x, int y) { return _pixels[static_cast<size_t>(y) * _width + x]; }
    const Color& at(int x, int y) const { return _pixels[static_cast<size_t>(y) * _width + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < _width && y < _height; }

    // Composites a colour over the pixel with the given coverage (0..1).
    void blend(int x, int y, const Color& c, float coverage);

    // Writes an 8-bit RGBA PNG (colour type 6), rows top first as PNG wants them.
    void savePng(const std::string& path) const;

private:
    int _width;
    int _height;
    std::vector<Color> _pixels;
};

}  // namespace assetgen

#endif
