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

using Stelkor::Font;
using Stelkor::Renderer2D;
using testsupport::DrawRecorder;
using Vortel::ScoreTable;

namespace {

std::vector<ScoreTable::Entry> rows(const ScoreTable& table) {
    return std::vector<ScoreTable::Entry>(table.entries().begin(), table.entries().end());
}

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
    for (const ScoreTable::Entry& e : table.entries()) {
        EXPECT_EQ(e.name, "NOBODY");
    }
    EXPECT_EQ(table.editEntry(), nullptr);
    table.beginEditName();
    table.typeChar('X');
    EXPECT_FALSE(table.editing());
    EXPECT_EQ(table.entries().front().name, "NOBODY");

    EXPECT_FALSE(table.scoreQualifies(10));
    EXPECT_TRUE(table.scoreQualifies(11));
    const ScoreTable::Entry* low = table.addEntry(11, "X");
    EXPECT_EQ(rankOf(table, low), 20);
    EXPECT_EQ(table.entries().back().name, "X");
    const ScoreTable::Entry* mid = table.addEntry(150, "NEW");
    EXPECT_EQ(rankOf(table, mid), 7);
    EXPECT_EQ(rows(table)[5].name, "NOBODY");
    EXPECT_EQ(rows(table)[5].score, 150u);
    EXPECT_EQ(table.addEntry(5, "LOW"), nullptr);
    EXPECT_EQ(table.editEntry(), nullptr);

    ScoreTable none(0, 32);
    EXPECT_TRUE(none.scoreQualifies(1));
    EXPECT_EQ(none.addEntry(500, "X"), nullptr);
    EXPECT_TRUE(none.entries().empty());
}

TEST(ScoreTable, NamesStayWithinTheLengthAndTypingNeverResorts) {
    ScoreTable table(20, 32);
    const std::string forty(40, 'N');
    EXPECT_EQ(table.addEntry(300, forty)->name, forty.substr(0, 32));
    EXPECT_EQ(table.addEntry(300, std::string("AB\0CD", 5))->name, "AB");

    ScoreTable::Entry* row = table.addEntry(100, "");
    table.beginEditName();
    table.typeChar('\0');
    EXPECT_EQ(row->name, "");
    table.typeBackspace();
    EXPECT_EQ(row->name, "");
    for (int i = 0; i < 33; ++i) {
        table.typeChar(static_cast<char>('A' + i % 26));
    }
    EXPECT_EQ(row->name.size(), 32u);
    EXPECT_EQ(row->name.back(), 'F');
    table.typeBackspace();
    EXPECT_EQ(row->name.size(), 31u);
    EXPECT_EQ(rankOf(table, row), 14);  // two 300s, 200 to 110, the old 100, then the new one
    table.endEditName();
    table.typeChar('Z');
    EXPECT_EQ(row->name.size(), 31u);
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
            EXPECT_EQ(table.editEntry(), row);
            EXPECT_EQ(row->score, score);
            EXPECT_EQ(row->name.back(), '#');
        }
        ASSERT_EQ(table.entries().size(), 20u);
        // Names start with the order of adding; "NOBODY" rows are older than every other.
        const std::vector<ScoreTable::Entry> r = rows(table);
        for (std::size_t k = 1; k < r.size(); ++k) {
            ASSERT_GE(r[k - 1].score, r[k].score);
            if (r[k - 1].score == r[k].score && r[k].name != "NOBODY") {
                const int older = r[k - 1].name == "NOBODY" ? -1 : std::stoi(r[k - 1].name);
                ASSERT_LT(older, std::stoi(r[k].name));
            }
        }
    }
    table.reset();
    table.typeChar('#');
    table.typeBackspace();
    EXPECT_EQ(table.editEntry(), nullptr);
    EXPECT_EQ(rows(table).front().name, "NOBODY");
}

TEST(ScoreTable, CursorBlinksAndCopiesPulseTheirOwnColour) {
    ScoreTable table(20, 32);
    table.addEntry(500, "A");
    table.beginEditName();
    struct Step {
        double at;
        bool cursor;
    };
    double time = 0;
    for (const Step& step : {Step{0.29, false}, Step{0.31, true}, Step{0.61, false}}) {
        table.animate(step.at - time);
        time = step.at;
        EXPECT_EQ(table.cursorVisible(), step.cursor) << step.at;
    }

    std::list<ScoreTable> set;
    set.push_back(table);
    ScoreTable& copy = set.back();
    EXPECT_EQ(copy.editEntry(), nullptr);
    EXPECT_FALSE(copy.editing());
    EXPECT_EQ(rows(copy).front().name, "A");
    const RGBA<float> source = table.editColor();
    // Frame-sized steps of 0.25 s: the colour runs yellow, red, yellow once a second.
    const RGBA<float> orange(1, 0.5f, 0, 1);
    copy.animate(0.25);
    EXPECT_EQ(copy.editColor(), orange);
    copy.animate(0.25);
    EXPECT_EQ(copy.editColor(), RGBA<float>(1, 0, 0, 1));
    copy.animate(0.25);
    copy.animate(0.25);
    copy.animate(0.25);
    EXPECT_EQ(copy.editColor(), orange);
    EXPECT_EQ(table.editColor(), source);

    table = copy;
    EXPECT_EQ(table.editEntry(), nullptr);
    EXPECT_FALSE(table.editing());
}

namespace {

const char* const kCharset = "0123456789.NOBDYEWX_";

// Glyphs 3 pixels wide for the characters a table prints; '#' has none.
class ScoreTablePrint : public ::testing::Test {
protected:
    void SetUp() override {
        const int count = static_cast<int>(std::string(kCharset).size());
        testsupport::RgbaPicture sheet(128, 32);
        for (int i = 0; i <= count; ++i) {
            sheet.set(i < count ? 4 * i + 3 : 4 * count, 31, 255, 0, 0, 255);
        }
        testsupport::writePng("scoretable_font.png", sheet);
        font.reset(new Font("scoretable_font.png", kCharset, 4, 20, 1, recorder, false));
        expected._font = font.get();
    }

    void expect(const RGBA<float>& color, Renderer2D::align h, const std::string& text, float x, float y) {
        expected.color(color);
        expected.textAlign(h, Renderer2D::ALIGN_TOP);
        expected.print(text, Vector2<float>(x, y), Vector2<float>(1, 1));
    }

    void expectSameDrawing() {
        ASSERT_EQ(recorder.calls.size(), expected.calls.size());
        for (std::size_t i = 0; i < expected.calls.size(); ++i) {
            EXPECT_EQ(recorder.calls[i].image, expected.calls[i].image) << i;
            EXPECT_EQ(recorder.calls[i].pos, expected.calls[i].pos) << i;
            EXPECT_EQ(recorder.calls[i].color, expected.calls[i].color) << i;
        }
        recorder.calls.clear();
        expected.calls.clear();
    }

    DrawRecorder recorder;
    DrawRecorder expected;
    std::unique_ptr<Font> font;
};

}  // namespace

TEST_F(ScoreTablePrint, DrawsTitleAndRowsInColumnsWithTheBlinkingEditedRow) {
    ScoreTable table(20, 32);
    table.name("NORMAL");
    table.nameColor(RGBA<float>(1, 0.5f, 0, 0.5f));
    table.nameOffset(Vector2<float>(100, 10));
    table.alpha(0.25f);
    table.print(Vector2<float>(140, 465), 5);
    EXPECT_TRUE(recorder.calls.empty());  // no font yet

    table.font(*font);
    table.addEntry(195, "NEW");
    table.beginEditName();
    table.typeChar('#');
    table.typeChar('X');
    table.animate(0.31);
    for (const bool cursor : {true, false}) {
        const RGBA<float> edit = table.editColor();
        table.print(Vector2<float>(140, 465), 5);
        expect(RGBA<float>(1, 0.5f, 0, 0.25f), Renderer2D::ALIGN_LEFT, "NORMAL", 210, 495);
        const char* const names[] = {"NOBODY", cursor ? "NEWX_" : "NEWX", "NOBODY", "NOBODY", "NOBODY"};
        const char* const scores[] = {"200", "195", "190", "180", "170"};
        for (int r = 0; r < 5; ++r) {
            const RGBA<float> c = r == 1 ? RGBA<float>(edit.r, edit.g, edit.b, 0.25f) : RGBA<float>(1, 1, 1, 0.25f);
            const float y = 465 - 16 * (r + 1);
            expect(c, Renderer2D::ALIGN_RIGHT, std::to_string(r + 1) + ".", 140, y);
            expect(c, Renderer2D::ALIGN_RIGHT, scores[r], 210, y);
            expect(c, Renderer2D::ALIGN_LEFT, names[r], 230, y);
        }
        expectSameDrawing();
        table.animate(0.3);
    }
}
