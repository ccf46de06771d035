#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/bot.h"
#include "actors/builtintricks.h"
#include "game/screentexts.h"
#include "tests/game/game_fixture.h"

namespace {

using Vortel::Game;

TEST(ScreenTexts, TrickPanelShowsTheDescriptionBlockOnlyWhenThereIsOne) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    const Vortel::Trick& vortel = *library.trickByNameSpaceSubname("VORTEL UP");
    EXPECT_EQ(Vortel::trickInformationText(vortel), "Rank: EXPERT\nScore: 300\n\nKeySequence: \n**U*U*ULUU*\n");
    const Vortel::Trick& slick = *library.trickByNameSpaceSubname("SLICK LEFT");
    EXPECT_EQ(Vortel::trickInformationText(slick), "Rank: ROOKIE\nScore: 50\n\nDescription: \n" + slick.description() +
                                                       "\n\nKeySequence: \n" + slick.keySequence() + "\n");
}

TEST(ScreenTexts, ScorePanelOpensFrom210To80PixelsAndStays) {
    const std::pair<double, float> cases[] = {{0.0, 210.0f}, {0.3, 120.0f}, {0.4334, 80.0f}, {25.0, 80.0f}};
    for (const auto& c : cases) {
        EXPECT_NEAR(Vortel::scorePanelMargin(c.first), c.second, 1e-3) << c.first;
    }
}

class MainMenuGL : public testgame::GameFixture {
protected:
    // The five speeds and their tables in creation order, the current speed NORMAL, unless the
    // game has its speeds already.
    void fiveSpeeds() {
        Game& g = game();
        const char* names[] = {"VERY SLOW", "SLOW", "NORMAL", "FAST", "INSANE"};
        if (g._gameSpeeds.empty()) {
            for (const char* name : names) {
                g._gameSpeeds[name].name = name;
            }
        }
        g._scoreTables.font(*g._fontSmall);
        for (const char* name : names) {
            g._scoreTables.createTable(name, "");
        }
        for (auto it = g._gameSpeeds.begin(); it != g._gameSpeeds.end(); ++it) {
            if (it->second.name == "NORMAL") {
                g._currentGameSpeed = it;
            }
        }
    }
    std::string table() { return game()._scoreTables.currentTable()->name(); }
    // What a fresh demo resets, set to other values: the world is kept while they stay.
    void markWorld() {
        game()._stage = 7;
        game()._playClock = 5.0;
    }
    void expectWorldKept(const char* where) {
        EXPECT_EQ(game()._stage, 7) << where;
        EXPECT_EQ(game()._playClock, 5.0) << where;
        EXPECT_TRUE(FSOUND_IsPlaying(game()._musicChannel)) << where;
    }
};

TEST_F(MainMenuGL, MenuStartsAFreshDemoExceptFromTheScoreAndCreditsScreens) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    Game& g = game();
    const auto expectFreshDemo = [&](const char* where) {
        EXPECT_EQ(g._state, Game::STATE_MAIN_MENU) << where;
        EXPECT_EQ(g._stage, 3) << where;
        EXPECT_EQ(g._botLevel, 1) << where;
        EXPECT_EQ(g._cameraMode, 2) << where;
        EXPECT_FALSE(g._playerActive) << where;
        EXPECT_TRUE(g._demoMode) << where;
        EXPECT_FALSE(g._paused) << where;
        EXPECT_EQ(g._pendingWaves, 0) << where;
        EXPECT_EQ(g._playClock, 0.0) << where;
        EXPECT_EQ(g._currentMenu, g._menuMain.get()) << where;
        EXPECT_EQ(g._cameraSubject, g._bots.empty() ? &g._player : static_cast<Vortel::Player*>(g._bots.front())) << where;
        EXPECT_TRUE(FSOUND_IsPlaying(g._musicChannel)) << where;
        EXPECT_EQ(FSOUND_GetVolume(g._musicChannel), g._musicVolume) << where;
        EXPECT_FLOAT_EQ(g._bottomBar.targetHeight(), 200.0f) << where;
        EXPECT_EQ(g._idleTime, 0.0) << where;
    };
    expectFreshDemo("after loading");

    for (const int from : {Game::STATE_PLAY, Game::STATE_GAME_OVER, Game::STATE_ENTER_SCORE, Game::STATE_INGAME_MENU}) {
        g._state = from;
        markWorld();
        g._pendingWaves = 2;
        g._cameraMode = 0;
        g._demoMode = false;
        g._paused = true;
        g._idleTime = 3.0;
        g.mainMenu();
        expectFreshDemo(std::to_string(from).c_str());
    }
    for (const int from : {Game::STATE_VIEW_SCORES, Game::STATE_VIEW_SCORES_AUTOMATIC, Game::STATE_CREDITS,
                           Game::STATE_CREDITS_AUTOMATIC}) {
        const int music = g._musicChannel;
        g._state = from;
        markWorld();
        g._pendingWaves = 2;
        g.mainMenu();
        expectWorldKept(std::to_string(from).c_str());
        EXPECT_EQ(g._musicChannel, music);
        EXPECT_EQ(g._pendingWaves, 0);
    }

    g.toggleDemoMode();
    EXPECT_FALSE(g._demoMode);
    EXPECT_TRUE(g._playerActive);
    EXPECT_EQ(g._cameraSubject, &g._player);
    EXPECT_EQ(g._cameraMode, 0);
    g.toggleDemoMode();
    EXPECT_EQ(g._cameraMode, 2);
    EXPECT_EQ(g._message._text.str(), "DEMO MODE OFF\nDEMO MODE ON\n");

    g._quit = true;
    g._bottomBar.set(400.0f, 600.0f);
    const float bar = g._bottomBar.height();
    EXPECT_FALSE(frame(0.1));
    EXPECT_EQ(g._bottomBar.height(), bar);  // nothing animated, nothing drawn
}

TEST_F(MainMenuGL, IdleMenuShowsEveryTableFromTheCurrentSpeedThenTheCreditsThenComesBack) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    Game& g = game();
    fiveSpeeds();
    for (int i = 0; i < 40; ++i) {
        frame(0.25);
    }
    send(WM_KEYDOWN, 'A');
    EXPECT_EQ(g._idleTime, 10.0);  // keys do not hold the loop back
    send(WM_MOUSEMOVE, 0, point(10, 10));
    EXPECT_EQ(g._idleTime, 0.0);
    for (int i = 0; i < 80; ++i) {
        frame(0.25);
    }
    EXPECT_EQ(g._idleTime, 20.0);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    frame(0.25);
    ASSERT_EQ(g._state, Game::STATE_VIEW_SCORES_AUTOMATIC);
    EXPECT_EQ(table(), "NORMAL");
    EXPECT_FLOAT_EQ(Vortel::scorePanelMargin(g._stateTime), 80.0f);  // the panel is open at once

    std::vector<std::string> shown{table()};
    std::vector<double> shownAt{0.0};
    double time = 0.0;
    for (int i = 0; i < 1000 && g._state == Game::STATE_VIEW_SCORES_AUTOMATIC; ++i) {
        frame(0.05);
        time += 0.05;
        if (table() != shown.back()) {
            shown.push_back(table());
            shownAt.push_back(time);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"NORMAL", "FAST", "INSANE", "VERY SLOW", "SLOW"}));
    // Each table's time runs out on the first frame past 4 s, and the next one counts from the
    // frame after; the table changes once the third-of-a-second fade-out has run.
    for (std::size_t i = 1; i < shownAt.size(); ++i) {
        EXPECT_NEAR(shownAt[i], 4.05 * static_cast<double>(i) + 0.35, 0.06) << i;
    }
    ASSERT_EQ(g._state, Game::STATE_CREDITS_AUTOMATIC);
    EXPECT_NEAR(time, 5 * 4.05, 0.01);

    markWorld();
    const int music = g._musicChannel;
    for (int i = 0; i < 5000 && g._state == Game::STATE_CREDITS_AUTOMATIC; ++i) {
        frame(0.1);
    }
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    EXPECT_EQ(g._credits.loops(), 1);
    expectWorldKept("after the credits");
    EXPECT_EQ(g._musicChannel, music);
}

TEST_F(MainMenuGL, AttractLoopEndsOnAKeyAButtonOrAnInputLayerMouseMove) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    Game& g = game();
    fiveSpeeds();
    const UINT ends[] = {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, g._wmMouseMoveDI};
    for (void (Game::*enter)() : {&Game::viewScoresAutomatic, &Game::creditsAutomatic}) {
        for (const UINT msg : ends) {
            markWorld();
            (g.*enter)();
            frame();
            g._idleTime = 3.0;
            EXPECT_FALSE(send(WM_MOUSEMOVE, 0, point(5, 5)));
            EXPECT_EQ(g._idleTime, 0.0);
            EXPECT_TRUE(send(msg)) << msg;
            EXPECT_EQ(g._state, Game::STATE_MAIN_MENU) << msg;
            expectWorldKept("attract loop left");
        }
        (g.*enter)();
        frame();
        moveMouse(3, 0);
        frame();
        EXPECT_EQ(g._state, Game::STATE_MAIN_MENU) << "mouse moved on the device";
    }
}

using ScreensGL = MainMenuGL;

TEST_F(ScreensGL, ScoreScreenStepsTablesByKeyOrClickAndLeavesOnAFirstEscape) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    Game& g = game();
    fiveSpeeds();
    markWorld();
    g.viewScores();
    frame();
    EXPECT_EQ(g._stateTime, 0.0);  // opened by a message handler: the panel opens from 210
    EXPECT_EQ(table(), "NORMAL");
    // Waits for the fade-out and the next table's fade-in; the screen never moves by itself.
    const auto settle = [&] {
        for (int i = 0; i < 30; ++i) {
            frame(0.05);
        }
    };
    settle();
    EXPECT_EQ(table(), "NORMAL");

    std::vector<std::string> shown;
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(send(WM_KEYDOWN, 'A'));
        settle();
        shown.push_back(table());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"FAST", "INSANE", "VERY SLOW", "SLOW", "NORMAL"}));
    send(WM_LBUTTONDOWN);
    settle();
    EXPECT_EQ(table(), "FAST");

    const LPARAM repeat = LPARAM(1) << 30;
    send(WM_KEYDOWN, VK_ESCAPE, repeat);
    EXPECT_EQ(g._state, Game::STATE_VIEW_SCORES);
    send(WM_KEYDOWN, 'A', repeat);  // lost in the running fade-out
    settle();
    EXPECT_EQ(table(), "INSANE");

    send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    expectWorldKept("score screen left");
}

TEST_F(ScreensGL, CreditsScreenRollsOnUntilAKeyOrButtonOnTheInputLayer) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    Game& g = game();
    const unsigned int keyA = 0x1E;
    for (const unsigned int code : {keyA, 0x100u}) {
        markWorld();
        g.credits();
        frame();
        EXPECT_FLOAT_EQ(g._bottomBar.targetHeight(), 150.0f);
        for (int i = 0; i < 10000 && g._credits.loops() < 3; ++i) {
            frame(0.5);
        }
        EXPECT_EQ(g._credits.loops(), 3);
        EXPECT_FALSE(send(WM_KEYDOWN, 'A'));
        EXPECT_FALSE(send(WM_LBUTTONDOWN));
        EXPECT_EQ(g._state, Game::STATE_CREDITS);

        hold(code, true);
        frame();
        EXPECT_EQ(g._state, Game::STATE_MAIN_MENU) << code;
        expectWorldKept("credits left");
        hold(code, false);
        frame();
    }
}

}  // namespace
