#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/multiscoretable.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

using Vortel::Game;
using Vortel::ScoreTable;

constexpr unsigned int KEY_SPACE = 57;

class ScoreEntryGL : public testgame::GameFixture {
protected:
    // The game's fonts, speeds and fresh tables, without the rest of the loading.
    testgame::TestGame& ready() {
        testgame::TestGame& g = game();
        g.init();
        g.setupSpeeds();
        g.setupScoreTables();
        return g;
    }

    const ScoreTable::Entry& typed(std::uint32_t score, const std::vector<std::pair<WPARAM, LPARAM> >& keys) {
        testgame::TestGame& g = game();
        g._score = score;
        g.enterScore();
        for (const auto& [key, flags] : keys) {
            EXPECT_TRUE(send(WM_KEYDOWN, key, flags));
        }
        return *g._scoreTables.currentTable()->editEntry();
    }

    static std::vector<std::pair<WPARAM, LPARAM> > firstPresses(const std::string& keys) {
        std::vector<std::pair<WPARAM, LPARAM> > presses;
        for (const char c : keys) {
            presses.push_back({static_cast<WPARAM>(c), 0});
        }
        return presses;
    }
};

TEST_F(ScoreEntryGL, FirstPressesOfKeysTheFontCanDrawTypeTheName) {
    ready();
    const WPARAM A = 'A', B = 'B', C = 'C';
    struct Case {
        const char* what;
        std::vector<std::pair<WPARAM, LPARAM> > keys;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"backspace", {{A, 0}, {B, 0}, {VK_BACK, 0}, {C, 0}}, "AC"},
        {"repeats", {{A, 0}, {A, KEY_WAS_DOWN}, {B, KEY_WAS_DOWN}, {VK_BACK, KEY_WAS_DOWN}}, "A"},
        {"too long", firstPresses(std::string(40, 'X')), std::string(32, 'X')},
        // Steering and editing keys and the function keys have codes that would read as
        // punctuation or small letters.
        {"keys without a character",
         {{VK_LEFT, 0}, {VK_UP, 0}, {VK_RIGHT, 0}, {VK_DOWN, 0}, {VK_HOME, 0}, {VK_END, 0}, {VK_PRIOR, 0},
          {VK_NEXT, 0}, {VK_INSERT, 0}, {VK_F1, 0}, {VK_F11, 0}, {0xBA, 0}, {0x141, 0}},
         ""},
        {"keypad digits and space", {{VK_NUMPAD0, 0}, {VK_NUMPAD9, 0}, {VK_SPACE, 0}, {'7', 0}, {'Z', 0}}, "09 7Z"},
        {"empty", {{VK_DELETE, 0}, {VK_BACK, 0}}, ""},
    };
    std::uint32_t score = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(typed(score++, c.keys).name, c.name);
        EXPECT_FALSE(send(WM_KEYUP, A));
        EXPECT_TRUE(send(WM_KEYDOWN, VK_ESCAPE));
        EXPECT_EQ(game()._state, Game::STATE_MAIN_MENU);
        EXPECT_FALSE(game()._scoreTables.currentTable()->editing());
    }
}

TEST_F(ScoreEntryGL, EnterOrEscapeStoresTheEntryAfterEqualScoresAndWritesEveryTable) {
    testgame::TestGame& g = ready();
    g.applyGameSpeed("fast");
    typed(100, {});
    EXPECT_TRUE(send(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    typed(100, firstPresses("QZ"));
    send(WM_KEYDOWN, VK_ESCAPE);

    Vortel::MultiScoreTable file(20, 32);
    ASSERT_TRUE(file.load("data/scores"));
    std::vector<std::string> names;
    for (const ScoreTable& table : file.tables()) {
        names.push_back(table.name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"VERY SLOW", "SLOW", "NORMAL", "FAST", "INSANE"}));
    std::vector<std::string> hundreds;
    for (const ScoreTable::Entry& row : file.getTable("FAST")->entries()) {
        if (row.score == 100) {
            hundreds.push_back(row.name);
        }
    }
    EXPECT_EQ(hundreds, (std::vector<std::string>{"NOBODY", "", "QZ"}));
    EXPECT_EQ(file.getTable("FAST")->entries().back().score, 30u);  // the two lowest rows fell out
    EXPECT_EQ(file.getTable("NORMAL")->entries().back().score, 10u);
}

// The dark panel reaches a point 100 pixels in from the bottom-left corner only once it has
// opened to its final margin of 80.
TEST_F(ScoreEntryGL, ThePanelOpensAfterAKeyAndStandsOpenAfterTheTimeOut) {
    testgame::TestGame& g = ready();
    const auto covered = [] {
        const std::vector<unsigned char> screen = testsupport::readScreen();
        const std::size_t at = (100u * 800u + 100u) * 4u;
        return screen[at] < 80;
    };
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey);
        g.startGame();
        frame(0.5);
        g._score = 5000;
        g.gameOver();
        frame(0.1);
        while (g._stateTime < 0.5) {
            frame(0.1);
        }
        if (byKey) {
            hold(KEY_SPACE, true);
            frame(0.1);
            hold(KEY_SPACE, false);
            ASSERT_EQ(g._state, Game::STATE_ENTER_SCORE);
            frame(0.01);
            EXPECT_FALSE(covered());
            frame(0.5);
            EXPECT_TRUE(covered());
        } else {
            while (g._state == Game::STATE_GAME_OVER) {
                frame(1.0);
            }
            ASSERT_EQ(g._state, Game::STATE_ENTER_SCORE);
            frame(0.01);
            EXPECT_TRUE(covered());
        }
        send(WM_KEYDOWN, VK_RETURN);
    }
}

}  // namespace
