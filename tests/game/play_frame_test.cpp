#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <string>
#include <vector>

#include <algorithm>

#include "actors/bot.h"
#include "actors/builtintricks.h"
#include "engine2d/textsprite.h"
#include "tests/game/game_fixture.h"
#include "tests/game/player_fixture.h"
#include "tests/support/gl_readback.h"
#include "world/starfield.h"

namespace {

using Vortel::Game;
using Vortel::OcTree;
using PlayFrameGL = testgame::GameFixture;

constexpr double FRAME = 1.0 / 60.0;

const Vector3<int> START(2, 2, 2);  // the craft's cell, heading -z with up +y

void fill(OcTree& field, const Vector3<int>& cell, unsigned char color = 0) {
    field.setTerminalNode(cell, OcTree::CELL_SOLID_1, color);
}

int kindAt(OcTree& field, const Vector3<int>& cell) { return field.getTerminalNode(cell)->count(); }

Vortel::Bot* addChaser(Game& game, const Vector3<int>& cell, float speed) {
    Vortel::Bot* bot = new Vortel::Bot("chaser", cell, Vector3<int>::Z_MINUS, Vector3<int>::Y_PLUS, speed, game._octree);
    game._bots.push_back(bot);
    return bot;
}

TEST_F(PlayFrameGL, PausedFramesKeepClocksAndCraftStill) {
    testgame::TestGame& g = game();
    g._paused = true;
    g._bounceOffset = 5.0f;
    g._starfield = std::make_unique<Vortel::Starfield>(Vector3<float>(), Vector3<float>(1, 0, 0), 0.2f, 50, 0);
    const Vector3<float> star = g._starfield->particles().front()->_pos;
    for (int i = 0; i < 100; ++i) {
        g.playFrame(FRAME);
    }
    EXPECT_EQ(g._starfield->particles().front()->_pos, star);
    EXPECT_EQ(g._playClock, 0.0);
    EXPECT_EQ(g._stageClock, 0.0);
    EXPECT_EQ(g._backgroundTime, 1.5);
    EXPECT_EQ(g._player._cell, START);
    EXPECT_EQ(g._player._progress, 0.0f);
    EXPECT_EQ(g._bounceOffset, 5.0f);
}

TEST_F(PlayFrameGL, TimeStretchPacesTheCraftButNotTheStageClock) {
    struct Case {
        float stretch;
        float cellsAfter60;
        int cellsAfter61;
    };
    for (const Case& c : {Case{0.2f, 1.0f, 1}, Case{1.8f, 9.0f, 9}}) {
        SCOPED_TRACE(c.stretch);
        testgame::TestGame& g = game();
        g._timeStretch = c.stretch;
        g._player.velocity(5.0f);
        for (int i = 0; i < 60; ++i) {
            g.playFrame(FRAME);
        }
        const float travelled = static_cast<float>(START.z - g._player._unwrappedCell.z) + g._player._progress;
        EXPECT_NEAR(travelled, c.cellsAfter60, 1e-5f);
        EXPECT_NEAR(g._stageClock, 1.0, 1e-9);
        g.playFrame(FRAME);
        EXPECT_EQ(START.z - g._player._unwrappedCell.z, c.cellsAfter61);
        destroyGame();
    }
}

TEST_F(PlayFrameGL, BoostRampsTheHumAndReleaseLetsTheSpeedLevelDecay) {
    testgame::TestGame& g = game();
    g._playerActive = false;
    g._player.boost(true);
    for (int i = 0; i < 120; ++i) {
        g.playFrame(FRAME);
    }
    EXPECT_FLOAT_EQ(g._playerHumFreq, 80000.0f);
    EXPECT_NEAR(g._playerHumVolumeMultiplier, 1.5f, 1e-5f);
    EXPECT_NEAR(g._boostTime, 2.0, 1e-9);

    g._player.boost(false);
    g._speedingDecay = 0.8;
    g._speedLevel = 3.0f;
    for (int i = 0; i < 60; ++i) {
        g.playFrame(FRAME);
    }
    EXPECT_FLOAT_EQ(g._playerHumFreq, 44100.0f);
    EXPECT_FLOAT_EQ(g._playerHumVolumeMultiplier, 0.8f);
    EXPECT_EQ(g._boostTime, 0.0);
    EXPECT_NEAR(g._speedLevel, 2.2f, 1e-5f);
    EXPECT_EQ(g._speedLevelRounded, 2);
}

TEST_F(PlayFrameGL, DensityIsTheFilledShareRoundedToAPercent) {
    testgame::TestGame& g = game();
    g._playerActive = false;
    int filled = 0;
    for (const auto& [cells, percent] : {std::pair<int, int>{163, 0}, {164, 1}, {16384, 50}}) {
        for (; filled < cells; ++filled) {
            fill(g._octree, Vector3<int>(filled % 32, (filled / 32) % 32, 16 + filled / 1024));
        }
        g.playFrame(0.0);
        EXPECT_EQ(g._density, percent) << cells;
    }
}

TEST_F(PlayFrameGL, ANewCellLeavesTheTrailAndReadsWhatSurroundsTheCellAhead) {
    testgame::TestGame& g = game();
    g._player._trailColor = 3;
    // Left and right of (2, 2, 0), the cell ahead once the craft is in (2, 2, 1).
    fill(g._octree, Vector3<int>(1, 2, 0));
    fill(g._octree, Vector3<int>(3, 2, 0));
    g.playFrame(0.25);
    ASSERT_EQ(g._player._cell, Vector3<int>(2, 2, 1));
    EXPECT_EQ(g._playerSurroundCount, 2);
    EXPECT_EQ(g._playerSurround & (OcTree::SURROUND_LEFT | OcTree::SURROUND_RIGHT),
              OcTree::SURROUND_LEFT | OcTree::SURROUND_RIGHT);
    EXPECT_EQ(kindAt(g._octree, START), OcTree::CELL_SOLID_1);
    EXPECT_EQ(g._octree.getTerminalNode(START)->colorIndex(), 3);
}

TEST_F(PlayFrameGL, ACrashClearsTheCellAndCostsAShieldOnlyInPlay) {
    struct Case {
        int state;
        float shields;
        double comboTime;
        float shieldsAfter;
        double comboTimeAfter;
        std::vector<std::string> sounds;
        int stateAfter;
    };
    const Case cases[] = {
        {Game::STATE_PLAY, 50.0f, 0.0, 49.0f, 1.0, {"bump"}, Game::STATE_PLAY},
        {Game::STATE_PLAY, 5.0f, 4.5, 4.0f, 5.0, {"warning_low_shields", "bump"}, Game::STATE_PLAY},
        {Game::STATE_PLAY, 1.0f, 0.0, 0.0f, 1.0, {"bump", "theme_game_over", "explosion", "gameover"},
         Game::STATE_GAME_OVER},
        {Game::STATE_MAIN_MENU, 4.0f, 0.0, 4.0f, 1.0, {"bump"}, Game::STATE_MAIN_MENU},
    };
    const double dt = 0.25;  // one cell at the craft's 4 cells a second
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shields);
        testgame::TestGame& g = game();
        g._state = c.state;
        g._player._hitpoints = c.shields;
        g._comboTime = c.comboTime;
        g._speedLevel = 3.0f;
        g._boostTime = 1.0;
        g._playerHumFreq = 70000.0f;
        const Vector3<int> wall(2, 2, 0);
        fill(g._octree, wall);
        g.playFrame(dt);

        EXPECT_EQ(kindAt(g._octree, wall), OcTree::CELL_EMPTY);
        EXPECT_FLOAT_EQ(g._player._hitpoints, c.shieldsAfter);
        EXPECT_EQ(g.sounds, c.sounds);
        EXPECT_EQ(g._state, c.stateAfter);
        EXPECT_EQ(g._speedLevel, 1.0f);
        EXPECT_EQ(g._boostTime, 0.0);
        EXPECT_EQ(g._playerHumFreq, 44100.0f);
        EXPECT_DOUBLE_EQ(g._comboTime, c.comboTimeAfter);
        // The game that ended stops before the camera eases the roll off.
        const bool over = c.stateAfter == Game::STATE_GAME_OVER;
        EXPECT_FLOAT_EQ(g._bounceOffset, over ? 11.0f : 11.0f - 30.0f * static_cast<float>(dt));
        destroyGame();
    }
}

// A game at INSANE with the boost held: 27 cells a second, into a cube nine cells ahead.
class LongFramesGL : public testgame::PlayerFixture {
protected:
    struct Run {
        std::vector<Vector3<int> > solid;
        float shields;
        long bumps;
        Vector3<int> cell;
        int state;
    };

    Run fly(double seconds, double dt) {
        testgame::TestGame& g = game();
        g.init();
        g.setupSpeeds();
        g.defaultControls();
        g.applyGameSpeed("insane");
        g.startGame();
        g._octree.setTerminalNode(Vector3<int>(2, 2, 24), OcTree::CELL_SOLID_1, 0);
        hold(g._keyBoost, true);
        const int frameCount = static_cast<int>(std::lround(seconds / dt));
        for (int i = 0; i < frameCount; ++i) {
            frame(dt);
        }
        Run run{{}, g._player._hitpoints, std::count(g.sounds.begin(), g.sounds.end(), "bump"), g._player._cell,
                g._state};
        for (int z = 0; z < 32; ++z) {
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    if (kindAt(g._octree, Vector3<int>(x, y, z)) != OcTree::CELL_EMPTY) {
                        run.solid.emplace_back(x, y, z);
                    }
                }
            }
        }
        destroyGame();
        return run;
    }
};

TEST_F(LongFramesGL, TheCraftEntersTheSameCellsWithTheSameCrashInLongFramesAsInShortOnes) {
    // 0.9 s is 24.3 cells: the run ends in the middle of a cell, past the cube it crashed into.
    const Run reference = fly(0.9, 0.001);
    std::vector<Vector3<int> > trail;
    for (int z = 2; z > 2 - 24; --z) {
        trail.emplace_back(2, 2, (z + 32) % 32);
    }
    std::sort(trail.begin(), trail.end(), [](const Vector3<int>& a, const Vector3<int>& b) {
        return std::make_tuple(a.z, a.y, a.x) < std::make_tuple(b.z, b.y, b.x);
    });
    EXPECT_EQ(reference.solid, trail);
    EXPECT_EQ(reference.shields, 49.0f);
    EXPECT_EQ(reference.bumps, 1);
    EXPECT_EQ(reference.cell, Vector3<int>(2, 2, 10));
    EXPECT_EQ(reference.state, Game::STATE_PLAY);
    for (const double dt : {0.005, 0.05, 0.1, 0.3, 0.9}) {
        SCOPED_TRACE(dt);
        const Run run = fly(0.9, dt);
        EXPECT_EQ(run.solid, reference.solid);
        EXPECT_EQ(run.shields, reference.shields);
        EXPECT_EQ(run.bumps, reference.bumps);
        EXPECT_EQ(run.cell, reference.cell);
        EXPECT_EQ(run.state, reference.state);
    }
}

TEST_F(PlayFrameGL, AFrameOfYearsIsFlownInABoundedNumberOfSubSteps) {
    // A stopped process comes back with one enormous frame: flown a cell at a time, it would
    // stall the game for many minutes. A chaser never crashes, so nothing ends the frame early.
    testgame::TestGame& g = game();
    g._playerActive = false;
    const Vortel::Bot* bot = addChaser(g, Vector3<int>(10, 10, 10), 4.0f);
    g.playFrame(1e8);
    EXPECT_FALSE(bot->dead());
    EXPECT_EQ(g._playClock, 1e8);
}

TEST_F(PlayFrameGL, AProcessThatStoodStillGoesOnFromWhereItStood) {
    // Stopped and continued (Ctrl-Z, a debugger), the process finds that the loop's clock ran
    // on: flown at once, 20 s ended a fresh game at NORMAL.
    testgame::TestGame& g = game();
    g.init();
    g.setupSpeeds();
    g.defaultControls();
    g.applyGameSpeed("normal");
    g.startGame();
    g.loopTimer().reset(0.0);
    ASSERT_TRUE(g.loopPass());
    const double clock = g._playClock;
    g.loopTimer().lastTime -= 20.0;
    ASSERT_TRUE(g.loopPass());
    EXPECT_EQ(g._state, Game::STATE_PLAY);
    EXPECT_EQ(g._player._hitpoints, 50.0f);
    EXPECT_NEAR(g._playClock - clock, 0.25, 1e-9);
}

TEST_F(PlayFrameGL, AChaserLeavesItsTrailAndMeltsTheCubesItFliesInto) {
    testgame::TestGame& g = game();
    g._playerActive = false;
    const Vector3<int> from(10, 10, 10);
    const Vector3<int> into(10, 10, 9);
    Vortel::Bot* bot = addChaser(g, from, 4.0f);
    bot->_trailColor = 7;
    const std::vector<Vector3<int> > melting = {into, {9, 10, 9}, {11, 10, 9}, {10, 11, 9}, {10, 9, 9}};
    for (const Vector3<int>& c : melting) {
        fill(g._octree, c);
    }
    const Vector3<int> further(10, 12, 9);
    fill(g._octree, further);

    Vortel::Bot* slowed = addChaser(g, Vector3<int>(20, 20, 20), 4.0f);
    slowed->timeStretch(0.2);

    g.playFrame(0.25);
    ASSERT_EQ(bot->_cell, into);
    EXPECT_EQ(kindAt(g._octree, from), OcTree::CELL_SOLID_2);
    EXPECT_EQ(g._octree.getTerminalNode(from)->colorIndex(), 7);
    for (const Vector3<int>& c : melting) {
        EXPECT_EQ(kindAt(g._octree, c), OcTree::CELL_MELTING);
    }
    EXPECT_EQ(kindAt(g._octree, further), OcTree::CELL_SOLID_1);
    // A fifth of the world's time: a fifth of the way through its cell.
    EXPECT_EQ(slowed->_cell, Vector3<int>(20, 20, 20));
    EXPECT_NEAR(slowed->_progress, 0.2f, 1e-6f);
}

TEST_F(PlayFrameGL, TheDemoStartsItsRoundAgainOnceTheFieldFillsAtTheLastStage) {
    struct Case {
        int stage;
        int stageAfter;
    };
    // The stage the demo earns starts in the same frame: from 3 after a restart.
    for (const Case& c : {Case{10, 4}, Case{5, 6}}) {
        testgame::TestGame& g = game();
        g._playerActive = false;
        g._demoMode = true;
        g._state = Game::STATE_MAIN_MENU;
        g._stage = c.stage;
        g._liveBotCount = 4;
        for (int i = 0; i < 3300; ++i) {
            fill(g._octree, Vector3<int>(i % 32, (i / 32) % 32, 8 + i / 1024));
        }
        g.playFrame(FRAME);
        EXPECT_EQ(g._density, 10);
        EXPECT_EQ(g._stage, c.stageAfter);
        // After the restart the demo tops its chasers up again and follows the first.
        if (c.stage == 10) {
            EXPECT_EQ(g._liveBotCount, static_cast<int>(g._bots.size()));
        } else {
            EXPECT_GE(g._liveBotCount, 4) << "the stage's chasers are kept and topped up";
        }
        EXPECT_EQ(g._pendingWaves, 0);
        EXPECT_EQ(g._cameraSubject, g._bots.empty() ? static_cast<Vortel::Player*>(&g._player) : g._bots.front());
        destroyGame();
    }
}

TEST_F(PlayFrameGL, TheTrainerJudgesTheTrickOnceAndPauses) {
    struct Case {
        bool followAdvice;
        bool succeeded;
        const char* text;
        const char* sound;
    };
    for (const Case& c : {Case{true, true, "SUCCESS\n", "trick"}, Case{false, false, "FAILED\n", "trick_failed"}}) {
        SCOPED_TRACE(c.text);
        testgame::TestGame& g = game();
        Vortel::addBuiltInTricks(g._trickLibrary);
        Vortel::Trick* trick = g._trickLibrary.trickByName("DOUBLE SLICK", "LEFT");
        ASSERT_NE(trick, nullptr);
        for (const Vector3<int>& o : trick->obstacles()) {
            fill(g._octree, Vector3<int>(16 + o.x, 16 - o.y, 10 + o.z));
        }
        g._player.orientation(Vector3<int>::Z_PLUS);
        g._player.up(Vector3<int>::Y_PLUS);
        g._player.velocity(5.0f);
        g._player.position(Vector3<int>(16, 16, 0));
        g._state = Game::STATE_TRICK_TRAINER;
        g._trainedTrick = trick;
        g.frameTime(FRAME);
        bool begun = false;
        const std::vector<std::string> signals = {"signal_left", "signal_right", "signal_up", "signal_down"};
        for (int frame = 0; frame < 60 * 30 && !g._trickDone; ++frame) {
            const std::size_t heard = g.sounds.size();
            ASSERT_TRUE(g.stepWorld());
            begun = begun || g._message._text.str() == " BEGIN *DOUBLE SLICK LEFT*\n";
            for (std::size_t i = heard; i < g.sounds.size() && c.followAdvice; ++i) {
                const auto signal = std::find(signals.begin(), signals.end(), g.sounds[i]);
                if (signal != signals.end()) {
                    g._player.turn(static_cast<Vortel::Player::direction>(signal - signals.begin() + 1));
                }
            }
        }
        for (int frame = 0; frame < 10; ++frame) {
            g.stepWorld();
        }
        EXPECT_TRUE(begun);
        EXPECT_TRUE(g._trickDone);
        EXPECT_TRUE(g._trickResultPanel);
        EXPECT_EQ(g._trickSucceeded, c.succeeded);
        EXPECT_FALSE(g._trickIntroPanel);
        EXPECT_TRUE(g._paused);
        EXPECT_EQ(g._message._text.str(), c.text);
        EXPECT_EQ(std::count(g.sounds.begin(), g.sounds.end(), c.sound), 1);
        destroyGame();
    }
}

TEST_F(PlayFrameGL, ChasersInViewAreListedWithTheirScreenBoxesAcrossTheSeam) {
    testgame::TestGame& g = game();
    g._playerActive = false;
    g._player.position(START);
    Vortel::Bot* ahead = addChaser(g, Vector3<int>(2, 2, -1), 0.0f);
    addChaser(g, Vector3<int>(2, 2, 6), 0.0f);  // behind the craft
    Vortel::Bot* acrossTheSeam = addChaser(g, Vector3<int>(2, 2, 30), 0.0f);  // four cells ahead
    Vortel::Bot* dead = addChaser(g, Vector3<int>(3, 2, -1), 0.0f);
    dead->die(20.0);
    g.playFrame(0.0);
    ASSERT_EQ(g._botInfoList, (std::vector<Vortel::Bot*>{ahead, acrossTheSeam}));
    for (const Vortel::Bot* bot : g._botInfoList) {
        const Quib::AABB2<float>& box = bot->_screenBox;
        EXPECT_LT(box.min.x, 400.0f);
        EXPECT_GT(box.max.x, 400.0f);
        EXPECT_LT(box.min.y, 300.0f);
        EXPECT_GT(box.max.y, 300.0f);
    }
    // The nearer chaser looks bigger.
    EXPECT_GT(ahead->_screenBox.max.x - ahead->_screenBox.min.x,
              acrossTheSeam->_screenBox.max.x - acrossTheSeam->_screenBox.min.x);
}

TEST_F(PlayFrameGL, TheBannerTakesTheNextTextOnlyOnceTheLastHasFaded) {
    struct Case {
        int state;
        float alpha;
        const char* shown;
        std::size_t waiting;
    };
    const Case cases[] = {
        {Game::STATE_PLAY, 1.0f, "STAGE 1", 2},
        {Game::STATE_PLAY, 0.0f, "STAGE 2", 1},
        {Game::STATE_INGAME_MENU, 0.0f, "STAGE 1", 2},
        {Game::STATE_GAME_OVER, 1.0f, "STAGE 2", 1},
    };
    for (const Case& c : cases) {
        testgame::TestGame& g = game();
        g._playerActive = false;
        g._state = c.state;
        g._overlayText = std::make_unique<Stelkor::TextSprite>();
        g._overlayText->text = "STAGE 1";
        g._overlayText->textColor.a = c.alpha;
        g._overlayTextQueue.push("STAGE 2");
        g._overlayTextQueue.push("3-COMBO");
        g.playFrame(FRAME);
        EXPECT_EQ(g._overlayText->text, c.shown) << c.state << " " << c.alpha;
        EXPECT_EQ(g._overlayTextQueue.size(), c.waiting);
        destroyGame();
    }
}

TEST_F(PlayFrameGL, TheViewLooksAlongTheCraftAndTurnsWithTheMouselook) {
    testgame::TestGame& g = game();
    g._playerActive = false;
    g._player.position(START);
    const unsigned char red = g._octree.createColorTriplet(RGBA<float>(1, 0, 0, 1), RGBA<float>(1, 0, 0, 1),
                                                           RGBA<float>(1, 0, 0, 1));
    const unsigned char trail = g._octree.createTrailColors(red, red);
    const auto centreIsRed = [&g]() {
        g.playFrame(0.0);
        const std::vector<unsigned char> screen = testsupport::readScreen();
        // Just above the cross-hair at the view's centre.
        const std::size_t at = (static_cast<std::size_t>(306) * 800 + 400) * 4;
        return screen[at] == 255 && screen[at + 1] == 0 && screen[at + 2] == 0;
    };
    EXPECT_FALSE(centreIsRed());

    fill(g._octree, Vector3<int>(2, 2, -1), trail);  // three cells ahead
    EXPECT_TRUE(centreIsRed());

    // Twenty degrees to the right of the heading, six cells ahead.
    fill(g._octree, Vector3<int>(4, 2, -4), trail);
    g._mouselookHeld = true;
    g._mouselookYaw = 40.0f;
    EXPECT_TRUE(centreIsRed());
    g._mouselookYaw = -40.0f;
    EXPECT_FALSE(centreIsRed());
}

}  // namespace
