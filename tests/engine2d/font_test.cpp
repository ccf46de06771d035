#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

#include "engine2d/bitmap.h"
#include "engine2d/font.h"
#include "engine2d/glyphcutter.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/support/png_writer.h"

using Stelkor::Font;
using Stelkor::Image;
using Stelkor::Renderer2D;

namespace {

// A font sheet under construction, addressed as the font reads it: y counts up from the
// bottom row of the picture.
class Sheet {
public:
    Sheet(int w, int h) : _picture(w, h) {}

    void marker(int x, int y, std::uint8_t alpha = 0) { set(x, y, 255, 0, 0, alpha); }
    void ink(int x, int y) { set(x, y, 255, 255, 255, 255); }
    void set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
        _picture.set(x, _picture.height() - 1 - y, r, g, b, a);
    }
    // Band row y holds glyphs of these widths, each followed by a marker; then a second marker.
    void band(int y, const std::vector<int>& widths) {
        int x = 0;
        for (const int w : widths) {
            x += w;
            marker(x++, y);
        }
        marker(x, y);
    }
    void write(const std::string& file) const { testsupport::writePng(file, _picture); }

private:
    testsupport::RgbaPicture _picture;
};

// Remembers where print puts each glyph instead of drawing it.
class PenRecorder : public Renderer2D {
public:
    void placeGlyph(const Image& image, const Vector2<float>& pos, const Vector2<float>& scale) override {
        glyphs.push_back(&image);
        pens.push_back(pos);
        scales.push_back(scale.x);
    }
    std::vector<const Image*> glyphs;
    std::vector<Vector2<float> > pens;
    std::vector<float> scales;
};

// "A" 10 wide and "B" 12 wide in bands of 20 rows, baseline 4, spacing 2.
const char* const kTwoGlyphFont = "font_ab.png";

void writeTwoGlyphSheet() {
    Sheet sheet(64, 32);
    sheet.band(0, {10, 12});
    sheet.write(kTwoGlyphFont);
}

}  // namespace

TEST(GlyphCutter, RedOfAnyAlphaIsAMarkerAndNothingElseIs) {
    const unsigned char transparentRed[4] = {255, 0, 0, 0};
    const unsigned char almostRed[4] = {254, 0, 0, 255};
    const unsigned char redWithGreen[4] = {255, 1, 0, 255};
    const unsigned char redWithBlue[4] = {255, 0, 1, 255};
    EXPECT_TRUE(Stelkor::isGlyphMarker(transparentRed));
    EXPECT_FALSE(Stelkor::isGlyphMarker(almostRed));
    EXPECT_FALSE(Stelkor::isGlyphMarker(redWithGreen));
    EXPECT_FALSE(Stelkor::isGlyphMarker(redWithBlue));
}

TEST(GlyphCutter, BandsEndAtDoubleMarkersLastColumnsAndTheRowsEnd) {
    const int w = 16;
    const int h = 32;
    std::vector<unsigned char> pixels(w * h * 4, 0);
    const auto marker = [&](int x, int y) { pixels[(y * w + x) * 4] = 255; };
    marker(3, 0);   // glyph 0: columns 0-2
    marker(8, 0);   // glyph 1: columns 4-7
    marker(9, 0);   // double marker: band ends
    marker(0, 8);   // glyph 2: width 0 at the band's first column
    marker(15, 8);  // glyph 3: columns 1-14, marker in the last column ends the band
    // band 16: no marker, glyph 4 runs to the right edge
    const auto glyphs = Stelkor::cutGlyphs(pixels.data(), w, h, 8, 10);
    ASSERT_EQ(glyphs.size(), 6u);  // the fourth band, 24-31, is the last that fits
    EXPECT_EQ(glyphs[0], Quib::AABB2<int>(0, 0, 3, 8));
    EXPECT_EQ(glyphs[1], Quib::AABB2<int>(4, 0, 8, 8));
    EXPECT_EQ(glyphs[2], Quib::AABB2<int>(0, 8, 0, 16));
    EXPECT_EQ(glyphs[3], Quib::AABB2<int>(1, 8, 15, 16));
    EXPECT_EQ(glyphs[4], Quib::AABB2<int>(0, 16, 16, 24));
    EXPECT_EQ(glyphs[5], Quib::AABB2<int>(0, 24, 16, 32));

    EXPECT_EQ(Stelkor::cutGlyphs(pixels.data(), w, h, 8, 2).size(), 2u);
    EXPECT_TRUE(Stelkor::cutGlyphs(pixels.data(), w, h, -8, 3).size() <= 3u);
}

TEST(FontTest, CutsTheSheetIntoTheCharsetsGlyphs) {
    Sheet sheet(32, 32);
    sheet.band(0, {5, 7});              // a, b; then a double marker
    sheet.marker(0, 16, 255);           // c: marker in column 0, opaque red
    sheet.marker(10, 16, 0);            // a again: columns 1-9, transparent red
    sheet.set(20, 16, 254, 0, 0, 255);  // not a marker: x runs on to the edge
    sheet.write("font_cut.png");

    Renderer2D renderer;
    const Font font("font_cut.png", "abcaZ", 4, 16, 1, renderer, false);
    // The glyphs are drawn from the atlas, where a frame row lies below and above each band:
    // the sheet's bottom band is one row higher there, the next one three.
    const Vector2<int> band0(0, 1);
    const Vector2<int> band1(0, 3);
    ASSERT_NE(font.charImage('b'), nullptr);
    EXPECT_EQ(font.charImage('b')->rect(), Quib::AABB2<int>(6, 0, 13, 16) + band0);
    EXPECT_EQ(font.charImage('c')->size(), Vector2<int>(0, 16));
    EXPECT_EQ(font.charImage('c')->bitmapPos(), Vector2<int>(0, 16) + band1);
    EXPECT_EQ(font.charImage('a')->rect(), Quib::AABB2<int>(1, 16, 10, 32) + band1);  // the later glyph wins
    EXPECT_EQ(font.charImage('Z')->rect(), Quib::AABB2<int>(11, 16, 32, 32) + band1);
    EXPECT_EQ(font.charImage('a')->pivot(), Vector2<int>(0, 4));
    EXPECT_EQ(font.charImage('x'), nullptr);
    EXPECT_EQ(font.bitmap().texture(), 0u);
}

// A tall sheet whose glyphs all sit in its bottom band: the texture holds that band and its
// two clear rows, not the empty bands above it, each grown by two rows.
TEST(FontTest, TextureHoldsOnlyTheBandsWithGlyphs) {
    Sheet sheet(64, 1024);
    sheet.band(0, {5, 7});
    sheet.write("font_tall.png");

    Renderer2D renderer;
    const Font font("font_tall.png", "ab", 4, 16, 1, renderer, false);
    EXPECT_EQ(font.bitmap().size(), Vector2<int>(64, 32));
}

TEST(FontTest, MissingSheetFailsLikeAnyBitmap) {
    Renderer2D renderer;
    try {
        Font font("font_missing.png", "a", 0, 8, 0, renderer, false);
        FAIL() << "a font without a sheet was made";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "cannot open file X 'font_missing.png'");
    }
}

TEST(TextTest, MeasuresLinesWithSpacingAfterEveryGlyph) {
    writeTwoGlyphSheet();
    Renderer2D renderer;
    const Font font(kTwoGlyphFont, "AB", 4, 20, 2, renderer, false);

    Vector2<float> size;
    renderer.getTextSize(&size, nullptr, "AB", font, Vector2<float>(1, 1));
    EXPECT_EQ(size, Vector2<float>(26, 20));

    renderer.lineSpacing(5);
    std::vector<float> widths = {99};
    renderer.getTextSize(&size, &widths, "AB\nA?", font, Vector2<float>(1, 1));
    EXPECT_EQ(widths, (std::vector<float>{99, 26, 12}));  // appended; '?' has no glyph
    EXPECT_EQ(size, Vector2<float>(26, 45));

    widths.clear();
    renderer.getTextSize(&size, &widths, "A\n", font, Vector2<float>(2, 0.5f));
    EXPECT_EQ(widths, (std::vector<float>{24, 0}));
    EXPECT_EQ(size, Vector2<float>(24, 22.5f));
}

TEST(TextTest, PrintStartsTheFirstLineAtItsAlignment) {
    writeTwoGlyphSheet();
    PenRecorder renderer;
    Font font(kTwoGlyphFont, "AB", 4, 20, 2, renderer, false);
    renderer.print("AB", Vector2<float>(10, 10), Vector2<float>(1, 1));
    EXPECT_TRUE(renderer.pens.empty());  // no font chosen yet

    renderer.font(font);
    renderer.print("A?B", Vector2<float>(10.7f, 100.2f), Vector2<float>(1, 1));
    ASSERT_EQ(renderer.pens.size(), 2u);
    EXPECT_FLOAT_EQ(renderer.pens[0].x, 10.15f);
    EXPECT_FLOAT_EQ(renderer.pens[0].y, 84.15f);
    EXPECT_FLOAT_EQ(renderer.pens[1].x, 22.15f);  // past A and the spacing; '?' takes no room
    EXPECT_EQ(renderer.glyphs[1], font.charImage('B'));

    renderer.pens.clear();
    renderer.lineSpacing(5);
    renderer.textAlign(Renderer2D::ALIGN_RIGHT, Renderer2D::ALIGN_TOP);
    renderer.print("AB\nA", Vector2<float>(100, 200), Vector2<float>(1, 1));
    ASSERT_EQ(renderer.pens.size(), 3u);
    EXPECT_FLOAT_EQ(renderer.pens[0].x, 74.0f);
    EXPECT_FLOAT_EQ(renderer.pens[0].y, 184.15f);
    EXPECT_FLOAT_EQ(renderer.pens[2].x, 88.0f);
    EXPECT_FLOAT_EQ(renderer.pens[2].y, 159.15f);

    renderer.pens.clear();
    renderer.textAlign(Renderer2D::ALIGN_CENTER, Renderer2D::ALIGN_CENTER);
    renderer.print("AB\nA", Vector2<float>(100, 200), Vector2<float>(1, 1));
    EXPECT_FLOAT_EQ(renderer.pens[0].x, 87.0f);
    EXPECT_FLOAT_EQ(renderer.pens[0].y, 206.15f);  // 184 raised by half of 45, then truncated
    EXPECT_FLOAT_EQ(renderer.pens[2].x, 94.0f);

    renderer.pens.clear();
    renderer.textAlign(Renderer2D::ALIGN_LEFT, Renderer2D::ALIGN_BOTTOM);
    renderer.print("A\nB", Vector2<float>(50.5f, 0), Vector2<float>(2, 2));
    EXPECT_FLOAT_EQ(renderer.pens[0].x, 50.15f);
    // Baseline -32 raised by the block's height 2 x 20 + 2 x (20 + 5).
    EXPECT_FLOAT_EQ(renderer.pens[0].y, 58.15f);
    EXPECT_FLOAT_EQ(renderer.pens[1].x, 50.5f);
    EXPECT_FLOAT_EQ(renderer.pens[1].y, 8.15f);
    EXPECT_FLOAT_EQ(renderer.scales.back(), 2.0f);
}

namespace {

using TextGL = testsupport::GlFixture;

std::array<int, 4> pixelAt(int x, int y) {
    glFinish();
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

}  // namespace

TEST_F(TextGL, GlyphSitsOnThePenWithItsBaseline) {
    // "I": an 8 x 8 block of ink from the baseline (row 4) up, in a band of 16 rows.
    Sheet sheet(32, 16);
    for (int y = 4; y < 12; ++y) {
        for (int x = 0; x < 8; ++x) {
            sheet.ink(x, y);
        }
    }
    sheet.band(0, {8});
    sheet.write("font_block.png");

    Renderer2D renderer;
    renderer.textureFilter(Renderer2D::FILTER_NEAREST);
    Font font("font_block.png", "I", 4, 16, 0, renderer, true);
    font.activate();  // a second call keeps the one texture
    EXPECT_EQ(renderer.textures().size(), 1u);

    renderer.color(0, 0, 0, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    renderer.font(font);
    // Top of the line at 200: the pen's baseline is 200 - (16 - 4) = 188.
    renderer.print("I", Vector2<float>(100, 200), Vector2<float>(1, 1));
    EXPECT_EQ(pixelAt(100, 188), (std::array<int, 4>{255, 255, 255, 255}));
    EXPECT_EQ(pixelAt(107, 195), (std::array<int, 4>{255, 255, 255, 255}));
    EXPECT_EQ(pixelAt(100, 187), (std::array<int, 4>{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(100, 196), (std::array<int, 4>{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(108, 190), (std::array<int, 4>{0, 0, 0, 255}));
}

namespace {

// The same printing as the renderer's, each glyph drawn on its own with its own matrix.
class GlyphByGlyph : public Renderer2D {
protected:
    void placeGlyph(const Image& glyph, const Vector2<float>& pen, const Vector2<float>& scale) override {
        drawImage(glyph, pen, 0.0f, scale.x, scale.y);
    }
};

}  // namespace

// Lines, alignments, scales that fall between pixels, and both filters: the glyphs printed as
// one array land on the pixels their own drawing gives, and leave the same texture bound.
TEST_F(TextGL, PrintedTextMatchesItsGlyphsDrawnOneByOne) {
    Sheet sheet(64, 32);
    for (int y = 4; y < 18; ++y) {
        for (int x = 0; x < 22; ++x) {
            if ((x * 7 + y * 3) % 5 < 3) {
                sheet.ink(x, y);
            }
        }
    }
    sheet.band(0, {10, 12});
    sheet.write(kTwoGlyphFont);

    struct Case {
        Renderer2D::TexFilter filter;
        Renderer2D::align h;
        Renderer2D::align v;
        Vector2<float> scale;
    };
    const Case cases[] = {
        {Renderer2D::FILTER_NEAREST, Renderer2D::ALIGN_LEFT, Renderer2D::ALIGN_TOP, Vector2<float>(1.0f, 1.0f)},
        {Renderer2D::FILTER_LINEAR, Renderer2D::ALIGN_CENTER, Renderer2D::ALIGN_CENTER, Vector2<float>(1.5f, 2.0f)},
        {Renderer2D::FILTER_LINEAR, Renderer2D::ALIGN_RIGHT, Renderer2D::ALIGN_BOTTOM, Vector2<float>(2.37f, 0.8f)},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> screens[2];
        bool fontBound[2] = {false, false};
        for (int way = 0; way < 2; ++way) {
            GlyphByGlyph oneByOne;
            Renderer2D batched;
            Renderer2D& renderer = way == 0 ? static_cast<Renderer2D&>(oneByOne) : batched;
            renderer.textureFilter(c.filter);
            Font font(kTwoGlyphFont, "AB", 4, 20, 2, renderer, true);
            renderer.color(0, 0, 0, 1);
            renderer.clear();
            renderer.color(1, 0.8f, 0.6f, 1);
            renderer.font(font);
            renderer.textAlign(c.h, c.v);
            renderer.print("ABBA\nBA\nAAB", Vector2<float>(400.3f, 300.6f), c.scale);
            screens[way] = testsupport::readScreen();
            GLint texture = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
            fontBound[way] = static_cast<unsigned int>(texture) == font.bitmap().texture();
        }
        SCOPED_TRACE(::testing::Message() << "scale " << c.scale.x << " x " << c.scale.y);
        EXPECT_TRUE(screens[0] == screens[1]);
        EXPECT_LT(testsupport::pixelsOf(screens[1], 0, 0, 0), 800 * 600 - 500) << "the text shows";
        EXPECT_TRUE(fontBound[0] && fontBound[1]);
    }
}
