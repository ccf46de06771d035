#include "engine2d/glyphatlas.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "engine2d/bitmap.h"

namespace Stelkor {

namespace {

int bandRows(int rowHeight) {
    return std::max(rowHeight, 0);
}

// The bands the glyphs lie in: the bottom one always, then each further one up to the highest
// glyph that the sheet holds whole. Bands above it hold nothing a font draws; leaving them out
// keeps the atlas of a tall sheet from growing past what its charset needs.
int bandCount(const std::vector<Quib::AABB2<int> >& glyphs, int sheetHeight, int rows) {
    if (rows <= 0) {
        return 1;
    }
    int highest = 0;
    for (const Quib::AABB2<int>& glyph : glyphs) {
        highest = std::max(highest, glyph.min.y / rows);
    }
    return std::max(1, std::min(highest + 1, sheetHeight / rows));
}

// A band's first row in the atlas: below each band lie its own frame row, and the frame row
// above the band before it.
int atlasBandBottom(int band, int rows) {
    return band * (rows + 2) + 1;
}

void copyCleared(unsigned char* to, const unsigned char* from, int width) {
    for (int x = 0; x < width; ++x, to += 4, from += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 0;
    }
}

}  // namespace

std::unique_ptr<Bitmap> makeGlyphAtlas(const Bitmap& sheet, int rowHeight,
                                       const std::vector<Quib::AABB2<int> >& glyphs) {
    const int rows = bandRows(rowHeight);
    const int bands = bandCount(glyphs, sheet.h(), rows);
    const int width = sheet.w();
    std::unique_ptr<Bitmap> atlas(new Bitmap(Vector2<unsigned int>(width, atlasBandBottom(bands, rows) - 1),
                                             *sheet.renderer(), RGBA<float>(0, 0, 0, 0)));
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    const auto sheetRow = [&](int y) { return sheet.data() + static_cast<std::size_t>(y) * rowBytes; };
    const auto atlasRow = [&](int y) { return atlas->data() + static_cast<std::size_t>(y) * rowBytes; };
    for (int band = 0; band < bands && rows > 0; ++band) {
        const int bottom = atlasBandBottom(band, rows);
        // A bottom band taller than the sheet keeps its missing rows clear.
        const int present = std::min(rows, sheet.h() - band * rows);
        std::copy(sheetRow(band * rows), sheetRow(band * rows + present), atlasRow(bottom));
        copyCleared(atlasRow(bottom - 1), atlasRow(bottom), width);
        copyCleared(atlasRow(bottom + rows), atlasRow(bottom + rows - 1), width);
    }
    atlas->createBitmask(Bitmap::FILE_MASK_THRESHOLD);
    return atlas;
}

Quib::AABB2<int> atlasRect(const Quib::AABB2<int>& sheetRect, int rowHeight) {
    const int rows = bandRows(rowHeight);
    const int band = rows > 0 ? sheetRect.min.y / rows : 0;
    return sheetRect + Vector2<int>(0, atlasBandBottom(band, rows) - band * rows);
}

}  // namespace Stelkor
