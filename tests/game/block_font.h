#ifndef QUELLARIS_TESTS_GAME_BLOCK_FONT_H
#define QUELLARIS_TESTS_GAME_BLOCK_FONT_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "tests/support/png_writer.h"

namespace testsupport {

// A font sheet whose only glyph, "I", is a white block 8 wide filling its whole row, so the
// printed block covers exactly the line's box. Make the font with rowHeight as its row height;
// the sheet is the next power of two tall, with the band at its bottom. Returns the file name.
inline std::string writeBlockFont(const std::string& file, int rowHeight) {
    int height = 1;
    while (height < rowHeight) {
        height *= 2;
    }
    RgbaPicture sheet(32, height);
    for (int y = height - rowHeight; y < height; ++y) {
        for (int x = 0; x < 8; ++x) {
            sheet.set(x, y, 255, 255, 255, 255);
        }
    }
    // Markers on the bottom row end the glyph and the band.
    sheet.set(8, height - 1, 255, 0, 0, 0);
    sheet.set(9, height - 1, 255, 0, 0, 0);
    writePng(file, sheet);
    return file;
}

// The colour of a pixel of an 800 x 600 read-back screen, y from the bottom.
inline std::array<int, 3> rgbAt(const std::vector<unsigned char>& screen, int x, int y) {
    const unsigned char* p = &screen[(static_cast<std::size_t>(y) * 800 + x) * 4];
    return {p[0], p[1], p[2]};
}

}  // namespace testsupport

#endif
