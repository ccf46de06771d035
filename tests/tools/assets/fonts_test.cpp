#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine2d/bitmap.h"
#include "engine2d/font.h"
#include "engine2d/glyphcutter.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"
#include "game/fontcharsets.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"

using Stelkor::Font;
using Stelkor::Image;
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

namespace {

using FontSheetsGL = testsupport::GlFixture;

constexpr int kScreenWidth = 800, kScreenHeight = 600;

// The box of a glyph's ink in its own texels, (0, 0) being its rectangle's min corner; empty
// (min past max) when it has none.
Quib::AABB2<int> inkBox(const Image& glyph)
{
    Quib::AABB2<int> box(glyph.size().x, glyph.size().y, 0, 0);
    for (int y = 0; y < glyph.size().y; ++y)
        for (int x = 0; x < glyph.size().x; ++x)
            if (glyph.bitmap()->pixelColor(glyph.bitmapPos() + Vector2<int>(x, y)).a > 0) {
                box.min.set(std::min(box.min.x, x), std::min(box.min.y, y));
                box.max.set(std::max(box.max.x, x + 1), std::max(box.max.y, y + 1));
            }
    return box;
}

// Each glyph of a charset gets a cell of its own, wide and high enough for any of them at the
// scale, from the bottom-left corner of the screen along rows.
struct Cells {
    Cells(const Font& font, const std::string& charset, float scale)
    {
        int widest = 0;
        for (char c : charset)
            widest = std::max(widest, font.charImage(static_cast<unsigned char>(c))->size().x);
        width = static_cast<int>(std::ceil((widest + 4) * scale));
        height = static_cast<int>(std::ceil((font.rowHeight() + 4) * scale));
        columns = kScreenWidth / width;
        margin = static_cast<int>(std::ceil(2 * scale));
        baseline = static_cast<int>(std::ceil((2 + font.baseline()) * scale));
    }
    bool fit(size_t count) const { return (static_cast<int>(count) + columns - 1) / columns * height <= kScreenHeight; }
    // A whole pixel inside cell i, where a glyph's pivot goes.
    Vector2<float> pen(size_t i) const
    {
        const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        return Vector2<float>(static_cast<float>(column * width + margin), static_cast<float>(row * height + baseline));
    }
    // The cell a screen pixel lies in; past the last column, none (SIZE_MAX).
    size_t of(int x, int y) const
    {
        return x / width < columns ? static_cast<size_t>(y / height * columns + x / width) : SIZE_MAX;
    }

    int width, height, columns, margin, baseline;
};

// What a screen of glyphs, each in its cell with its pivot at its pen, shows on black.
struct Lighting {
    std::string strayGlyphs;  // those lighting a pixel away from their ink, each named once
    int litOutsideCells = 0;
    std::vector<int> litInCell;
};

// A pixel blends the texels within half a texel of the point it samples: a glyph may light
// pixels only that near its own ink, and a quarter texel more is allowed for rounding.
Lighting lighting(const std::vector<unsigned char>& screen, const Cells& cells, const std::string& charset,
                  const std::vector<Quib::AABB2<int> >& inks, const std::vector<Vector2<float> >& pens, int baseline,
                  float scale)
{
    const float reach = 0.75f;
    Lighting seen;
    seen.litInCell.assign(charset.size(), 0);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const unsigned char* p = &screen[(static_cast<size_t>(y) * kScreenWidth + x) * 4];
            if (p[0] == 0 && p[1] == 0 && p[2] == 0)
                continue;
            const size_t i = cells.of(x, y);
            if (i >= charset.size()) {
                ++seen.litOutsideCells;
                continue;
            }
            ++seen.litInCell[i];
            // The pixel's centre in the glyph's texels.
            const float u = (static_cast<float>(x) + 0.5f - pens[i].x) / scale;
            const float v = (static_cast<float>(y) + 0.5f - pens[i].y) / scale + static_cast<float>(baseline);
            const Quib::AABB2<int>& ink = inks[i];
            const bool nearInk =
                u >= ink.min.x - reach && u <= ink.max.x + reach && v >= ink.min.y - reach && v <= ink.max.y + reach;
            if (!nearInk && seen.strayGlyphs.find(charset[i]) == std::string::npos)
                seen.strayGlyphs += charset[i];
        }
    return seen;
}

void clearToBlackAndDrawInWhite(Renderer2D& renderer)
{
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
}

}  // namespace

// Every glyph of each font alone, through the renderer's linear filter: on whole pixels, and
// printed, which puts its pen 0.15 past whole pixels as on every menu and message; at scale 1
// and 1.5. On the sheet the bands touch: a glyph that reached past its band's edge would take
// in the next band's edge row, faint marks under the letters. On whole pixels at scale 1 each
// pixel shows one texel, exactly what the glyph cut straight from the sheet shows.
TEST_F(FontSheetsGL, GlyphsLightNothingBeyondTheirOwnInk)
{
    enum class Place { WholePixels, Printed };
    struct Case {
        Place place;
        float scale;
    };
    const Case cases[] = {{Place::WholePixels, 1.0f}, {Place::WholePixels, 1.5f}, {Place::Printed, 1.0f},
                          {Place::Printed, 1.5f}};
    Renderer2D renderer;
    for (const Sheet& s : sheets()) {
        Font font(s.file, s.charset, s.baseline, s.rowHeight, s.spacing, renderer, true);
        renderer.font(font);
        std::vector<Quib::AABB2<int> > inks;
        for (char ch : s.charset)
            inks.push_back(inkBox(*font.charImage(static_cast<unsigned char>(ch))));
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << s.file << (c.place == Place::Printed ? " printed" : " on whole pixels")
                                              << " at scale " << c.scale);
            const Cells cells(font, s.charset, c.scale);
            ASSERT_TRUE(cells.fit(s.charset.size()));
            clearToBlackAndDrawInWhite(renderer);
            std::vector<Vector2<float> > pens;
            for (size_t i = 0; i < s.charset.size(); ++i) {
                const Vector2<float> whole = cells.pen(i);
                if (c.place == Place::WholePixels) {
                    renderer.drawImage(*font.charImage(static_cast<unsigned char>(s.charset[i])), whole, 0.0f, c.scale,
                                       c.scale);
                    pens.push_back(whole);
                } else {
                    // Printed from the top of the line, the rest of the band above the baseline.
                    const float rise = static_cast<float>(s.rowHeight - s.baseline) * c.scale;
                    renderer.print(std::string(1, s.charset[i]), whole + Vector2<float>(0.0f, rise),
                                   Vector2<float>(c.scale, c.scale));
                    pens.push_back(whole + Vector2<float>(0.15f, 0.15f));
                }
            }
            const std::vector<unsigned char> screen = testsupport::readScreen();

            const Lighting seen = lighting(screen, cells, s.charset, inks, pens, s.baseline, c.scale);
            EXPECT_EQ(seen.strayGlyphs, "") << "glyphs that light pixels away from their ink";
            EXPECT_EQ(seen.litOutsideCells, 0);
            for (size_t i = 0; i < s.charset.size(); ++i)
                EXPECT_EQ(seen.litInCell[i] > 0, s.charset[i] != ' ') << "'" << s.charset[i] << "' shows";

            if (c.place == Place::WholePixels && c.scale == 1.0f) {
                Stelkor::Bitmap sheet(s.file, renderer, true);
                const auto rects =
                    Stelkor::cutGlyphs(sheet.data(), sheet.w(), sheet.h(), s.rowHeight, s.charset.size());
                clearToBlackAndDrawInWhite(renderer);
                for (size_t i = 0; i < rects.size(); ++i)
                    renderer.drawImage(Image(sheet, rects[i], Vector2<int>(0, s.baseline), false), cells.pen(i), 0.0f,
                                       1.0f, 1.0f);
                EXPECT_TRUE(testsupport::readScreen() == screen) << "on whole pixels glyphs show their sheet's texels";
            }
        }
    }
}
