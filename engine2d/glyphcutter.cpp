#include "engine2d/glyphcutter.h"

namespace Stelkor {

bool isGlyphMarker(const unsigned char* rgba) {
    return rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 0;
}

std::vector<Quib::AABB2<int> > cutGlyphs(const unsigned char* rgba, int width, int height, int rowHeight,
                                         std::size_t glyphCount) {
    std::vector<Quib::AABB2<int> > glyphs;
    glyphs.reserve(glyphCount);
    int bandY = 0;
    int x = 0;
    // A band's bottom row must lie on the sheet, or there is nothing left to read.
    while (glyphs.size() < glyphCount && bandY >= 0 && bandY < height) {
        const unsigned char* row = rgba + static_cast<std::size_t>(bandY) * width * 4;
        const auto markerAt = [row](int column) { return isGlyphMarker(row + static_cast<std::size_t>(column) * 4); };

        const int x0 = x;
        while (x < width && !markerAt(x)) {
            ++x;
        }
        glyphs.push_back(Quib::AABB2<int>(x0, bandY, x, bandY + rowHeight));
        ++x;  // past the marker
        if (x < width && !markerAt(x)) {
            continue;
        }
        x = 0;
        bandY += rowHeight;
        if (bandY + rowHeight > height) {
            break;
        }
    }
    return glyphs;
}

}  // namespace Stelkor
