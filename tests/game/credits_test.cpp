#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

#include "engine2d/font.h"
#include "engine2d/renderer2d.h"
#include "game/credits.h"
#include "tests/game/block_font.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"

using Stelkor::Font;
using Stelkor::Renderer2D;
using Vortel::Credits;

namespace {

const RGBA<float> kYellow(1, 1, 0, 1);
const RGBA<float> kCyan(0, 1, 1, 1);

// Titles 16 rows tall, texts 24.
struct TwoFonts {
    explicit TwoFonts(Renderer2D& renderer)
        : title(testsupport::writeBlockFont("font_title.png", 16), "I", 4, 16, 0, renderer, false),
          text(testsupport::writeBlockFont("font_text.png", 24), "I", 4, 24, 0, renderer, false) {}
    Font title;
    Font text;
};

}  // namespace

TEST(CreditsTest, EntriesStackDownwardsByTheirMeasuredHeights) {
    Renderer2D renderer;
    TwoFonts fonts(renderer);
    Credits credits(renderer);
    credits.font(fonts.title, fonts.text);
    credits.spaceBetweenTitles(10);
    credits.leading(5.9f);  // 5 whole pixels between lines

    struct Case {
        const char* title;
        const char* text;
        float titleY;
        float textY;
    };
    const Case cases[] = {
        {"I", "I", 0, -16},         // the title's 16 rows, then the gap 10 and the text's 24
        {"", "I\nI", -50, -50},     // no title, no room; then two lines 24 + 5 + 24 and the gap
        {"I", "", -113, -129},      // no text: neither room nor gap
        {"I\nI", "I", -129, -166},  // two title lines 16 + 5 + 16
    };
    for (const Case& c : cases) {
        credits.colors(kYellow, c.text[0] ? kCyan : kYellow);
        credits.addEntry(c.title, c.text);
    }
    ASSERT_EQ(credits.entries().size(), 4u);
    auto entry = credits.entries().begin();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.title << "\" / \"" << c.text << '"');
        EXPECT_EQ(entry->title, c.title);
        EXPECT_EQ(entry->titleY, c.titleY);
        EXPECT_EQ(entry->textY, c.textY);
        EXPECT_EQ(entry->textColor, c.text[0] ? kCyan : kYellow);  // the colours of its time
        ++entry;
    }
    EXPECT_EQ(credits.length(), -200);
    EXPECT_EQ(renderer.lineSpacing(), 5);
}

TEST(CreditsTest, ScrollRunsToTheEndPlusBlankSpaceThenRestartsAndCountsALoop) {
    struct Case {
        bool fonts;
        float end;  // all entries plus the blank space
    };
    const Case cases[] = {
        {true, 650},   // entries 2 x (16 + 210 + 24) = 500 tall
        {false, 150},  // without fonts the entries take no room, yet the roll goes on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fonts);
        Renderer2D renderer;
        TwoFonts fonts(renderer);
        Credits credits(renderer);
        if (c.fonts) {
            credits.font(fonts.title, fonts.text);
        }
        credits.spaceBetweenTitles(210);
        credits.addEntry("I", "I");
        credits.addEntry("I", "I");
        credits.endBlankSpace(150);
        credits.scrollSpeed(50);

        credits.animate(c.end / 50 - 1);
        EXPECT_FLOAT_EQ(credits.scroll(), c.end - 50);
        credits.animate(1.0);
        EXPECT_FLOAT_EQ(credits.scroll(), c.end);  // reaching the end is not passing it
        EXPECT_EQ(credits.loops(), 0);
        credits.animate(0.01);
        EXPECT_EQ(credits.scroll(), 0);  // the overshoot is dropped
        EXPECT_EQ(credits.loops(), 1);
        credits.resetLoopCounter();
        EXPECT_EQ(credits.loops(), 0);
    }
}

namespace {

using CreditsGL = testsupport::GlFixture;

}  // namespace

TEST_F(CreditsGL, DrawsEachEntryAtItsPlaceRaisedByTheWholePixelsOfTheScroll) {
    Renderer2D renderer;
    renderer.textureFilter(Renderer2D::FILTER_NEAREST);
    TwoFonts fonts(renderer);
    fonts.title.activate();
    fonts.text.activate();
    renderer.color(0, 0, 0, 1);
    renderer.clear();

    Credits credits(renderer);
    renderer.font(fonts.title);  // a roll without fonts of its own must not print with this
    credits.addEntry("I", "I");
    credits.draw();
    EXPECT_EQ(testsupport::pixelsOf(testsupport::readScreen(), 0, 0, 0), 800 * 600);

    credits.clearEntries();
    credits.font(fonts.title, fonts.text);
    credits.colors(kYellow, kCyan);
    credits.spaceBetweenTitles(10);
    credits.addEntry("I", "I");
    credits.pos(Vector2<float>(220, 400));
    credits.scroll(30.7f);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(13, 17, 0);  // the roll places itself regardless
    credits.draw();
    EXPECT_EQ(renderer.font(), &fonts.text);

    // The entry's top at 400 + 30: the title's 16 rows below it, the text's 24 below those.
    const std::vector<unsigned char> screen = testsupport::readScreen();
    const std::array<int, 3> yellow = {255, 255, 0};
    const std::array<int, 3> cyan = {0, 255, 255};
    EXPECT_EQ(testsupport::pixelsOf(screen, 255, 255, 0), 8 * 16);
    EXPECT_EQ(testsupport::pixelsOf(screen, 0, 255, 255), 8 * 24);
    EXPECT_EQ(testsupport::rgbAt(screen, 220, 429), yellow);
    EXPECT_EQ(testsupport::rgbAt(screen, 227, 414), yellow);
    EXPECT_EQ(testsupport::rgbAt(screen, 220, 413), cyan);
    EXPECT_EQ(testsupport::rgbAt(screen, 227, 390), cyan);
}
