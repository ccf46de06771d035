#ifndef QUELLARIS_ENGINE2D_GLYPHATLAS_H
#define QUELLARIS_ENGINE2D_GLYPHATLAS_H

#include <memory>
#include <vector>

#include "platform/math.h"

namespace Stelkor {

class Bitmap;

// The picture a font draws its glyphs from. On a font sheet the bands touch, so a glyph drawn
// where its texels do not fall on whole pixels (print's pen always lies a little past them; a
// scaled text) blends in the edge row of the band next to it, and the bottom band, by texture
// wrapping, the sheet's top row: faint marks under the letters. In the atlas the bands lie
// apart, each between a row below and a row above that hold the band's own edge rows made
// clear. A glyph then blends with nothing but its own band and fades at its top and bottom as
// against a clear neighbour; drawn on whole pixels it shows the very texels it shows on the
// sheet. Columns stay where they are: beside a glyph lie its band's markers or, by wrapping,
// the other end of its band.

// The atlas of a sheet cut into bands of rowHeight rows, holding the bands up to the highest of
// the glyph rectangles cut from it; without texture, with the alpha mask the file constructor
// makes. Makes no GL call.
std::unique_ptr<Bitmap> makeGlyphAtlas(const Bitmap& sheet, int rowHeight,
                                       const std::vector<Quib::AABB2<int> >& glyphs);

// Where a glyph rectangle cut from the sheet (one band high, from a band's bottom row) lies in
// the atlas.
Quib::AABB2<int> atlasRect(const Quib::AABB2<int>& sheetRect, int rowHeight);

}  // namespace Stelkor

#endif
