#include "tools/assetgen/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include <png.h>

namespace assetgen {

Color mix(const Color& x, const Color& y, float t)
{
    return Color{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Color withAlpha(const Color& c, float a) { return Color{c.r, c.g, c.b, a}; }

Canvas::Canvas(int width, int height, Color fill)
    : _width(width), _height(height), _pixels(static_cast<size_t>(width) * height, fill)
{
}

void Canvas::blend(int x, int y, const Color& c, float coverage)
{
    if (!inside(x, y) || coverage <= 0.0f)
        return;
    Color& d = at(x, y);
    const float sa = std::min(1.0f, c.a * coverage);
    const float outA = sa + d.a * (1.0f - sa);
    if (outA <= 0.0f) {
        d = Color{};
        return;
    }
    d.r = (c.r * sa + d.r * d.a * (1.0f - sa)) / outA;
    d.g = (c.g * sa + d.g * d.a * (1.0f - sa)) / outA;
    d.b = (c.b * sa + d.b * d.a * (1.0f - sa)) / outA;
    d.a = outA;
}

namespace {

png_byte toByte(float v)
{
    const float c = std::clamp(v, 0.0f, 1.0f);
    return static_cast<png_byte>(std::lround(c * 255.0f));
}

}  // namespace

void Canvas::savePng(const std::string& path) const
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write '" + path + "'");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("cannot encode '" + path + "'");
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, _width, _height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(_width) * 4);
    for (int y = _height - 1; y >= 0; --y) {
        for (int x = 0; x < _width; ++x) {
            const Color& c = at(x, y);
            png_byte* p = &row[static_cast<size_t>(x) * 4];
            p[0] = toByte(c.r);
            p[1] = toByte(c.g);
            p[2] = toByte(c.b);
            p[3] = toByte(c.a);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0)
        throw std::runtime_error("cannot write '" + path + "'");
}

}  // namespace assetgen
