#include "tools/assetgen/fontface.h"

#include <cmath>
#include <stdexcept>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace assetgen {

namespace {

FT_Library lib(void* p) { return static_cast<FT_Library>(p); }
FT_Face face(void* p) { return static_cast<FT_Face>(p); }

}  // namespace

std::string FontFace::path(const std::string& file) { return "/usr/share/fonts/truetype/dejavu/" + file; }

FontFace::FontFace(const std::string& file, int pixelSize, float horizontalScale) : _library(nullptr), _face(nullptr)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        throw std::runtime_error("cannot start FreeType");
    _library = library;
    FT_Face f = nullptr;
    const std::string full = path(file);
    if (FT_New_Face(library, full.c_str(), 0, &f) != 0) {
        FT_Done_FreeType(library);
        throw std::runtime_error("cannot read font '" + full + "' (install fonts-dejavu-core and fonts-dejavu-extra)");
    }
    _face = f;
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixelSize));
    if (horizontalScale != 1.0f) {
        FT_Matrix m{static_cast<FT_Fixed>(std::lround(horizontalScale * 65536.0f)), 0, 0, 0x10000};
        FT_Set_Transform(f, &m, nullptr);
    }
}

FontFace::~FontFace()
{
    FT_Done_Face(face(_face));
    FT_Done_FreeType(lib(_library));
}

FontFace::Glyph FontFace::glyph(char c) const
{
    FT_Face f = face(_face);
    Glyph g;
    const FT_UInt index = FT_Get_Char_Index(f, static_cast<unsigned char>(c));
    if (FT_Load_Glyph(f, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
        throw std::runtime_error(std::string("cannot render glyph '") + c + "'");
    const FT_GlyphSlot slot = f->glyph;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(slot->bitmap.width);
    g.rows = static_cast<int>(slot->bitmap.rows);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
    for (int r = 0; r < g.rows; ++r)
        for (int x = 0; x < g.width; ++x)
            g.coverage[static_cast<size_t>(r) * g.width + x] = slot->bitmap.buffer[r * slot->bitmap.pitch + x];
    return g;
}

void FontFace::draw(Mask& mask, const std::string& text, int x, int baselineY, int tracking) const
{
    int pen = x;
    for (char c : text) {
        const Glyph g = glyph(c);
        for (int r = 0; r < g.rows; ++r)
            for (int col = 0; col < g.width; ++col) {
                const float v = g.coverage[static_cast<size_t>(r) * g.width + col] / 255.0f;
                if (v > 0.0f)
                    mask.unite(pen + g.left + col, baselineY + g.top - 1 - r, v);
            }
        pen += g.advance + tracking;
    }
}

}  // namespace assetgen
