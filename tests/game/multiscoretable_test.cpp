#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <sys/resource.h>

#include "game/multiscoretable.h"

namespace fs = std::filesystem;
using Vortel::MultiScoreTable;
using Vortel::ScoreTable;

namespace {

const char* const kPath = "data/scores";
const char* const kSpeeds[] = {"VERY SLOW", "SLOW", "NORMAL", "FAST", "INSANE"};

// The five tables of a first run, as the game's set-up makes them.
void setUpSpeeds(MultiScoreTable& set) {
    const RGBA<float> colors[] = {{0, 0.8f, 0, 0.5f}, {0.2f, 0.5f, 1, 0.5f}, {1, 0.5f, 0, 0.5f},
                                  {1, 0.2f, 0.2f, 0.5f}, {1, 0.2f, 1, 0.5f}};
    for (int i = 0; i < 5; ++i) {
        set.createTable(kSpeeds[i], "");
        set.currentTable()->nameColor(colors[i]);
        set.currentTable()->nameOffset(Vector2<float>(100, 10));
    }
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::uint32_t u32(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
           static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3] & 0xFF) << 24;
}

float f32(const std::string& b, std::size_t at) {
    const std::uint32_t bits = u32(b, at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string le(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class MultiScoreTableFile : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all("data");
        fs::create_directory("data");
        setUpSpeeds(speeds);
    }
    void TearDown() override { fs::remove_all("data"); }

    MultiScoreTable speeds{20, 32};
};

}  // namespace

TEST_F(MultiScoreTableFile, DefaultSetSavesTheFiveRecordsByteByByte) {
    ASSERT_TRUE(speeds.save(kPath));
    const std::string b = readFile(kPath);
    ASSERT_EQ(b.size(), 1313u);
    EXPECT_EQ(u32(b, 0), 5u);
    const std::size_t offsets[] = {4, 269, 529, 791, 1051, 1313};
    for (int t = 0; t < 5; ++t) {
        const std::string name = kSpeeds[t];
        std::size_t at = offsets[t] + 4 + name.size();
        EXPECT_EQ(b.substr(offsets[t], at - offsets[t]), le(name.size()) + name);
        EXPECT_EQ(u32(b, at), 0u);  // comment
        EXPECT_EQ(f32(b, at + 16), 0.5f);
        EXPECT_EQ(f32(b, at + 20), 100.0f);
        EXPECT_EQ(f32(b, at + 24), 10.0f);
        EXPECT_EQ(u32(b, at + 28), 20u);
        for (std::uint32_t score = 200, row = at + 32; score >= 10; score -= 10, row += 11) {
            EXPECT_EQ(b.substr(row, 11), le(score) + std::string("NOBODY\0", 7));
        }
        EXPECT_EQ(at + 32 + 20 * 11, offsets[t + 1]);
    }
    EXPECT_EQ(f32(b, 529 + 10 + 8), 0.5f);  // NORMAL's green
    ScoreTable normal(20, 32);
    normal.name("NORMAL");
    std::stringstream record;
    ASSERT_TRUE(normal.save(record));
    EXPECT_EQ(record.str().size(), 262u);
}

TEST_F(MultiScoreTableFile, SavedSetLoadsBackExactly) {
    speeds.currentTable("SLOW")->comment("kept, never shown");
    speeds.addEntry(4000000000u, "BIG");
    ASSERT_TRUE(speeds.save(kPath));
    MultiScoreTable loaded(20, 32);
    loaded.createTable("OTHER", "");
    ASSERT_TRUE(loaded.load(kPath));
    EXPECT_EQ(loaded.currentTable()->name(), "VERY SLOW");
    EXPECT_EQ(loaded.tables().size(), 5u);
    EXPECT_EQ(loaded.getTable("SLOW")->comment(), "kept, never shown");
    EXPECT_EQ(loaded.getTable("SLOW")->entries().front().score, 4000000000u);
    // Every field of every table goes into the file, so equal files mean equal tables.
    ASSERT_TRUE(loaded.save("data/again"));
    EXPECT_EQ(readFile("data/again"), readFile(kPath));
}

TEST_F(MultiScoreTableFile, CutFileKeepsEveryWholeRecordAndCostsNoTable) {
    ASSERT_TRUE(speeds.save(kPath));
    const std::string whole = readFile(kPath);
    const std::size_t ends[] = {269, 529, 791, 1051, 1313};
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        writeFile("data/cut", whole.substr(0, cut));
        const std::size_t kept = std::upper_bound(std::begin(ends), std::end(ends), cut) - std::begin(ends);
        const bool intact = cut == whole.size();
        MultiScoreTable fresh(20, 32);
        ASSERT_EQ(fresh.load("data/cut"), intact) << cut;
        ASSERT_EQ(fresh.tables().size(), kept) << cut;
        EXPECT_EQ(fresh.currentTable(), kept > 0 ? &fresh.tables().front() : nullptr);

        MultiScoreTable over(20, 32);
        setUpSpeeds(over);
        over.getTable("OWN")->addEntry(999, "MINE");
        EXPECT_EQ(over.load("data/cut"), intact);
        ASSERT_EQ(over.tables().size(), intact ? 5u : 6u) << cut;
        EXPECT_EQ(over.currentTable()->name(), kept > 0 ? "VERY SLOW" : "INSANE") << cut;
    }
}

TEST_F(MultiScoreTableFile, HostileLengthsAreDamageAndNothingHuge) {
    const std::string head = le(6) + "NORMAL" + le(0) + std::string(24, '\0');
    const std::string row = le(77) + "NOBODY" + '\0';
    const std::string record = head + le(2) + row + row;
    for (const std::string& bytes : {le(1) + le(0xFFFFFFFFu) + std::string(40, 'N'), le(1) + head + le(0xFFFFFFFFu) + row + row,
                                     le(0x7FFFFFFFu) + record, le(0xFFFFFFFFu) + record, le(1) + head + le(3) + row + row}) {
        writeFile(kPath, bytes);
        const long peakKiB = peakMemoryKiB();
        EXPECT_FALSE(speeds.load(kPath));
        EXPECT_LT(peakMemoryKiB() - peakKiB, 64 * 1024);  // nothing sized by a hostile length
        EXPECT_EQ(speeds.tables().size(), 5u);
        EXPECT_EQ(speeds.currentTable()->name(), "INSANE");
    }
    writeFile(kPath, le(1) + head + le(2) + row + le(88) + std::string(40, 'L') + '\0' + "trailing bytes");
    MultiScoreTable set(20, 32);
    ASSERT_TRUE(set.load(kPath));
    const ScoreTable& t = set.tables().front();
    ASSERT_EQ(t.entries().size(), 20u);  // filled up to the rows the set makes
    EXPECT_EQ(t.entries().front().name, std::string(32, 'L'));  // sorted again, cut to 32
    EXPECT_EQ(t.entries().back().score, 0u);
    EXPECT_FALSE(set.load("data"));  // a folder
}

TEST_F(MultiScoreTableFile, FailedSaveLeavesTheOldFileAndNoTemporary) {
    fs::create_directories("data/scores/inside");
    EXPECT_FALSE(speeds.save(kPath));
    EXPECT_TRUE(fs::is_directory("data/scores/inside"));
    fs::remove("data/scores/inside");
    EXPECT_EQ(std::distance(fs::directory_iterator("data"), fs::directory_iterator()), 1);
}

TEST(MultiScoreTable, FadesFinishOnTheStepPastTheirEnd) {
    MultiScoreTable set(20, 32);
    set.currentTable("NORMAL");
    set.alpha(0);
    set.fadeIn(1.0);
    for (const float expected : {0.25f, 0.5f, 0.75f, 1.0f, 1.0f}) {
        EXPECT_FALSE(set.fadeFinished());
        set.animate(0.25);
        EXPECT_EQ(set.currentTable()->alpha(), expected);
    }
    EXPECT_TRUE(set.fadeFinished());
    set.fadeOut(4.0);
    set.animate(0.25);
    EXPECT_EQ(set.alpha(), 0.0f);
    EXPECT_FALSE(set.fadeFinished());
    set.animate(0.25);
    EXPECT_TRUE(set.fadeFinished());
    EXPECT_EQ(set.lastFadeType(), MultiScoreTable::FADE_OUT);
    set.alpha(0.5f);
    set.fadeIn(-1.0);
    set.animate(10.0);
    EXPECT_EQ(set.alpha(), 0.5f);
    EXPECT_EQ(set.lastFadeType(), MultiScoreTable::FADE_IN);
}

TEST(MultiScoreTable, StepsThroughTablesInOrderAndCreatesByNameOnce) {
    MultiScoreTable set(20, 32);
    set.nextTable();
    set.typeChar('A');
    set.animate(1.0);
    EXPECT_EQ(set.addEntry(500, "X"), nullptr);
    EXPECT_EQ(set.currentTable(), nullptr);

    ScoreTable* const first = set.getTable("first");
    ScoreTable* const second = set.createTable("second", "c");
    ScoreTable* const third = set.getTable("third");
    EXPECT_EQ(set.currentTable(), second);
    for (ScoreTable* const expected : {third, first}) {
        set.nextTable();
        EXPECT_EQ(set.currentTable(), expected);
    }
    set.previousTable();
    EXPECT_EQ(set.currentTable(), third);

    ScoreTable* const fast = set.currentTable("FAST");
    EXPECT_EQ(set.currentTable("FAST"), fast);
    EXPECT_EQ(set.tables().size(), 4u);
    ASSERT_NE(set.addEntry(500, "X"), nullptr);
    set.beginEditName();
    set.typeChar('Y');
    EXPECT_EQ(fast->entries().front().name, "XY");
}
