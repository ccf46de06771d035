#include "tools/assetgen/fontsheet.h"

#include <algorithm>
#include <stdexcept>

#include "tools/assetgen/fontface.h"

namespace assetgen {

namespace {

const Color kMarker{1.0f, 0.0f, 0.0f, 0.0f};
const Color kClear{1.0f, 1.0f, 1.0f, 0.0f};

}  // namespace

Canvas drawFontSheet(const FontSheetLayout& layout)
{
    const FontFace face(layout.face, layout.pixelSize);
    Canvas sheet(layout.width, layout.height, kClear);
    int bandY = 0;
    int x = 0;
    for (char c : layout.charset) {
        const FontFace::Glyph g = face.glyph(c);
        const int shift = std::max(0, -g.left);
        const int cell = std::max(g.advance - layout.spacing + shift, g.left + shift + g.width);
        // Room for the glyph, its marker and a band-ending marker.
        if (x + cell + 2 > layout.width) {
            sheet.at(x, bandY) = kMarker;
            bandY += layout.rowHeight;
            x = 0;
            if (bandY + layout.rowHeight > layout.height)
                throw std::runtime_error("font sheet " + layout.face + " too small for its charset");
        }
        for (int r = 0; r < g.rows; ++r) {
            const int y = layout.inkBaseline + g.top - 1 - r;
            // The band's bottom row carries the markers and the top row touches the next band.
            if (y < 1 || y >= layout.rowHeight)
                continue;
            for (int col = 0; col < g.width; ++col) {
                const float v = g.coverage[static_cast<size_t>(r) * g.width + col] / 255.0f;
                sheet.at(x + shift + g.left + col, bandY + y) = Color{1.0f, 1.0f, 1.0f, v};
            }
        }
        x += cell;
        sheet.at(x, bandY) = kMarker;
        ++x;
    }
    return sheet;
}

}  // namespace assetgen
