// The four counters of a game: score with its bonuses and wave countdown, shields,
// ammunition and EMP bombs.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/game_fixture.h"

namespace {

using Vortel::Game;
using ScoreGL = testgame::GameFixture;

TEST_F(ScoreGL, PointsCountOnlyInPlayAndTheCountdownEarnsOneWaveFromAboveZero) {
    struct Case {
        int state;
        int toGo;
        int points;
        int toGoAfter;
        int waves;
    };
    const Case cases[] = {
        {Game::STATE_INGAME_MENU, 50, 100, 50, 0},
        {Game::STATE_TRICK_TRAINER, 50, 100, 50, 0},
        {Game::STATE_GAME_OVER, 50, 100, 50, 0},
        {Game::STATE_PLAY, 50, 300, -250, 1},   // one large award, one wave
        {Game::STATE_PLAY, -250, 10, -260, 0},  // already earned
        {Game::STATE_PLAY, 0, 0, 0, 0},         // the old value must be above 0
        {Game::STATE_PLAY, 10, 10, 0, 1},
    };
    testgame::TestGame& g = game();
    g._score = 700;
    g._previousScore = 600;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << ": " << c.toGo << " - " << c.points);
        g._state = c.state;
        g._pendingWaves = 0;
        g._pointsToGo = c.toGo;
        const std::uint32_t before = g._score;
        const std::uint32_t previous = g._previousScore;
        g.score(c.points);
        const bool counts = c.state == Game::STATE_PLAY;
        EXPECT_EQ(g._pointsToGo, c.toGoAfter);
        EXPECT_EQ(g._pendingWaves, c.waves);
        EXPECT_EQ(g._previousScore, counts ? before : previous);
        EXPECT_EQ(g._score, before + (counts ? static_cast<std::uint32_t>(c.points) : 0u));
    }
}

TEST_F(ScoreGL, ThresholdBonusesGiveWhatTheyAreSetTo) {
    struct Case {
        int shieldsPerBonus;
        int ammoPerBonus;
        std::string text;
        float shieldsAfter;
        int ammoAfter;
    };
    // 900 to 2600 crosses 1000 and 2000 for shields, 2500 for ammunition.
    const Case cases[] = {
        {0, 0, "", 40.0f, 100},
        {2, 10, "SHIELD +4\nAMMO +10\n", 44.0f, 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        testgame::TestGame& g = game();
        g._state = Game::STATE_PLAY;
        g._shieldsPerBonus = c.shieldsPerBonus;
        g._ammoPerBonus = c.ammoPerBonus;
        g._score = 900;
        g._player._hitpoints = 40.0f;
        g._gun.ammo(100);
        g.score(1700);
        EXPECT_EQ(g._score, 2600u);
        EXPECT_EQ(g._message._text.str(), c.text);
        EXPECT_EQ(g._message.shown(), !c.text.empty());
        EXPECT_FLOAT_EQ(g._player._hitpoints, c.shieldsAfter);
        EXPECT_EQ(g._gun.ammo(), c.ammoAfter);
        destroyGame();
    }
}

TEST_F(ScoreGL, ShieldsAmmunitionAndBombsKeepTheirLimits) {
    testgame::TestGame& g = game();
    struct Shields {
        float before;
        int delta;
        float after;
    };
    for (const Shields& c : {Shields{49.7f, 1, 50.0f}, Shields{49.7f, 5, 50.0f}, Shields{0.5f, -1, -1.0f},
                             Shields{20.9f, 3, 23.0f}}) {
        g._player._hitpoints = c.before;
        g.shields(c.delta);
        EXPECT_FLOAT_EQ(g._player._hitpoints, c.after) << c.before << " + " << c.delta;
    }
    struct Counter {
        int before;
        int delta;
        int after;
    };
    for (const Counter& c : {Counter{990, 25, 999}, Counter{5, -10, -5}, Counter{100, 50, 150}}) {
        g._gun.ammo(c.before);
        g.ammo(c.delta);
        EXPECT_EQ(g._gun.ammo(), c.after) << c.before << " + " << c.delta;
    }
    for (const Counter& c : {Counter{7, 5, 9}, Counter{2, -5, 0}, Counter{3, 1, 4}}) {
        g._bombs = c.before;
        g.bombs(c.delta);
        EXPECT_EQ(g._bombs, c.after) << c.before << " + " << c.delta;
    }
}

}  // namespace
