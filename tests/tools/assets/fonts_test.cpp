#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine2d/bitmap.h"
#include "engine2d/font.h"
#include "engine2d/glyphcutter.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"
#include "game/fontcharsets.h"

using Stelkor::Font;
using Stelkor::Renderer2D;

namespace {

struct Sheet {
    const char* file;
    std::string charset;
    int baseline, rowHeight, spacing;
};

const std::vector<Sheet>& sheets()
{
    static const std::vector<Sheet> list = {{"textures/font_small.png", fontcharsets::kCharsetA, 5, 16, 0},
                                            {"textures/font.png", fontcharsets::kCharsetB, 5, 16, 0},
                                            {"textures/font_big.png", fontcharsets::kCharsetA, 5, 32, 2}};
    return list;
}

bool hasInk(const Stelkor::Bitmap& bitmap, const Quib::AABB2<int>& r)
{
    for (int y = r.min.y; y < r.max.y; ++y)
        for (int x = r.min.x; x < r.max.x; ++x)
            if (bitmap.pixelColor(Vector2<int>(x, y)).a > 0)
                return true;
    return false;
}

}  // namespace

TEST(FontSheets, CharsetsHaveTheirLengths)
{
    EXPECT_EQ(std::string(fontcharsets::kCharsetA).size(), 81u);
    EXPECT_EQ(std::string(fontcharsets::kCharsetB).size(), 93u);
}

// Exactly the charset's glyphs, each closed by its marker; the place after the last one holds
// no further marked glyph.
TEST(FontSheets, EachSheetCutsIntoExactlyItsCharsetsGlyphs)
{
    Renderer2D renderer;
    for (const Sheet& s : sheets()) {
        SCOPED_TRACE(s.file);
        const Stelkor::Bitmap bitmap(s.file, renderer, false);
        const size_t n = s.charset.size();
        const auto glyphs = Stelkor::cutGlyphs(bitmap.data(), bitmap.w(), bitmap.h(), s.rowHeight, n + 1);
        ASSERT_GE(glyphs.size(), n);
        for (size_t i = 0; i < n; ++i) {
            const auto& g = glyphs[i];
            ASSERT_LT(g.max.x, bitmap.w()) << "glyph " << i << " has no marker";
            EXPECT_TRUE(Stelkor::isGlyphMarker(bitmap.data() + (g.min.y * bitmap.w() + g.max.x) * 4)) << "glyph " << i;
            EXPECT_GT(g.max.x - g.min.x, 0) << "glyph " << i;
            // Every character but the space shows ink; the space shows none.
            EXPECT_EQ(hasInk(bitmap, g), s.charset[i] != ' ') << "glyph " << i << " '" << s.charset[i] << "'";
        }
        if (glyphs.size() > n) {
            const auto& extra = glyphs[n];
            const bool marked = extra.max.x < bitmap.w() &&
                                Stelkor::isGlyphMarker(bitmap.data() + (extra.min.y * bitmap.w() + extra.max.x) * 4);
            EXPECT_FALSE(marked);
        }

        const Font font(s.file, s.charset, s.baseline, s.rowHeight, s.spacing, renderer, false);
        for (char c : s.charset)
            EXPECT_NE(font.charImage(static_cast<unsigned char>(c)), nullptr) << c;
        EXPECT_GT(font.charImage('W')->rect().max.x - font.charImage('W')->rect().min.x,
                  font.charImage('i')->rect().max.x - font.charImage('i')->rect().min.x);
    }
}

// Ink is white with alpha as coverage: never red, and off every band's marker row.
TEST(FontSheets, InkIsWhiteAndStaysOffTheMarkerRows)
{
    Renderer2D renderer;
    for (const Sheet& s : sheets()) {
        SCOPED_TRACE(s.file);
        const Stelkor::Bitmap bitmap(s.file, renderer, false);
        for (int y = 0; y < bitmap.h(); ++y)
            for (int x = 0; x < bitmap.w(); ++x) {
                const RGBA<unsigned char> c = bitmap.pixelColor(Vector2<int>(x, y));
                const bool marker = c.r == 255 && c.g == 0 && c.b == 0;
                if (y % s.rowHeight == 0) {
                    EXPECT_TRUE(marker || c.a == 0) << x << "," << y;
                } else {
                    ASSERT_FALSE(marker) << x << "," << y;
                    if (c.a > 0) {
                        ASSERT_TRUE(c.r == 255 && c.g == 255 && c.b == 255) << x << "," << y;
                    }
                }
            }
    }
}
