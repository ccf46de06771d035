#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <map>
#include <vector>

#include "actors/bot.h"
#include "platform/crand.h"
#include "platform/game_openglextensions.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/helpers.h"
#include "tests/world/objfiles.h"
#include "world/meshchrome.h"
#include "world/octree.h"

using Vortel::Bot;
using Vortel::OcTree;
using Vortel::Player;

namespace {

using testsupport::expectNear;

using Cell = Vector3<int>;

constexpr int R_MAX = crand::CRAND_MAX;
constexpr unsigned int SEED = 12345;

// The next n values the runtime sequence gives after seeding with s; leaves it seeded so.
std::vector<int> upcoming(unsigned int s, int n) {
    crand::srand(s);
    std::vector<int> values;
    for (int i = 0; i < n; ++i) {
        values.push_back(crand::rand());
    }
    crand::srand(s);
    return values;
}

void expectCell(const Cell& expected, const Cell& actual) {
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
    EXPECT_EQ(expected.z, actual.z);
}

Vector3<float> toFloat(const Cell& c) {
    return Vector3<float>(static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.z));
}

// Forward and up pairs: every axis direction with each of its four perpendicular ups.
std::vector<std::pair<Cell, Cell>> orientations() {
    const Cell axes[6] = {Cell(1, 0, 0), Cell(-1, 0, 0), Cell(0, 1, 0), Cell(0, -1, 0), Cell(0, 0, 1), Cell(0, 0, -1)};
    std::vector<std::pair<Cell, Cell>> pairs;
    for (const Cell& f : axes) {
        for (const Cell& u : axes) {
            if (f.x * u.x + f.y * u.y + f.z * u.z == 0) {
                pairs.emplace_back(f, u);
            }
        }
    }
    return pairs;
}

class BotTest : public ::testing::Test {
protected:
    BotTest() : field(5), bot("bot", Cell(16, 16, 16), Cell(0, 0, 1), Cell(0, 1, 0), 1.0f, field) {}

    void solid(const Cell& c) { field.setTerminalNode(c, OcTree::CELL_SOLID_2, 0); }

    OcTree field;
    Bot bot;
};

}  // namespace

TEST(BotRandom, DrawsOverEveryRandomValueStayInRangeAndSpreadEvenly) {
    std::map<int, int> directions;
    std::map<int, int> runs;
    for (int r = 0; r <= R_MAX; ++r) {
        ++directions[Bot::directionOf(r)];
        const int run = Bot::runLengthOf(r, 10, 20);
        ++runs[run];
        EXPECT_EQ(run == 20, r == 0) << r;
        EXPECT_EQ(7, Bot::runLengthOf(r, 7, 7)) << r;
        const double chance = Bot::chanceOf(r);
        ASSERT_TRUE(chance >= 0.0 && chance < 1.0) << r;
        const int coordinate = Bot::coordinateOf(r, 32);
        ASSERT_TRUE(coordinate >= 0 && coordinate <= 32) << r;
        EXPECT_EQ(coordinate == 32, r == R_MAX) << r;
    }
    // A quarter of the values each, split at 8192, 16384 and 24576.
    ASSERT_EQ(4u, directions.size());
    for (int d = Player::DIR_LEFT; d <= Player::DIR_DOWN; ++d) {
        EXPECT_EQ(8192, directions[d]) << d;
    }
    EXPECT_EQ(Player::DIR_RIGHT, Bot::directionOf(8192));
    EXPECT_EQ(Player::DIR_LEFT, Bot::directionOf(8191));
    EXPECT_EQ(Player::DIR_DOWN, Bot::directionOf(R_MAX));
    // Runs of 10 .. 19 about equally likely, 20 for r = 0 only, 10 reached at the top.
    ASSERT_EQ(11u, runs.size());
    EXPECT_EQ(10, runs.begin()->first);
    EXPECT_EQ(1, runs[20]);
    for (int length = 10; length < 20; ++length) {
        EXPECT_NEAR(3276.7, runs[length], 2.0) << length;
    }
    EXPECT_EQ(10, Bot::runLengthOf(R_MAX, 10, 20));
}

TEST_F(BotTest, ThinkDrawsOnceForAvoidanceThenADirectionPerObstacleAndTakesTheFirst) {
    // Cells three and two ahead are taken: the probe three ahead asks first, so its direction
    // is taken; the probe two ahead still draws one, which the pending turn ignores.
    solid(Cell(16, 16, 19));
    solid(Cell(16, 16, 18));
    const std::vector<int> r = upcoming(SEED, 5);
    bot.think(0.0);
    EXPECT_EQ(Bot::directionOf(r[1]), bot._requestedDirection);
    EXPECT_EQ(Bot::runLengthOf(r[2], 7, 7), bot._straightMovesLeft);
    EXPECT_EQ(r[4], crand::rand()) << "think drew a value too many or too few";
    EXPECT_FALSE(bot._turning) << "a turn starts only at the next boundary";
}

TEST_F(BotTest, ThinkTurnsAwayByChanceOnlyAndAnyFilledCellCountsAsAnObstacle) {
    struct Case {
        int kind;
        float avoidCrash;
        bool turns;
    };
    const Case cases[] = {
        {OcTree::CELL_SOLID_1, 1.0f, true},
        {OcTree::CELL_SOLID_1, 0.0f, false},
        {OcTree::SET_COLLECTABLE, 1.0f, true},
        {OcTree::CELL_EMPTY, 1.0f, false},
    };
    for (const Case& c : cases) {
        OcTree playfield(5);
        if (c.kind != OcTree::CELL_EMPTY) {
            playfield.setTerminalNode(Cell(16, 16, 17), c.kind, 0);
        }
        Bot chaser("bot", Cell(16, 16, 16), Cell(0, 0, 1), Cell(0, 1, 0), 1.0f, playfield);
        chaser.avoidCrash(c.avoidCrash);
        const std::vector<int> r = upcoming(SEED, 2);
        chaser.think(0.0);
        EXPECT_EQ(c.turns, chaser._requestedDirection != Player::DIR_NONE) << c.kind << " " << c.avoidCrash;
        if (!c.turns) {
            EXPECT_EQ(r[1], crand::rand()) << "only the avoidance chance may be drawn";
        }
    }
}

TEST_F(BotTest, ARequestWhilePendingOrRunningChangesNothingAndDrawsNothing) {
    bot.turn(Player::DIR_UP);
    const Cell axis = bot._turnAxisWorld;
    for (int stage = 0; stage < 2; ++stage) {
        const int run = bot._straightMovesLeft;
        const std::vector<int> r = upcoming(SEED, 1);
        bot.turn(Player::DIR_LEFT);
        EXPECT_EQ(Player::DIR_UP, bot._requestedDirection);
        expectCell(axis, bot._turnAxisWorld);
        EXPECT_EQ(run, bot._straightMovesLeft);
        EXPECT_EQ(r[0], crand::rand());
        if (stage == 0) {
            bot.update(1.0);  // the boundary starts the turn: now it is running
            ASSERT_TRUE(bot._turning);
        }
    }
}

TEST_F(BotTest, ADirectionOutsideTheFourTurnsIsIgnored) {
    for (const int d : {0, 5, -1}) {
        const std::vector<int> r = upcoming(SEED, 1);
        bot.turn(static_cast<Player::direction>(d));
        EXPECT_EQ(Player::DIR_NONE, bot._requestedDirection) << d;
        EXPECT_EQ(r[0], crand::rand()) << d;
        bot.update(1.0);
        bot.update(1.0);
        expectCell(Cell(0, 0, 1), bot._forward);
        expectCell(Cell(0, 1, 0), bot._up);
    }
}

TEST_F(BotTest, StraightMovesAsksForATurnAtOnceWithARunBetweenTheNewBounds) {
    const std::vector<int> r = upcoming(SEED, 3);
    bot.straightMoves(10, 20);
    EXPECT_EQ(Bot::directionOf(r[1]), bot._requestedDirection) << "after the avoidance chance";
    EXPECT_EQ(Bot::runLengthOf(r[2], 10, 20), bot._straightMovesLeft);
    EXPECT_GE(bot._straightMovesLeft, 10);
    EXPECT_LE(bot._straightMovesLeft, 20);
}

// From each of the 24 orientations, each of the four turns: the chaser leaves its cell on a
// quarter circle that starts at the cell and ends at the next cell along the new heading,
// without jumps, and flies on along that heading.
TEST(BotArc, EveryTurnFromEveryOrientationRunsFromTheCellToTheNextCell) {
    OcTree field(5);
    const Cell start(16, 16, 16);
    const std::vector<std::pair<Cell, Cell>> frames = orientations();
    ASSERT_EQ(24u, frames.size());
    for (const auto& frame : frames) {
        for (int d = Player::DIR_LEFT; d <= Player::DIR_DOWN; ++d) {
            SCOPED_TRACE(::testing::Message() << "forward " << frame.first.x << frame.first.y << frame.first.z
                                              << " up " << frame.second.x << frame.second.y << frame.second.z
                                              << " turn " << d);
            Bot bot("bot", start, frame.first, frame.second, 1.0f, field);
            Cell expectedForward = frame.first;
            Cell expectedUp = frame.second;
            Vortel::grid::turnHeading(1u << (d - 1), expectedForward, expectedUp);

            bot.turn(static_cast<Player::direction>(d));
            bot.update(1.0);  // to the boundary: the turn starts at progress 0
            ASSERT_TRUE(bot._turning);
            const Cell cell = bot._cell;
            expectCell(expectedForward, bot._nextForward);
            expectNear(toFloat(cell), bot._pos, 1e-6f);

            Vector3<float> last = bot._pos;
            for (int step = 1; step < 20; ++step) {
                bot.update(0.05);
                const float dx = bot._pos.x - last.x;
                const float dy = bot._pos.y - last.y;
                const float dz = bot._pos.z - last.z;
                EXPECT_LT(std::sqrt(dx * dx + dy * dy + dz * dz), 0.08f) << "step " << step;
                EXPECT_NEAR(bot._progress * 90.0f, bot.turnAngle(), 1e-3f);
                last = bot._pos;
            }
            bot.update(0.0499);  // just short of the boundary
            const Cell next(cell.x + expectedForward.x, cell.y + expectedForward.y, cell.z + expectedForward.z);
            expectNear(toFloat(next), bot._pos, 1e-3f);
            bot.update(0.0001f);  // over it: the turn is done, heading and up as the player turns
            EXPECT_FALSE(bot._turning);
            EXPECT_EQ(Player::DIR_NONE, bot._requestedDirection);
            expectCell(next, bot._cell);
            expectCell(expectedForward, bot._forward);
            expectCell(expectedUp, bot._up);
            expectNear(toFloat(next), bot._pos, 1e-3f);
        }
    }
}

TEST_F(BotTest, ALongStepMovesManyCellsCountsOneAndWrapsPastTheEdgeByFloorModulo) {
    struct Case {
        Cell cell;
        Cell forward;
        double dt;
        Cell expected;
    };
    const Case cases[] = {
        {Cell(30, 5, 5), Cell(1, 0, 0), 5.5, Cell(3, 5, 5)},
        {Cell(5, 1, 5), Cell(0, -1, 0), 4.25, Cell(5, 29, 5)},
        {Cell(5, 5, 31), Cell(0, 0, 1), 66.0, Cell(5, 5, 1)},
        {Cell(5, 5, 10), Cell(0, 0, 1), 0.5, Cell(5, 5, 10)},
    };
    for (const Case& c : cases) {
        Bot chaser("bot", c.cell, c.forward, Cell(c.forward.y == 0 ? 0 : 1, c.forward.y == 0 ? 1 : 0, 0), 1.0f,
                   field);
        const int run = chaser._straightMovesLeft;
        chaser.update(c.dt);
        expectCell(c.expected, chaser._cell);
        EXPECT_EQ(run - (c.dt >= 1.0 ? 1 : 0), chaser._straightMovesLeft);
        EXPECT_LT(chaser._progress, 1.0f);
    }
}

TEST_F(BotTest, ComesBackOnTheFirstUpdatePastTheDelayWithFullHitpointsAtARandomCell) {
    bot.hitpointsMax(25);
    bot._hitpoints = -3.0f;
    bot.timeStretch(2.0);
    bot.die(20.0);
    EXPECT_TRUE(bot.dead());
    bot.think(0.0);
    EXPECT_EQ(Player::DIR_NONE, bot._requestedDirection) << "a dead chaser does not think";

    // Dead time counts stretched: ten updates of one second make 20 s, not past the delay.
    for (int i = 0; i < 10; ++i) {
        bot.update(1.0);
        EXPECT_TRUE(bot.dead());
    }
    bot.update(0.25);
    EXPECT_TRUE(bot.dead());
    EXPECT_LT(bot.timeToRespawn(), 0.0);

    const std::vector<int> r = upcoming(SEED, 3);
    bot.update(0.0);
    EXPECT_FALSE(bot.dead());
    EXPECT_TRUE(bot.deadBefore());
    EXPECT_FLOAT_EQ(25.0f, bot._hitpoints);
    const Cell expected(Bot::coordinateOf(r[2], 32) % 32, Bot::coordinateOf(r[1], 32) % 32,
                        Bot::coordinateOf(r[0], 32) % 32);
    expectCell(expected, bot._cell);

    bot.update(0.0);
    EXPECT_FALSE(bot.deadBefore());
}

TEST_F(BotTest, HitRecoveryClimbsBackInUnstretchedTimeAndSurvivesAZeroRecoveryTime) {
    bot.timeStretch(3.0);
    bot.recoveryTime(2.0);
    bot.damage(4.0f);
    EXPECT_FLOAT_EQ(36.0f, bot._hitpoints);
    bot.update(0.0);
    EXPECT_FLOAT_EQ(0.0f, bot.recovery());
    bot.update(1.0);
    EXPECT_FLOAT_EQ(0.5f, bot.recovery());
    bot.update(5.0);
    EXPECT_FLOAT_EQ(1.0f, bot.recovery());

    bot.recoveryTime(0.0);
    bot.damage(1.0f);
    bot.update(0.0);
    EXPECT_FLOAT_EQ(1.0f, bot.recovery());
}

using BotGL = testsupport::GlFixture;

// Until the recovery is past 0.99 the chaser shows its hit colour untextured; then its base
// colour through its textures (white base, black reflection, so the colour shows as it is).
TEST_F(BotGL, DrawsInItsHitColourUntilRecoveredPastPointNineNine) {
    ASSERT_NO_THROW(glext::setupMultitexturing());
    const objfiles::TempFolder folder;
    Vortel::MeshChrome cube(folder.write("cube.obj", objfiles::UNIT_CUBE));
    const unsigned char white[4] = {255, 255, 255, 255};
    const unsigned char black[4] = {0, 0, 0, 255};
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    for (int i = 0; i < 2; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, i == 0 ? white : black);
    }
    cube._texId = static_cast<int>(textures[0]);
    cube.chromeTexId(static_cast<int>(textures[1]));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    OcTree field(5);
    Bot bot("bot", Cell(1, 1, 1), Cell(0, 0, 1), Cell(0, 1, 0), 1.0f, field);
    bot.hitColor(RGBA<float>(1.0f, 0.0f, 0.0f, 1.0f));
    bot.baseColor(RGBA<float>(0.0f, 0.0f, 1.0f, 1.0f));
    bot.draw();  // no mesh yet: nothing happens
    bot.mesh(&cube);

    struct Case {
        float recovery;
        unsigned char expected[3];
    };
    const Case cases[] = {{0.0f, {255, 0, 0}}, {0.99f, {255, 0, 0}}, {0.9901f, {0, 0, 255}}, {1.0f, {0, 0, 255}}};
    for (const Case& c : cases) {
        bot._recovery = c.recovery;
        glDisable(GL_FOG);
        glClear(GL_COLOR_BUFFER_BIT);
        bot.draw();
        glFinish();
        unsigned char pixel[4] = {};
        glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(static_cast<int>(c.expected[i]), static_cast<int>(pixel[i]))
                << "recovery " << c.recovery << " channel " << i;
        }
        GLfloat colour[4] = {};
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ(1.0f, colour[0]);
        EXPECT_EQ(1.0f, colour[2]);
    }
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
    glDeleteTextures(2, textures);
}
