#ifndef QUELLARIS_ENGINE2D_GLYPHCUTTER_H
#define QUELLARIS_ENGINE2D_GLYPHCUTTER_H

#include <cstddef>
#include <vector>

#include "platform/math.h"

namespace Stelkor {

// Font sheet layout. The sheet is cut into bands of rowHeight rows from the bottom up; only a
// band's bottom row is read. There glyphs sit side by side from the left edge, each followed
// by one marker pixel (R 255, G 0, B 0, any alpha). A second marker right after a marker, a
// marker in the last column or the row's end closes the band, and the next glyph starts at
// the left edge of the band above.

bool isGlyphMarker(const unsigned char* rgba);

// The rectangles of the first glyphCount glyphs of a sheet given as bottom-up RGBA rows, in
// order; fewer when the sheet runs out of bands. Makes no GL call.
std::vector<Quib::AABB2<int> > cutGlyphs(const unsigned char* rgba, int width, int height, int rowHeight,
                                         std::size_t glyphCount);

}  // namespace Stelkor

#endif
