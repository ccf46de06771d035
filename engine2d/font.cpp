#include "engine2d/font.h"

#include <vector>

#include "engine2d/bitmap.h"
#include "engine2d/glyphatlas.h"
#include "engine2d/glyphcutter.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"

namespace Stelkor {

Font::Font(const std::string& file, const std::string& charset, int baseline, int rowHeight, int spacing,
           Renderer2D& renderer, bool activate)
    : _renderer(&renderer), _rowHeight(rowHeight), _spacing(spacing), _baseline(baseline) {
    const Bitmap sheet(file, renderer, false);
    const std::vector<Quib::AABB2<int> > glyphs =
        cutGlyphs(sheet.data(), sheet.w(), sheet.h(), rowHeight, charset.size());
    _bitmap = makeGlyphAtlas(sheet, rowHeight, glyphs);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        // A character named twice keeps its later glyph.
        _images[static_cast<unsigned char>(charset[i])].reset(
            new Image(*_bitmap, atlasRect(glyphs[i], rowHeight), Vector2<int>(0, baseline), true));
    }
    if (activate) {
        this->activate();
    }
}

Font::~Font() {
    deactivate();
}

void Font::activate() {
    // A second texture would only leak the first one.
    if (_bitmap->texture() == 0) {
        _renderer->makeTexture(*this);
    }
}

void Font::deactivate() {
    if (_bitmap->texture() != 0) {
        _renderer->destroyTexture(*this);
    }
}

}  // namespace Stelkor
