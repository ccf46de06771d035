#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine2d/font.h"
#include "engine2d/simplemenu.h"
#include "engine2d/textsprite.h"
#include "engine2d/sprite.h"
#include "game/multiscoretable.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"
#include "world/explosion.h"

namespace {

using Vortel::Game;

constexpr double FRAME = 1.0 / 60.0;
constexpr unsigned int KEY_SPACE = 57;

class LifeCycleGL : public testgame::GameFixture {
protected:
    // The game as the loading leaves it: samples, menus, speeds and score tables in place.
    testgame::TestGame& loaded() {
        testgame::TestGame& g = game();
        g.init();
        g.load();
        for (int i = 0; i < 20000 && g._state == Game::STATE_LOADING; ++i) {
            frame(0.001);
        }
        EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
        return g;
    }

    bool played(const std::string& sound) {
        const std::vector<std::string>& s = game().sounds;
        return std::find(s.begin(), s.end(), sound) != s.end();
    }

    // A scheme of three backgrounds, each for `every` stages, made current.
    void schemeOfThree(int every) {
        Game::ColorScheme scheme;
        scheme.name = "TEST";
        scheme.backgrounds = {RGBA<float>(0.1f, 0.0f, 0.0f, 1.0f), RGBA<float>(0.2f, 0.0f, 0.0f, 1.0f),
                              RGBA<float>(0.3f, 0.0f, 0.0f, 1.0f)};
        scheme.changeBackgroundOnEvery = every;
        game()._colorSchemes["test"] = scheme;
        game()._currentColorScheme = game()._colorSchemes.find("test");
    }
};

TEST_F(LifeCycleGL, StartGameSetsUpStageOneOfAFreshGame) {
    testgame::TestGame& g = loaded();
    // What an earlier game left behind.
    g._bombs = 7;
    g._stage = 14;
    g._botLevel = 2;
    g._waveQuota = 15000;
    g._cameraMode = Vortel::CAMERA_ORBIT;
    g._player._hitpoints = 3.0f;
    g._explosions.push_back(new Vortel::Explosion({}, Vector3<float>()));
    g.sounds.clear();

    g.startGame();
    EXPECT_EQ(g._state, Game::STATE_PLAY);
    EXPECT_EQ(g._overlayText->text, "STAGE 1");
    g._overlayText->animate(0.0);
    EXPECT_NEAR(g._overlayText->_scale.x, 0.0f, 1e-5f);  // rewound: the banner pops up now
    const std::vector<int> counts = {g._bombs, g._gun.ammo(), g._pointsToGo, g._waveQuota, g._waveBotCount,
                                     g._stage, g._botLevel, g._cameraMode};
    EXPECT_EQ(counts, (std::vector<int>{3, 100, 10000, 10000, 1, 1, 1, Vortel::CAMERA_FIRST_PERSON}));
    EXPECT_EQ(g._player._hitpoints, 50.0f);
    EXPECT_EQ(g._currentMenu, nullptr);
    EXPECT_FALSE(g._cursorVisible);
    EXPECT_TRUE(g._explosions.empty());
    EXPECT_EQ(g._aimCursorSprite->pos(), Vector2<float>(400.0f, 310.0f));
    EXPECT_TRUE(FSOUND_IsPlaying(g._musicChannel));
    EXPECT_TRUE(FSOUND_IsPlaying(g._humChannel));
    EXPECT_EQ(g.sounds, (std::vector<std::string>{"theme_play", "getready", "hum_player"}));
    EXPECT_EQ(g._bottomBar.targetHeight(), 0.0f);
    g._cockpitHud = false;
    g.startGame();
    EXPECT_EQ(g._bottomBar.targetHeight(), 20.0f);
}

TEST_F(LifeCycleGL, StagesFollowTheRoundsAndTheirQuotas) {
    testgame::TestGame& g = game();
    g._state = Game::STATE_PLAY;
    struct Case {
        int stageBefore, levelBefore, quotaBefore;
        int stage, botCount, level, quota;
    };
    for (const Case& c : {Case{9, 1, 10000, 10, 10, 1, 10000}, Case{10, 1, 10000, 11, 1, 2, 15000},
                          Case{20, 2, 15000, 21, 1, 3, 20000}}) {
        SCOPED_TRACE(c.stageBefore);
        g._stage = c.stageBefore;
        g._botLevel = c.levelBefore;
        g._waveQuota = c.quotaBefore;
        g._pointsToGo = -300;  // the last stage's quota overshot by 300
        g._bombs = 9;
        g.sounds.clear();
        g.nextWave();
        const std::vector<int> after = {g._stage, g._waveBotCount, g._botLevel, g._waveQuota, g._pointsToGo, g._bombs};
        EXPECT_EQ(after, (std::vector<int>{c.stage, c.botCount, c.level, c.quota, c.quota - 300, 9}));
        EXPECT_EQ(g._overlayTextQueue.back(), "STAGE " + std::to_string(c.stage));
        EXPECT_EQ(g._message._text.str(), "EMP +1\n");
        EXPECT_EQ(g.sounds, (std::vector<std::string>{"next_wave_signal", "melt_all"}));
    }
    g._state = Game::STATE_MAIN_MENU;
    g.sounds.clear();
    g.nextWave();
    EXPECT_TRUE(g.sounds.empty());
}

TEST_F(LifeCycleGL, TheStageChoosesTheBackgroundInPlayOnly) {
    testgame::TestGame& g = game();
    const auto backgroundOf = [&](int state, int stage) {
        g._state = state;
        g._stage = stage - 1;
        g.nextWave();
        return static_cast<int>(std::lround(g._fogColor.r * 10.0f)) - 1;
    };
    schemeOfThree(2);
    const std::vector<int> expected = {0, 0, 1, 1, 2, 2, 0, 0};
    for (int stage = 1; stage <= 8; ++stage) {
        EXPECT_EQ(backgroundOf(Game::STATE_PLAY, stage), expected[static_cast<std::size_t>(stage - 1)]) << stage;
    }
    EXPECT_EQ(backgroundOf(Game::STATE_INGAME_MENU, 5), 2);
    EXPECT_EQ(backgroundOf(Game::STATE_MAIN_MENU, 5), 0);
    // The red flash ends in the stage's background.
    EXPECT_EQ(g._backgroundGradient.value(0.25f), g._backgroundColor);
    EXPECT_EQ(g._backgroundGradient.value(1.5f), g._fogColor);
    schemeOfThree(0);
    EXPECT_EQ(backgroundOf(Game::STATE_PLAY, 3), 2);
}

TEST_F(LifeCycleGL, GameOverWaitsHalfASecondForAKeyAndTenWithout) {
    testgame::TestGame& g = loaded();
    struct Case {
        std::uint32_t aboveLowest;
        std::vector<double> keysAt;
        int leavesTo;
    };
    for (const Case& c : {Case{0, {0.3, 0.6}, Game::STATE_MAIN_MENU}, Case{1, {0.6}, Game::STATE_ENTER_SCORE},
                          Case{1, {}, Game::STATE_ENTER_SCORE}}) {
        SCOPED_TRACE(c.aboveLowest + c.keysAt.size());
        g.startGame();
        frame(FRAME);
        const Vortel::ScoreTable& table = *g._scoreTables.currentTable(g._currentGameSpeed->second.name);
        g._score = table.entries().back().score + c.aboveLowest;
        g._stateTime = 3.0;
        g.gameOver();
        EXPECT_EQ(g._stateTime, 0.0);
        EXPECT_EQ(g._message._text.str(), "GAME OVER\n\nPRESS ANY KEY TO CONTINUE");
        EXPECT_FALSE(FSOUND_IsPlaying(g._humChannel));
        for (const double at : c.keysAt) {
            EXPECT_EQ(g._state, Game::STATE_GAME_OVER) << at;
            while (g._stateTime < at) {
                frame(0.01);
            }
            hold(KEY_SPACE, true);
            frame(0.01);
            hold(KEY_SPACE, false);
        }
        for (int i = 0; i < 200 && g._state == Game::STATE_GAME_OVER; ++i) {
            frame(0.1);
            EXPECT_EQ(g._cameraMode, Vortel::CAMERA_ORBIT);
        }
        EXPECT_EQ(g._state, c.leavesTo);
        if (c.keysAt.empty()) {
            EXPECT_GE(g._stateTime, 10.0);
            EXPECT_LT(g._stateTime, 10.1);
        }
        g._scoreTables.endEditName();
    }
}

TEST_F(LifeCycleGL, AStageEarnedByTheFatalCellIsNotStartedAfterGameOver) {
    testgame::TestGame& g = loaded();
    g.startGame();
    frame(FRAME);
    const int stage = g._stage;
    g._pendingWaves = 1;  // as the last cell's points would have earned it
    g.gameOver();
    frame(FRAME);
    frame(FRAME);
    EXPECT_EQ(g._stage, stage);
    EXPECT_EQ(g._message._text.str(), "GAME OVER\n\nPRESS ANY KEY TO CONTINUE");
}

TEST_F(LifeCycleGL, TheGameOverTextReadsAsWellOverTheOrbitedWreck) {
    testgame::TestGame& g = loaded();
    // Dark pixels of the message's lines, above its bottom edge at the middle of the screen.
    const auto textPixels = [] {
        const std::vector<unsigned char> screen = testsupport::readScreen();
        int dark = 0;
        for (int y = 345; y < 400; ++y) {
            for (int x = 270; x < 530; ++x) {
                const unsigned char* p = &screen[static_cast<std::size_t>((y * 800 + x) * 4)];
                dark += p[0] < 60 && p[1] < 60 && p[2] < 60 ? 1 : 0;
            }
        }
        return dark;
    };
    g.startGame();
    frame(FRAME);
    g._message._text << "GAME OVER\n\nPRESS ANY KEY TO CONTINUE";
    g._message.showText(10.0, 0.0);
    frame(FRAME);
    const int inPlay = textPixels();
    ASSERT_GT(inPlay, 500);

    g.gameOver();
    frame(FRAME);
    frame(FRAME);
    EXPECT_NEAR(textPixels(), inPlay, inPlay / 20);
}

// The banner over the play screen of a new game, as a player sees it in any colour scheme;
// the scheme may also change while it shows.
TEST_F(LifeCycleGL, TheStageBannerStandsOutOfTheBackgroundInTheHudColour) {
    testgame::TestGame& g = loaded();
    ASSERT_EQ(g._currentColorScheme->first, "spectrum_light");
    // Pixels of the banner's upper half, clear of the aim cursor below it, that stand out of
    // the background towards the HUD colour.
    const auto bannerPixels = [&g] {
        Vector2<float> size;
        g._renderer.getTextSize(&size, nullptr, "STAGE 1", *g._fontBig, Vector2<float>(1.0f, 1.0f));
        const std::vector<unsigned char> screen = testsupport::readScreen();
        const float background = 255.0f * g._fogColor.r;
        const float hud = 255.0f * g._hudColor.r;
        int standing = 0;
        for (int y = 340; y < 340 + static_cast<int>(size.y / 2); ++y) {
            for (int x = 400 - static_cast<int>(size.x / 2); x < 400 + static_cast<int>(size.x / 2); ++x) {
                const unsigned char* p = &screen[static_cast<std::size_t>((y * 800 + x) * 4)];
                const float toward = (p[0] + p[1] + p[2]) / 3.0f - background;
                standing += std::abs(toward) > 100.0f && (toward < 0.0f) == (hud < background) ? 1 : 0;
            }
        }
        return standing;
    };
    // The scheme chosen 0.2 s into the banner, if any: the third game starts in the dark one.
    for (const char* changedTo : {static_cast<const char*>(nullptr), "spectrum_dark", "spectrum_light"}) {
        SCOPED_TRACE(changedTo ? changedTo : "no change");
        g.mainMenu();
        ASSERT_EQ(g._menuMain->selectedItem().text(), "START GAME");
        send(WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_EQ(g._state, Game::STATE_PLAY);
        for (double t = 0.0; t < 0.5; t += FRAME) {
            if (changedTo != nullptr && t >= 0.2 && t < 0.2 + FRAME) {
                g.applyColorScheme(changedTo);
            }
            frame(FRAME);
        }
        EXPECT_GT(bannerPixels(), 300);
    }
    // The fade keeps the alpha: a scheme chosen once the banner has faded leaves it faded out.
    g._overlayText->animate(3.0);
    ASSERT_EQ(g._overlayText->textColor.a, 0.0f);
    g.applyColorScheme("spectrum_dark");
    EXPECT_EQ(g._overlayText->textColor.a, 0.0f);
}

}  // namespace
