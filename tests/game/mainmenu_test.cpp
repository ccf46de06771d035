#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "actors/bot.h"
#include "actors/builtintricks.h"
#include "engine2d/font.h"
#include "engine2d/simplemenu.h"
#include "engine2d/textsprite.h"
#include "game/screentexts.h"
#include "tests/game/game_fixture.h"

namespace {

using Vortel::Game;

TEST(ScreenTexts, TrickPanelAndScorePanelMargin) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    EXPECT_EQ(Vortel::trickInformationText(*library.trickByNameSpaceSubname("VORTEL UP")),
              "Rank: EXPERT\nScore: 300\n\nKeySequence: \n**U*U*ULUU*\n");
    const Vortel::Trick& slick = *library.trickByNameSpaceSubname("SLICK LEFT");
    EXPECT_EQ(Vortel::trickInformationText(slick), "Rank: ROOKIE\nScore: 50\n\nDescription: \n" + slick.description() +
                                                       "\n\nKeySequence: \n" + slick.keySequence() + "\n");
    for (const auto& c : {std::pair<double, float>{0.0, 210.0f}, {0.3, 120.0f}, {0.4334, 80.0f}, {25.0, 80.0f}}) {
        EXPECT_NEAR(Vortel::scorePanelMargin(c.first), c.second, 1e-3) << c.first;
    }
}

class MainMenuGL : public testgame::GameFixture {
protected:
    // Loaded, with the five speeds' tables in creation order and NORMAL the current speed.
    void SetUp() override {
        GameFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        Game& g = game();
        const char* names[] = {"VERY SLOW", "SLOW", "NORMAL", "FAST", "INSANE"};
        for (const char* name : names) {
            if (g._gameSpeeds.size() < 5) {
                g._gameSpeeds[name].name = name;
            }
            g._scoreTables.createTable(name, "");
        }
        for (auto it = g._gameSpeeds.begin(); it != g._gameSpeeds.end(); ++it) {
            g._currentGameSpeed = it->second.name == "NORMAL" ? it : g._currentGameSpeed;
        }
    }
    std::string table() { return game()._scoreTables.currentTable()->name(); }
    // A fresh demo resets these: the world is kept while they stay.
    void markWorld() {
        game()._stage = 7;
        game()._playClock = 5.0;
    }
    void expectWorldKept(const std::string& where) {
        EXPECT_EQ(game()._stage, 7) << where;
        EXPECT_GE(game()._playClock, 5.0) << where;  // the world runs on, never reset
        EXPECT_TRUE(FSOUND_IsPlaying(game()._musicChannel)) << where;
    }
};

TEST_F(MainMenuGL, MenuStartsAFreshDemoExceptFromTheScoreAndCreditsScreens) {
    Game& g = game();
    for (const int from : {Game::STATE_LOADING, Game::STATE_PLAY, Game::STATE_GAME_OVER, Game::STATE_INGAME_MENU}) {
        if (from != Game::STATE_LOADING) {  // the loading frame has just entered the menu
            g._state = from;
            markWorld();
            g._pendingWaves = 2;
            g._cameraMode = Vortel::CAMERA_FIRST_PERSON;
            g._demoMode = false;
            g._paused = true;
            g.mainMenu();
        }
        SCOPED_TRACE(from);
        EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
        EXPECT_EQ(std::vector<int>({g._stage, g._botLevel, g._cameraMode, g._pendingWaves}),
                  std::vector<int>({3, 1, Vortel::CAMERA_ORBIT, 0}));
        EXPECT_EQ(std::make_tuple(g._playerActive, g._demoMode, g._paused), std::make_tuple(false, true, false));
        EXPECT_EQ(g._playClock, 0.0);
        EXPECT_EQ(g._currentMenu, g._menuMain.get());
        EXPECT_EQ(g._cameraSubject, g._bots.empty() ? &g._player : static_cast<Vortel::Player*>(g._bots.front()));
        EXPECT_TRUE(FSOUND_IsPlaying(g._musicChannel));
        EXPECT_EQ(FSOUND_GetVolume(g._musicChannel), g._musicVolume);
        EXPECT_FLOAT_EQ(g._bottomBar.targetHeight(), 200.0f);
    }
    for (const int from : {Game::STATE_VIEW_SCORES, Game::STATE_VIEW_SCORES_AUTOMATIC, Game::STATE_CREDITS,
                           Game::STATE_CREDITS_AUTOMATIC}) {
        const int music = g._musicChannel;
        g._state = from;
        markWorld();
        g._pendingWaves = 2;
        g.mainMenu();
        expectWorldKept(std::to_string(from));
        EXPECT_EQ(g._musicChannel, music);
        EXPECT_EQ(g._pendingWaves, 0);
    }

    g.toggleDemoMode();
    EXPECT_EQ(std::make_tuple(g._demoMode, g._playerActive, g._cameraMode),
              std::make_tuple(false, true, Vortel::CAMERA_FIRST_PERSON));
    EXPECT_EQ(g._cameraSubject, &g._player);
    g.toggleDemoMode();
    EXPECT_EQ(std::make_tuple(g._demoMode, g._playerActive, g._cameraMode),
              std::make_tuple(true, false, Vortel::CAMERA_ORBIT));
    EXPECT_EQ(g._message._text.str(), "DEMO MODE OFF\nDEMO MODE ON\n");

    g._quit = true;
    g._bottomBar.set(400.0f, 600.0f);
    const float bar = g._bottomBar.height();
    EXPECT_FALSE(frame(0.1));
    EXPECT_EQ(g._bottomBar.height(), bar);  // nothing animated, nothing drawn
}

TEST_F(MainMenuGL, IdleMenuShowsEveryTableFromTheCurrentSpeedThenTheCreditsThenComesBack) {
    Game& g = game();
    for (int i = 0; i < 40; ++i) {
        frame(0.25);
    }
    send(WM_KEYDOWN, 'A');
    EXPECT_EQ(g._idleTime, 0.0);  // a player steering by keys is not idle
    send(WM_MOUSEMOVE, 0, point(10, 10));
    for (int i = 0; i < 80; ++i) {
        frame(0.25);
    }
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);  // at exactly 20 s
    frame(0.25);
    ASSERT_EQ(g._state, Game::STATE_VIEW_SCORES_AUTOMATIC);
    EXPECT_FLOAT_EQ(Vortel::scorePanelMargin(g._stateTime), 80.0f);  // open at once

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
    // A table's time runs out on the first frame past 4 s, the next counting from the frame
    // after; the table changes once the third-of-a-second fade-out has run.
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
    EXPECT_EQ(g._credits.loops(), 1);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    expectWorldKept("after the credits");
    EXPECT_EQ(g._musicChannel, music);
}

TEST_F(MainMenuGL, AttractLoopEndsOnAKeyAButtonOrAnInputLayerMouseMove) {
    Game& g = game();
    for (void (Game::*enter)() : {&Game::viewScoresAutomatic, &Game::creditsAutomatic}) {
        for (const UINT msg : {UINT(WM_KEYDOWN), UINT(WM_LBUTTONDOWN), UINT(WM_RBUTTONDOWN), UINT(WM_MBUTTONDOWN),
                               UINT(g._wmMouseMoveDI)}) {
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

// Every variant of all 37 tricks, as its menu shows it: the panel's lines, wrapped, start with
// no blank and stand inside their room (right of the menu's items, left of the picture, between
// the bar's top and its bottom edge), and no word of the trick's text is lost.
TEST_F(MainMenuGL, EveryTricksPanelFitsItsRoomBesideItsPicture) {
    Game& g = game();
    ASSERT_EQ(g._trickSubmenus.size(), 9u);
    const Stelkor::Font& font = *g._fontSmall;
    auto widthOf = [&](const std::string& line) {
        Vector2<float> size;
        g._renderer.getTextSize(&size, nullptr, line, font, Vector2<float>(1.0f, 1.0f));
        return size.x;
    };
    auto words = [](const std::string& text) {
        std::vector<std::string> found;
        std::istringstream in(text);
        for (std::string word; in >> word;) {
            found.push_back(word);
        }
        return found;
    };
    int panels = 0;
    for (const std::unique_ptr<Stelkor::SimpleMenu>& submenu : g._trickSubmenus) {
        g.setCurrentMenu(submenu.get());
        for (int i = 0; i < 100 && g._bottomBar.height() != g._bottomBar.targetHeight(); ++i) {
            frame(0.05);
        }
        frame(0.01);
        const float panelX = Vortel::trickPanelPlace(g._bottomBar.height()).text.x;
        for (int item = 0; item < submenu->itemCount(); ++item) {
            submenu->selectedItemID(item);
            const Stelkor::SimpleMenu::Item& shown = submenu->selectedItem();
            for (Stelkor::TextSprite* sprite : {shown.normal, shown.highlight}) {
                EXPECT_LT(sprite->boundingBox().max.x, panelX) << shown.name;
            }
        }
        for (int item = 0; item + 1 < submenu->itemCount(); ++item) {  // all but BACK
            submenu->selectedItemID(item);
            frame(0.01);
            const std::string& label = submenu->selectedItem().text();
            SCOPED_TRACE(label);
            const Vortel::Trick* trick = g._trickLibrary.trickByNameSpaceSubname(label);
            ASSERT_NE(trick, nullptr);
            ASSERT_EQ(g._trickPanelVariant, label);
            ++panels;
            const float barHeight = g._bottomBar.height();
            const Vortel::TrickPanelPlace place = Vortel::trickPanelPlace(barHeight);
            EXPECT_LE(place.text.x + place.textWidth + 8.0f, place.preview.x);
            EXPECT_LE(place.preview.x + place.previewSize.x, 800.0f);
            EXPECT_GE(place.preview.y, 0.0f);
            std::istringstream lines(g._trickPanelText);
            int row = 0;
            for (std::string line; std::getline(lines, line); ++row) {
                const float top = place.text.y - static_cast<float>(row * (font.rowHeight() + place.lineSpacing));
                EXPECT_LE(top, barHeight);
                EXPECT_GE(top - static_cast<float>(font.rowHeight()), 0.0f) << "line " << row;
                EXPECT_LE(widthOf(line), place.textWidth) << line;
                EXPECT_TRUE(line.empty() || line.front() != ' ') << line;
            }
            EXPECT_EQ(words(g._trickPanelText), words(Vortel::trickInformationText(*trick)));
        }
    }
    EXPECT_EQ(panels, 37);
}

using ScreensGL = MainMenuGL;

TEST_F(ScreensGL, ScoreScreenStepsTablesByKeyOrClickAndLeavesOnAFirstEscape) {
    Game& g = game();
    markWorld();
    g.viewScores();
    frame();
    EXPECT_EQ(g._stateTime, 0.0);  // opened by a message handler: the panel opens from 210
    // Past the fade-out and the next table's fade-in: the screen never moves by itself.
    const auto settle = [&] {
        for (int i = 0; i < 30; ++i) {
            frame(0.05);
        }
        return table();
    };
    EXPECT_EQ(settle(), "NORMAL");
    std::vector<std::string> shown;
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(send(WM_KEYDOWN, 'A'));
        shown.push_back(settle());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"FAST", "INSANE", "VERY SLOW", "SLOW", "NORMAL"}));
    send(WM_LBUTTONDOWN);
    EXPECT_EQ(settle(), "FAST");

    const LPARAM repeat = LPARAM(1) << 30;
    send(WM_KEYDOWN, VK_ESCAPE, repeat);
    EXPECT_EQ(g._state, Game::STATE_VIEW_SCORES);
    send(WM_KEYDOWN, 'A', repeat);  // lost in the running fade-out
    EXPECT_EQ(settle(), "INSANE");
    send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    expectWorldKept("score screen left");
}

TEST_F(ScreensGL, CreditsScreenRollsOnUntilAKeyOrButtonOnTheInputLayer) {
    Game& g = game();
    for (const unsigned int code : {0x1Eu, 0x100u}) {  // A, the left button
        markWorld();
        g.credits();
        frame();
        EXPECT_FLOAT_EQ(g._bottomBar.targetHeight(), 150.0f);
        for (int i = 0; i < 10000 && g._credits.loops() < 3; ++i) {
            frame(0.5);
        }
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
