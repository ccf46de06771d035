// Tricks in play and the combos they make: the combo's points and rating, the trick check of
// a new cell, the combo clock, and a game in which two tricks are flown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/builtintricks.h"
#include "actors/tricktrainer.h"
#include "game/combo.h"
#include "tests/game/game_fixture.h"

namespace {

using Vortel::Game;
using Vortel::MovementTrack;
using ComboGL = testgame::GameFixture;

constexpr double FRAME = 1.0 / 60.0;

TEST(Combo, PointsAreAShareOfTheTricksRoundedToTwentyFiveAndRated) {
    struct Case {
        int tricks;
        int sum;
        int points;
        const char* rating;
    };
    const Case cases[] = {
        {2, 100, 50, " (GOOD) "},          // 40 raised to the least
        {3, 100, 50, " (GOOD) "},          // 52
        {10, 100, 150, " (GOOD) "},        // 140, remainder 15 goes up
        {2, 1000, 400, " (VERY GOOD) "},
        {3, 1000, 525, " (VERY GOOD) "},
        {10, 1000, 1400, " (EXCELLENT) "},
        {2, 655, 250, " (VERY GOOD) "},    // 262, remainder 12 goes down
        {2, 658, 275, " (VERY GOOD) "},    // 263
        {2, 4968, 1975, " (SUPERIOR) "},   // 1987
        {2, 5033, 2000, " (SUPERIOR) "},   // 2013 would round to 2025
        {3, 120, 75, " (GOOD) "},          // exactly 63 in the widened share; 62 in floats
        {4, 1520, 1000, " (EXCELLENT) "},  // exactly 988
        {2, 590, 225, " (GOOD) "},         // 236
        {10, 1000000, 2000, " (SUPERIOR) "},
    };
    for (const Case& c : cases) {
        const int points = Vortel::comboPoints(c.tricks, c.sum);
        EXPECT_EQ(points, c.points) << c.tricks << " tricks worth " << c.sum;
        EXPECT_STREQ(Vortel::comboRating(points).text, c.rating) << points;
    }
    for (const int edge : {249, 749, 1499}) {
        EXPECT_STRNE(Vortel::comboRating(edge).text, Vortel::comboRating(edge + 1).text) << edge;
    }
}

// Any cell, then a turn to the left, worth 40.
Vortel::Trick leftTurnTrick() {
    Vortel::Trick trick;
    trick.name("HOOK");
    trick.score(40);
    trick.step(MovementTrack::MOVE_ANY, MovementTrack::SURROUND_ANY);
    trick.step(MovementTrack::MOVE_LEFT, MovementTrack::SURROUND_ANY);
    return trick;
}

// The craft's track as it stands after a left turn and a further cell.
void flyLeftTurn(Game& g) {
    MovementTrack& track = g._player.movementTrack();
    track.steps().clear();
    track.step(MovementTrack::MOVE_STRAIGHT, 0);
    track.step(MovementTrack::MOVE_LEFT, 0);
    track.step(MovementTrack::MOVE_STRAIGHT, 0);
}

TEST_F(ComboGL, ATrickInPlayIsAnnouncedScoredTimesTheSpeedLevelAndOpensACombo) {
    struct Case {
        int state;
        int speedLevel;
        std::string text;
        unsigned int points;
    };
    const Case cases[] = {
        {Game::STATE_PLAY, 1, "*HOOK* +40\n", 40},
        {Game::STATE_PLAY, 3, "*HOOK* +40 x 3\n", 120},
        {Game::STATE_TRICK_TRAINER, 1, "", 0},
        {Game::STATE_MAIN_MENU, 1, "", 0},  // the demo
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        testgame::TestGame& g = game();
        g._trickLibrary.addTrick(leftTurnTrick());
        g._state = c.state;
        g._speedLevelRounded = c.speedLevel;
        flyLeftTurn(g);
        g.checkTricks();
        // The steps are gone: the same turn cannot score twice.
        g.checkTricks();

        const bool scored = c.points > 0;
        EXPECT_EQ(g._message._text.str(), c.text);
        EXPECT_EQ(g._score, c.points);
        EXPECT_EQ(g.sounds, scored ? std::vector<std::string>{"trick"} : std::vector<std::string>{});
        EXPECT_EQ(g._comboCount, scored ? 1 : 0);
        EXPECT_EQ(g._comboScores, scored ? std::vector<int>{static_cast<int>(c.points)} : std::vector<int>{});
        EXPECT_EQ(g._comboTricks.size(), g._comboScores.size());
        EXPECT_EQ(g._player.movementTrack().steps().size(), scored ? 2u : 3u);
        if (scored) {
            EXPECT_EQ(g._message.holdTime(), 1.0);
            EXPECT_EQ(g._message.fadeTime(), 0.7);
            EXPECT_EQ(g.volumes.front(), g._effectsVolume);
        }
        destroyGame();
    }
}

TEST_F(ComboGL, EachRatingGivesItsRewardsAndWords) {
    struct Case {
        std::vector<int> scores;
        std::string text;
        int points;
        int shields;
        int ammo;
        int bombs;
        const char* word;
    };
    const Case cases[] = {
        {{50, 50}, "2-COMBO (GOOD) +50 shields+1 ammo+5", 50, 1, 5, 0, "good"},
        {{150, 150, 150, 165}, "4-COMBO (VERY GOOD) +400 shields+2 ammo+15", 400, 2, 15, 0, "verygood"},
        {std::vector<int>(10, 100), "10-COMBO (EXCELLENT) +1400 shields+3 ammo+25 EMP +1", 1400, 3, 25, 1,
         "excellent"},
        {{2500, 2533}, "2-COMBO (SUPERIOR) +2000 shields+5 ammo+50", 2000, 5, 50, 0, "superior"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        testgame::TestGame& g = game();
        g._state = Game::STATE_PLAY;
        g._voiceVolume = 51;
        g._effectsVolume = 204;
        g._player._hitpoints = 30.5f;
        g._gun.ammo(100);
        g._bombs = 3;
        g._comboScores = c.scores;
        g._comboTricks.resize(c.scores.size());
        g._comboCount = static_cast<int>(c.scores.size());
        g._comboTime = 4.0;
        g.stepComboClock(1.5);

        ASSERT_EQ(g._overlayTextQueue.size(), 1u);
        EXPECT_EQ(g._overlayTextQueue.front(), c.text);
        EXPECT_EQ(g._score, static_cast<unsigned int>(c.points));
        EXPECT_FLOAT_EQ(g._player._hitpoints, 30.0f + static_cast<float>(c.shields));
        EXPECT_EQ(g._gun.ammo(), 100 + c.ammo);
        EXPECT_EQ(g._bombs, 3 + c.bombs);
        const std::string count = std::to_string(c.scores.size()) + "combo";
        EXPECT_EQ(g.sounds, (std::vector<std::string>{count, "combo", c.word}));
        EXPECT_EQ(g.volumes, (std::vector<unsigned char>{51, 204, 51}));
        EXPECT_EQ(g._comboCount, 0);
        EXPECT_EQ(g._comboTime, 0.0);
        EXPECT_TRUE(g._comboScores.empty());
        EXPECT_TRUE(g._comboTricks.empty());
        destroyGame();
    }
}

TEST_F(ComboGL, TheClockJoinsTricksWithinTheWindowAndEndsTheCombo) {
    struct Case {
        const char* what;
        double gap;   // craft seconds between the two tricks
        int comboAfterSecond;
        std::size_t banners;
    };
    const Case cases[] = {
        {"4.9 s apart: a combo of two", 4.9, 2, 1},
        {"5.1 s apart: two tricks alone, ended in silence", 5.1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testgame::TestGame& g = game();
        g._trickLibrary.addTrick(leftTurnTrick());
        g._state = Game::STATE_PLAY;
        flyLeftTurn(g);
        g.checkTricks();
        for (int i = 0; i < 49; ++i) {
            g.stepComboClock(0.1);
        }
        g.stepComboClock(c.gap - 4.9);
        flyLeftTurn(g);
        g.checkTricks();
        EXPECT_EQ(g._comboCount, c.comboAfterSecond);
        for (int i = 0; i < 52; ++i) {
            g.stepComboClock(0.1);
        }
        EXPECT_EQ(g._comboCount, 0);
        EXPECT_EQ(g._overlayTextQueue.size(), c.banners);
        EXPECT_EQ(std::count(g.sounds.begin(), g.sounds.end(), "combo"), static_cast<long>(c.banners));
        EXPECT_EQ(g._score, c.banners == 1 ? 130u : 80u);
        destroyGame();
    }
}

TEST_F(ComboGL, TheTenthTrickEndsTheComboAtOnceAndAwayFromPlayNothingEnds) {
    testgame::TestGame& g = game();
    g._trickLibrary.addTrick(leftTurnTrick());
    g._bombs = 9;
    for (int i = 0; i < 10; ++i) {
        // The trainer's tricks open nothing; those of play do.
        g._state = i == 0 ? Game::STATE_TRICK_TRAINER : Game::STATE_PLAY;
        flyLeftTurn(g);
        g.checkTricks();
        g._state = Game::STATE_INGAME_MENU;
        g.stepComboClock(0.0);
        g._state = Game::STATE_PLAY;
        EXPECT_TRUE(g._overlayTextQueue.empty()) << i;
    }
    flyLeftTurn(g);
    g.checkTricks();
    g.stepComboClock(0.0);
    ASSERT_EQ(g._overlayTextQueue.size(), 1u);
    // Ten tricks worth 400 in all: 560 before rounding, rated VERY GOOD; the bomb stays at
    // the limit.
    EXPECT_EQ(g._overlayTextQueue.front(), "10-COMBO (VERY GOOD) +550 shields+2 ammo+15 EMP +1");
    EXPECT_EQ(g._bombs, 9);
    EXPECT_EQ(g._comboCount, 0);

    // A combo whose window ran out behind the in-game menu ends on the first frame of play.
    g._comboScores = {100, 100};
    g._comboTricks.resize(2);
    g._comboCount = 2;
    g._state = Game::STATE_INGAME_MENU;
    g.stepComboClock(6.0);
    EXPECT_EQ(g._comboCount, 2);
    g._state = Game::STATE_PLAY;
    g.stepComboClock(0.0);
    EXPECT_EQ(g._comboCount, 0);
    EXPECT_EQ(g._overlayTextQueue.size(), 2u);
}

// Flies the craft on through what lies ahead, turning where a trainer of the trick would
// advise, until the game announces a trick. Gives the points of the frame that announced it,
// or -1 if none came.
long flyTrick(testgame::TestGame& g, const Vortel::Trick& trick) {
    Vortel::TrickTrainer coach(g._octree);
    for (int frame = 0; frame < 60 * 10; ++frame) {
        const Vector3<int> before = g._player._cell;
        const std::size_t heard = g.sounds.size();
        const std::uint32_t score = g._score;
        g.playFrame(FRAME);
        if (std::find(g.sounds.begin() + static_cast<long>(heard), g.sounds.end(), "trick") != g.sounds.end()) {
            return static_cast<long>(g._score - score);
        }
        const std::list<MovementTrack::Step>& steps = g._player.movementTrack().steps();
        if (g._player._cell == before || steps.empty()) {
            continue;
        }
        if (!coach.doingTrick() && coach.trickPossible(g._player, trick)) {
            coach.trick(trick);
            coach.beginTrick();
        }
        if (coach.doingTrick()) {
            coach.step(steps.front());
            if (coach.advice() <= Vortel::TrickTrainer::ADVICE_DOWN) {
                g._player.turn(static_cast<Vortel::Player::direction>(coach.advice() + 1));
            }
        }
    }
    return -1;
}

// The trick's obstacles ten cells ahead of a craft set at start, heading +z with up +y, as
// the trainer lays them.
void layTrick(testgame::TestGame& g, const Vortel::Trick& trick, const Vector3<int>& start) {
    g._player.orientation(Vector3<int>::Z_PLUS);
    g._player.up(Vector3<int>::Y_PLUS);
    g._player.position(start);
    for (const Vector3<int>& o : trick.obstacles()) {
        g._octree.setTerminalNode(Vector3<int>(start.x + o.x, start.y - o.y, start.z + 10 + o.z),
                                  Vortel::OcTree::CELL_SOLID_1, 0);
    }
}

// The turns go to the craft directly, where a player's turn keys would queue them.
TEST_F(ComboGL, TwoTricksFlownInAGameMakeACombo) {
    testgame::TestGame& g = game();
    Vortel::addBuiltInTricks(g._trickLibrary);
    g.startGame();
    g._waveBotCount = 0;  // no chasers to melt the obstacles
    g._player.velocity(8.0f);
    const Vortel::Trick* first = g._trickLibrary.trickByName("SLICK", "LEFT");
    const Vortel::Trick* second = g._trickLibrary.trickByName("SLICK", "RIGHT");
    ASSERT_TRUE(first != nullptr && second != nullptr);

    layTrick(g, *first, Vector3<int>(16, 16, 0));
    const long gained = flyTrick(g, *first);
    ASSERT_GE(gained, 0);
    const Vortel::Trick& announced = g._matchedTrick;
    EXPECT_EQ(g._message._text.str(), "*" + announced.name() + "* +" + std::to_string(announced.score()) + "\n");
    EXPECT_EQ(gained, announced.score() + Game::_flyingScores[g._playerSurroundCount]);
    EXPECT_EQ(g._comboCount, 1);
    const int firstPoints = announced.score();

    layTrick(g, *second, Vector3<int>(6, 16, 20));
    ASSERT_GE(flyTrick(g, *second), 0);
    EXPECT_EQ(g._comboCount, 2);
    const int points = Vortel::comboPoints(2, firstPoints + g._matchedTrick.score());
    for (int frame = 0; frame < 60 * 6 && g._comboCount > 0; ++frame) {
        g.playFrame(FRAME);
    }
    ASSERT_EQ(g._overlayTextQueue.size(), 1u);
    const std::string& banner = g._overlayTextQueue.front();
    EXPECT_EQ(banner.rfind("2-COMBO (", 0), 0u) << banner;
    EXPECT_NE(banner.find(") +" + std::to_string(points) + " "), std::string::npos) << banner;
    EXPECT_GE(points, 50);
}

}  // namespace
