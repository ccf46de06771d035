// Font strips as the glyph cutter sees them: raw RGBA of any size and band height. The first
// four bytes give width, height, band height (signed) and glyph count; the rest are the
// pixels, bottom row first, padded with zeros to the whole sheet.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine2d/glyphcutter.h"
#include "fuzz/support/scratch.h"

using fuzzsupport::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 4;
    if (size < kHead) {
        return 0;
    }
    const int width = data[0];
    const int height = data[1];
    const int rowHeight = static_cast<std::int8_t>(data[2]);
    const std::size_t glyphCount = data[3];
    const std::size_t sheetBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    // Exactly the sheet, so a read past any of its rows is seen.
    std::vector<unsigned char> sheet(sheetBytes, 0);
    const std::size_t given = size - kHead < sheetBytes ? size - kHead : sheetBytes;
    std::copy(data + kHead, data + kHead + given, sheet.begin());

    const std::vector<Quib::AABB2<int> > glyphs = Stelkor::cutGlyphs(sheet.data(), width, height, rowHeight, glyphCount);
    require(glyphs.size() <= glyphCount, "more glyphs than asked for");
    for (const Quib::AABB2<int>& glyph : glyphs) {
        require(glyph.min.x >= 0 && glyph.min.x <= glyph.max.x && glyph.max.x <= width,
                "a glyph reaches outside the sheet's columns");
        require(glyph.min.y >= 0 && glyph.min.y < height, "a glyph's bottom row is not on the sheet");
    }
    return 0;
}
