#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine2d/font.h"
#include "game/scoretable.h"
#include "tests/support/draw_recorder.h"
#include "tests/support/png_writer.h"

using Stelkor::Renderer2D;
using Vortel::ScoreTable;

namespace {

// Rank from 1 of the row in the table, 0 when it is not there.
int rankOf(const ScoreTable& table, const ScoreTable::Entry* row) {
    int rank = 1;
    for (const ScoreTable::Entry& e : table.entries()) {
        if (&e == row) {
            return rank;
        }
        ++rank;
    }
    return 0;
}

}  // namespace

TEST(ScoreTable, RanksNewScoresBelowEqualOnesAndKeepsItsRowCount) {
    ScoreTable table(20, 32);
    ASSERT_EQ(table.entries().size(), 20u);
    EXPECT_EQ(table.entries().front().score, 200u);
    EXPECT_EQ(table.entries().back().score, 10u);
    table.beginEditName();
    table.typeChar('X');
    EXPECT_EQ(table.editEntry(), nullptr);
    EXPECT_EQ(table.entries().front().name, "NOBODY");

    EXPECT_FALSE(table.scoreQualifies(10));
    EXPECT_EQ(rankOf(table, table.addEntry(11, "X")), 20);
    EXPECT_EQ(table.entries().back().name, "X");
    EXPECT_EQ(rankOf(table, table.addEntry(150, "NEW")), 7);  // below the old 150
    EXPECT_EQ(std::next(table.entries().begin(), 5)->name, "NOBODY");
    EXPECT_EQ(table.addEntry(5, "LOW"), nullptr);
    EXPECT_EQ(table.editEntry(), nullptr);

    ScoreTable none(0, 32);
    EXPECT_TRUE(none.scoreQualifies(1));
    EXPECT_EQ(none.addEntry(500, "X"), nullptr);
    EXPECT_TRUE(none.entries().empty());
}

TEST(ScoreTable, DefaultRowsAreCutToTheNameLengthAndNoneIsUnderEdit) {
    const struct {
        unsigned int rows;
        unsigned int nameLength;
        const char* name;
    } cases[] = {{3, 3, "NOB"}, {20, 32, "NOBODY"}, {2, 6, "NOBODY"}, {4, 0, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nameLength);
        ScoreTable table(c.rows, c.nameLength);
        table.addEntry(1000, "WINNER");
        table.reset();
        ASSERT_EQ(table.entries().size(), c.rows);
        std::uint32_t score = 10 * c.rows;
        for (const ScoreTable::Entry& row : table.entries()) {
            EXPECT_EQ(row.score, score);
            EXPECT_EQ(row.name, c.name);
            score -= 10;
        }
        EXPECT_EQ(table.editEntry(), nullptr);
        table.beginEditName();
        table.typeChar('X');
        EXPECT_EQ(table.entries().front().name, c.name);
    }
}

TEST(ScoreTable, NamesStayWithinTheLengthAndTypingNeverResorts) {
    ScoreTable table(20, 32);
    EXPECT_EQ(table.addEntry(300, std::string(40, 'N'))->name, std::string(32, 'N'));
    EXPECT_EQ(table.addEntry(300, std::string("AB\0CD", 5))->name, "AB");

    ScoreTable::Entry* row = table.addEntry(100, "");
    table.beginEditName();
    table.typeChar('\0');
    table.typeBackspace();
    EXPECT_EQ(row->name, "");
    for (int i = 0; i < 33; ++i) {
        table.typeChar(static_cast<char>('A' + i % 26));
    }
    EXPECT_EQ(row->name.size(), 32u);
    EXPECT_EQ(row->name.back(), 'F');
    EXPECT_EQ(rankOf(table, row), 14);  // two 300s, 200 to 110, the old 100, then the new one
    table.endEditName();
    table.typeBackspace();
    EXPECT_EQ(row->name.size(), 32u);
}

TEST(ScoreTable, SeededAddsAlwaysEditTheReturnedRowOfASortedTable) {
    ScoreTable table(20, 32);
    std::mt19937 random(1234);
    for (int i = 0; i < 2000; ++i) {
        const std::uint32_t score = random() % 400;
        ScoreTable::Entry* const row = table.addEntry(score, std::to_string(i) + std::string(random() % 28, 'x'));
        table.beginEditName();
        table.typeChar('#');
        if (row != nullptr) {
            ASSERT_EQ(table.editEntry(), row);
            ASSERT_EQ(row->name.back(), '#');
        }
        ASSERT_EQ(table.entries().size(), 20u);
        // Names begin with the order of adding; "NOBODY" rows are older than every other.
        for (auto above = table.entries().begin(), below = std::next(above); below != table.entries().end();
             above = below++) {
            ASSERT_GE(above->score, below->score);
            if (above->score == below->score && below->name != "NOBODY") {
                ASSERT_LT(above->name == "NOBODY" ? -1 : std::stoi(above->name), std::stoi(below->name));
            }
        }
    }
    table.reset();
    table.typeChar('#');
    EXPECT_EQ(table.editEntry(), nullptr);
    EXPECT_EQ(table.entries().front().name, "NOBODY");
}

TEST(ScoreTable, CursorBlinksAndCopiesPulseTheirOwnColour) {
    ScoreTable table(20, 32);
    table.addEntry(500, "A");
    table.beginEditName();
    table.animate(0.29);
    EXPECT_FALSE(table.cursorVisible());
    table.animate(0.02);
    EXPECT_TRUE(table.cursorVisible());
    table.animate(0.30);
    EXPECT_FALSE(table.cursorVisible());

    std::list<ScoreTable> set;
    set.push_back(table);
    ScoreTable& copy = set.back();
    EXPECT_EQ(copy.editEntry(), nullptr);
    EXPECT_FALSE(copy.editing());
    EXPECT_EQ(copy.entries().front().name, "A");
    const RGBA<float> source = table.editColor();
    // Frame-sized steps of 0.25 s: yellow, red, yellow once a second.
    const RGBA<float> orange(1, 0.5f, 0, 1);
    const RGBA<float> expected[] = {orange, RGBA<float>(1, 0, 0, 1), orange};
    const int steps[] = {1, 1, 3};
    for (int i = 0; i < 3; ++i) {
        for (int s = 0; s < steps[i]; ++s) {
            copy.animate(0.25);
        }
        EXPECT_EQ(copy.editColor(), expected[i]) << i;
    }
    EXPECT_EQ(table.editColor(), source);
    table = copy;
    EXPECT_EQ(table.editEntry(), nullptr);
}

// Prints through a recording renderer and checks the glyphs against the same texts printed
// at the expected places, with 3-pixel glyphs for what a table prints ('#' has none).
TEST(ScoreTablePrint, DrawsTitleAndRowsInColumnsWithTheBlinkingEditedRow) {
    const std::string charset = "0123456789.NOBDYEWX_";
    const int count = static_cast<int>(charset.size());
    testsupport::RgbaPicture sheet(128, 32);
    for (int i = 0; i <= count; ++i) {
        sheet.set(i < count ? 4 * i + 3 : 4 * count, 31, 255, 0, 0, 255);
    }
    testsupport::writePng("scoretable_font.png", sheet);
    testsupport::DrawRecorder recorder;
    testsupport::DrawRecorder expected;
    Stelkor::Font font("scoretable_font.png", charset, 4, 20, 1, recorder, false);
    expected._font = &font;
    const auto expect = [&expected](const RGBA<float>& c, Renderer2D::align h, const std::string& text, float x,
                                    float y) {
        expected.color(c);
        expected.textAlign(h, Renderer2D::ALIGN_TOP);
        expected.print(text, Vector2<float>(x, y), Vector2<float>(1, 1));
    };

    ScoreTable table(20, 32);
    table.name("NORMAL");
    table.nameColor(RGBA<float>(1, 0.5f, 0, 0.5f));
    table.nameOffset(Vector2<float>(100, 10));
    table.alpha(0.25f);
    table.print(Vector2<float>(140, 465), 5);  // no font yet
    table.font(font);
    table.addEntry(195, "NEW");
    table.beginEditName();
    table.typeChar('#');
    table.typeChar('X');
    table.animate(0.31);
    for (const bool cursor : {true, false}) {
        table.print(Vector2<float>(140, 465), 5);
        expect(RGBA<float>(1, 0.5f, 0, 0.25f), Renderer2D::ALIGN_LEFT, "NORMAL", 210, 495);
        const char* const names[] = {"NOBODY", cursor ? "NEWX_" : "NEWX", "NOBODY", "NOBODY", "NOBODY"};
        const char* const scores[] = {"200", "195", "190", "180", "170"};
        const RGBA<float> edit = table.editColor();
        for (int r = 0; r < 5; ++r) {
            const RGBA<float> c = r == 1 ? RGBA<float>(edit.r, edit.g, edit.b, 0.25f) : RGBA<float>(1, 1, 1, 0.25f);
            const float y = 465 - 16 * (r + 1);
            expect(c, Renderer2D::ALIGN_RIGHT, std::to_string(r + 1) + ".", 140, y);
            expect(c, Renderer2D::ALIGN_RIGHT, scores[r], 210, y);
            expect(c, Renderer2D::ALIGN_LEFT, names[r], 230, y);
        }
        ASSERT_EQ(recorder.calls.size(), expected.calls.size());
        for (std::size_t i = 0; i < expected.calls.size(); ++i) {
            EXPECT_EQ(recorder.calls[i].image, expected.calls[i].image) << i;
            EXPECT_EQ(recorder.calls[i].pos, expected.calls[i].pos) << i;
            EXPECT_EQ(recorder.calls[i].color, expected.calls[i].color) << i;
        }
        recorder.calls.clear();
        expected.calls.clear();
        table.animate(0.3);
    }
}
