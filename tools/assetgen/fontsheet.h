#ifndef QUELLARIS_ASSETGEN_FONTSHEET_H
#define QUELLARIS_ASSETGEN_FONTSHEET_H

#include <string>

#include "tools/assetgen/canvas.h"

namespace assetgen {

// How one font sheet is drawn: the face, its size, and the sheet geometry the game cuts it with.
struct FontSheetLayout {
    std::string face;     // DejaVu file name
    int pixelSize;
    std::string charset;
    int baseline;         // rows above a band's bottom row where the game puts a glyph's pivot
    int inkBaseline;      // row the ink stands on; above baseline where descenders need the room
    int rowHeight;
    int spacing;          // pixels the game adds after every glyph: taken off the cell
    int width;
    int height;
};

// Lays the glyphs out band by band from the bottom, each followed by a marker pixel of
// (255, 0, 0, 0); a band ends with two markers in a row. Ink is white with alpha as coverage.
Canvas drawFontSheet(const FontSheetLayout& layout);

}  // namespace assetgen

#endif
