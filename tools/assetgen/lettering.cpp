#include "tools/assetgen/lettering.h"

#include <algorithm>

#include "tools/assetgen/fontface.h"

namespace assetgen {

namespace {

struct Ink {
    int left, right, bottom, top;  // relative to the pen and the baseline
};

Ink measure(const FontFace& face, const std::string& text, int tracking)
{
    Ink ink{1 << 20, -(1 << 20), 1 << 20, -(1 << 20)};
    int pen = 0;
    for (char c : text) {
        const FontFace::Glyph g = face.glyph(c);
        if (g.width > 0 && g.rows > 0) {
            ink.left = std::min(ink.left, pen + g.left);
            ink.right = std::max(ink.right, pen + g.left + g.width);
            ink.top = std::max(ink.top, g.top);
            ink.bottom = std::min(ink.bottom, g.top - g.rows);
        }
        pen += g.advance + tracking;
    }
    return ink;
}

}  // namespace

Mask letteringMask(int canvasWidth, int canvasHeight, const Lettering& l)
{
    Mask mask(canvasWidth, canvasHeight);
    for (int size = l.maxPixelSize; size >= 6; --size) {
        const FontFace face(l.face, size);
        const Ink ink = measure(face, l.text, l.tracking);
        const int w = ink.right - ink.left, h = ink.top - ink.bottom;
        if (w > l.boxWidth || h > l.boxHeight)
            continue;
        const int x = l.boxX + (l.boxWidth - w) / 2 - ink.left;
        const int baseline = l.boxY + (l.boxHeight - h) / 2 - ink.bottom;
        face.draw(mask, l.text, x, baseline, l.tracking);
        return mask;
    }
    return mask;
}

Color verticalGradient(const Color& bottom, const Color& top, int y0, int y1, int y)
{
    const float t = std::clamp(static_cast<float>(y - y0) / static_cast<float>(std::max(1, y1 - y0)), 0.0f, 1.0f);
    return mix(bottom, top, t);
}

void paintTitle(Canvas& canvas, const Mask& ink, const Color& bottom, const Color& top, const Color& outline,
                float outlineWidth, const Color& glow, int glowRadius)
{
    int y0 = ink.height(), y1 = 0;
    for (int y = 0; y < ink.height(); ++y)
        for (int x = 0; x < ink.width(); ++x)
            if (ink.at(x, y) > 0.0f) {
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    const Mask outer = ink.grown(outlineWidth);
    if (glowRadius > 0 && glow.a > 0.0f)
        outer.blurred(glowRadius).paint(canvas, glow);
    outer.paint(canvas, outline);
    ink.paint(canvas, [&](int, int y) { return verticalGradient(bottom, top, y0, y1, y); });
}

}  // namespace assetgen
