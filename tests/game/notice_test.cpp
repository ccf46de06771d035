#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/notice.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

using Vortel::Game;
using Vortel::Notice;

TEST(NoticeTest, LinesJoinOnceHoldThenFadeAndHide) {
    Notice notice;
    EXPECT_FALSE(notice.shown());
    notice.show("SETTINGS NOT SAVED");
    notice.animate(3.0);
    // A second line joins and both hold again; the same line again is not repeated.
    notice.show("HIGH SCORES NOT SAVED");
    notice.show("SETTINGS NOT SAVED");
    EXPECT_EQ(notice.text(), "SETTINGS NOT SAVED\nHIGH SCORES NOT SAVED\n");
    const struct {
        double step;
        bool shown;
        float alpha;
    } frames[] = {
        {Notice::holdSeconds - 0.01, true, 1.0f},
        {0.51, true, 0.5f},
        {0.48, true, 0.02f},
        {0.03, false, 0.0f},
    };
    for (const auto& f : frames) {
        notice.animate(f.step);
        EXPECT_EQ(notice.shown(), f.shown);
        EXPECT_NEAR(notice.alpha(), f.alpha, 1e-4);
    }
    EXPECT_EQ(notice.text(), "");
    notice.show("HIGH SCORES NOT SAVED");
    EXPECT_EQ(notice.text(), "HIGH SCORES NOT SAVED\n");
    EXPECT_FLOAT_EQ(notice.alpha(), 1.0f);
}

class NoticeGL : public testgame::GameFixture {
protected:
    // Pixels of the notice's colour in the top 80 rows, after one frame of the current state
    // with the HUD in magenta (each state entry sets the scheme's own colour).
    int noticePixels() {
        game()._hudColor = RGBA<float>(1.0f, 0.0f, 1.0f, 1.0f);
        frame(0.01);
        const std::vector<unsigned char> screen = testsupport::readScreen();
        const std::vector<unsigned char> top(screen.end() - 80 * 800 * 4, screen.end());
        return testsupport::pixelsOf(top, 255, 0, 255);
    }
};

TEST_F(NoticeGL, TheMenusShowTheNoticeUntilItHasFaded) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    Game& g = game();
    EXPECT_EQ(noticePixels(), 0);
    // Put up in play, it waits there unseen with its clock stopped.
    g.startGame();
    g.showNotice("SETTINGS NOT SAVED");
    for (int i = 0; i < 10; ++i) {
        frame(1.0);
    }
    EXPECT_TRUE(g._notice.shown());
    g.ingameMenu();
    EXPECT_GT(noticePixels(), 50) << "in-game menu";
    g.mainMenu();
    EXPECT_GT(noticePixels(), 50) << "main menu";
    for (int i = 0; i < 6; ++i) {
        frame(1.0);
    }
    EXPECT_FALSE(g._notice.shown());
    EXPECT_EQ(noticePixels(), 0);
}

}  // namespace
