#include <gtest/gtest.h>

#include <vector>

#include "actors/movementtrack.h"
#include "actors/player.h"
#include "world/octree.h"

using Vortel::MovementTrack;
using Vortel::OcTree;
using Vortel::Player;

namespace {

using Cell = Vector3<int>;

constexpr double FRAME = 1.0 / 60.0;

class PlayerFlight : public ::testing::Test {
protected:
    PlayerFlight() : field(5), craft("player", Cell(16, 16, 16), Cell(0, 0, 1), Cell(0, 1, 0), 5.0f, field) {}

    // Flies frame by frame until the craft enters a new cell; returns the frames taken.
    int flyToNextCell() {
        for (int frame = 1; frame <= 1000; ++frame) {
            craft.update(FRAME);
            if (craft._cell != craft._updateStartCell) {
                return frame;
            }
        }
        ADD_FAILURE() << "the craft never left its cell";
        return 0;
    }

    void solid(const Cell& c) { field.setTerminalNode(c, OcTree::CELL_SOLID_1, 0); }

    OcTree field;
    Player craft;
};

void expectCell(const Cell& expected, const Cell& actual) {
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
    EXPECT_EQ(expected.z, actual.z);
}

TEST_F(PlayerFlight, FourQuickTurnsKeepTwoQueuedAndFallOnThreeSuccessiveBoundaries) {
    craft.turn(Player::DIR_LEFT);
    craft.turn(Player::DIR_RIGHT);
    craft.turn(Player::DIR_UP);
    craft.turn(Player::DIR_DOWN);  // beyond the queue: dropped
    EXPECT_EQ(Player::DIR_LEFT, craft.requestedDirection());
    ASSERT_EQ(2u, craft._turnQueue.size());
    EXPECT_EQ(Player::DIR_RIGHT, craft._turnQueue.front());
    EXPECT_EQ(Player::DIR_UP, craft._turnQueue.back());

    // The animation (three quarters of a cell) ends within each cell, so each queued turn
    // is requested in time for the very next boundary.
    const std::vector<unsigned int> moves = {MovementTrack::MOVE_LEFT, MovementTrack::MOVE_RIGHT,
                                             MovementTrack::MOVE_UP, MovementTrack::MOVE_STRAIGHT};
    for (unsigned int expected : moves) {
        flyToNextCell();
        EXPECT_EQ(expected, craft._move);
    }
    EXPECT_TRUE(craft._turnQueue.empty());
    EXPECT_EQ(Player::DIR_NONE, craft.requestedDirection());
    // Left from +z is +x, right again is +z, up then points along the old up.
    expectCell(Cell(0, 1, 0), craft._forward);
    expectCell(Cell(0, 0, -1), craft._up);
}

TEST_F(PlayerFlight, QueuedTurnWaitsForTheAnimationAndARequestAfterTheBoundaryStartsAtOnce) {
    craft.turn(Player::DIR_LEFT);
    craft.turn(Player::DIR_UP);
    craft._progress = 0.95f;  // the boundary comes before the quarter turn is drawn
    craft.update(FRAME);
    EXPECT_EQ(Player::DIR_NONE, craft.requestedDirection());
    EXPECT_TRUE(craft._turning);
    EXPECT_EQ(1u, craft._turnQueue.size());  // still waiting for the animation

    // A request in this applied state starts at once, ahead of the queue.
    craft.turn(Player::DIR_DOWN);
    EXPECT_EQ(Player::DIR_DOWN, craft.requestedDirection());
    EXPECT_FLOAT_EQ(0.0f, craft.turnAngleAbs());
    EXPECT_EQ(1u, craft._turnQueue.size());
}

TEST_F(PlayerFlight, TurnRequestedJustBeforeABoundaryIsDrawnFromBehindUntilTheAnimationEnds) {
    craft._progress = 0.95f;
    craft.turn(Player::DIR_RIGHT);
    EXPECT_FLOAT_EQ(0.0f, craft.turnAngle());
    craft.update(FRAME);  // 5 cells/s: the boundary comes in this frame, 10 degrees into the turn
    expectCell(Cell(-1, 0, 0), craft._forward);
    EXPECT_TRUE(craft._turning);
    EXPECT_NEAR(-80.0f, craft.turnAngle(), 1e-3f);
    float previous = craft.turnAngle();
    while (craft._turning) {
        craft.update(FRAME);
        if (craft._turning) {
            EXPECT_GT(craft.turnAngle(), previous);
            EXPECT_LT(craft.turnAngle(), 0.0f);
            previous = craft.turnAngle();
        }
    }
    EXPECT_FLOAT_EQ(0.0f, craft.turnAngle());
}

TEST_F(PlayerFlight, PendingTurnIsHeldAtAQuarterTurnUntilItsBoundary) {
    craft.turn(Player::DIR_UP);
    for (int frame = 0; frame < 10; ++frame) {
        craft.update(FRAME);
    }
    EXPECT_FLOAT_EQ(90.0f, craft.turnAngle());
    EXPECT_EQ(Player::DIR_UP, craft.requestedDirection());
    expectCell(Cell(0, 0, 1), craft._forward);
}

TEST_F(PlayerFlight, LongStepCrossesSeveralCellsAndRecordsOneStep) {
    craft._progress = 0.5f;
    craft.velocity(2.7f);
    craft.update(1.0);
    expectCell(Cell(16, 16, 19), craft._cell);
    expectCell(Cell(16, 16, 16), craft._previousCell);
    expectCell(Cell(16, 16, 16), craft._updateStartCell);
    EXPECT_NEAR(0.2f, craft._progress, 1e-5f);
    EXPECT_EQ(1u, craft.movementTrack().steps().size());
    EXPECT_NEAR(19.2f, craft._pos.z, 1e-5f);
}

TEST_F(PlayerFlight, StepOfTheCellLeftHoldsItsArrivalSurroundAndTheMoveMadeThere) {
    solid(Cell(16, 17, 17));  // above the next cell
    solid(Cell(16, 16, 19));  // ahead of the cell after it
    flyToNextCell();          // into (16, 16, 17)
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::SURROUND_UP), craft._surround);
    craft.turn(Player::DIR_LEFT);
    flyToNextCell();  // into (16, 16, 18), turning left on arrival
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::SURROUND_FRONT), craft._surround);
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::MOVE_LEFT), craft._move);
    const MovementTrack::Step cellBefore = craft.movementTrack().steps().front();
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::SURROUND_UP), cellBefore.surround);
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::MOVE_STRAIGHT), cellBefore.move);

    flyToNextCell();  // into (17, 16, 18)
    expectCell(Cell(17, 16, 18), craft._cell);
    const MovementTrack::Step slick = craft.movementTrack().steps().front();
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::SURROUND_FRONT), slick.surround);
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::MOVE_LEFT), slick.move);
}

TEST_F(PlayerFlight, TurningIntoASolidSideIsRecordedAsACollision) {
    solid(Cell(17, 16, 18));  // left of the cell after the next
    flyToNextCell();
    craft.turn(Player::DIR_LEFT);
    flyToNextCell();
    flyToNextCell();
    const MovementTrack::Step step = craft.movementTrack().steps().front();
    EXPECT_NE(0u, step.surround & MovementTrack::SURROUND_COLLISION);
}

struct TurnCase {
    Cell forward;
    Cell up;
    Player::direction turn;
    Cell newForward;
    Cell newUp;
    unsigned int move;
};

// Written out by hand (right-handed axes): facing +z with +y up, left is +x.
const std::vector<TurnCase>& turnCases() {
    static const std::vector<TurnCase> cases = {
        {{0, 0, 1}, {0, 1, 0}, Player::DIR_LEFT, {1, 0, 0}, {0, 1, 0}, 1},
        {{0, 0, 1}, {0, 1, 0}, Player::DIR_RIGHT, {-1, 0, 0}, {0, 1, 0}, 2},
        {{0, 0, 1}, {0, 1, 0}, Player::DIR_UP, {0, 1, 0}, {0, 0, -1}, 4},
        {{0, 0, 1}, {0, 1, 0}, Player::DIR_DOWN, {0, -1, 0}, {0, 0, 1}, 8},
        {{0, 0, -1}, {0, 1, 0}, Player::DIR_LEFT, {-1, 0, 0}, {0, 1, 0}, 1},
        {{0, 0, -1}, {0, 1, 0}, Player::DIR_RIGHT, {1, 0, 0}, {0, 1, 0}, 2},
        {{0, 0, -1}, {0, 1, 0}, Player::DIR_UP, {0, 1, 0}, {0, 0, 1}, 4},
        {{0, 0, -1}, {0, 1, 0}, Player::DIR_DOWN, {0, -1, 0}, {0, 0, -1}, 8},
        {{1, 0, 0}, {0, 1, 0}, Player::DIR_LEFT, {0, 0, -1}, {0, 1, 0}, 1},
        {{1, 0, 0}, {0, 1, 0}, Player::DIR_RIGHT, {0, 0, 1}, {0, 1, 0}, 2},
        {{1, 0, 0}, {0, 1, 0}, Player::DIR_UP, {0, 1, 0}, {-1, 0, 0}, 4},
        {{1, 0, 0}, {0, 1, 0}, Player::DIR_DOWN, {0, -1, 0}, {1, 0, 0}, 8},
        {{-1, 0, 0}, {0, 1, 0}, Player::DIR_LEFT, {0, 0, 1}, {0, 1, 0}, 1},
        {{-1, 0, 0}, {0, 1, 0}, Player::DIR_RIGHT, {0, 0, -1}, {0, 1, 0}, 2},
        {{-1, 0, 0}, {0, 1, 0}, Player::DIR_UP, {0, 1, 0}, {1, 0, 0}, 4},
        {{-1, 0, 0}, {0, 1, 0}, Player::DIR_DOWN, {0, -1, 0}, {-1, 0, 0}, 8},
        {{0, 1, 0}, {0, 0, 1}, Player::DIR_LEFT, {-1, 0, 0}, {0, 0, 1}, 1},
        {{0, 1, 0}, {0, 0, 1}, Player::DIR_RIGHT, {1, 0, 0}, {0, 0, 1}, 2},
        {{0, 1, 0}, {0, 0, 1}, Player::DIR_UP, {0, 0, 1}, {0, -1, 0}, 4},
        {{0, 1, 0}, {0, 0, 1}, Player::DIR_DOWN, {0, 0, -1}, {0, 1, 0}, 8},
        {{0, -1, 0}, {1, 0, 0}, Player::DIR_LEFT, {0, 0, -1}, {1, 0, 0}, 1},
        {{0, -1, 0}, {1, 0, 0}, Player::DIR_RIGHT, {0, 0, 1}, {1, 0, 0}, 2},
        {{0, -1, 0}, {1, 0, 0}, Player::DIR_UP, {1, 0, 0}, {0, 1, 0}, 4},
        {{0, -1, 0}, {1, 0, 0}, Player::DIR_DOWN, {-1, 0, 0}, {0, -1, 0}, 8},
    };
    return cases;
}

TEST(PlayerTurns, EachTurnFromEachHeadingGivesTheNewFrameAtTheBoundary) {
    OcTree field(5);
    for (const TurnCase& c : turnCases()) {
        SCOPED_TRACE(::testing::Message() << "forward " << c.forward.x << c.forward.y << c.forward.z << " turn "
                                          << c.turn);
        Player craft("player", Cell(8, 8, 8), c.forward, c.up, 5.0f, field);
        craft.turn(c.turn);
        // A quarter turn about the world axis carries the old heading onto the new one, and the
        // craft-frame axis (x to the right, y up) names that same axis.
        using Vortel::grid::cross;
        expectCell(c.newForward, cross(craft._turnAxisWorld, c.forward));
        const Cell right = cross(c.forward, c.up);
        expectCell(craft._turnAxisWorld, Cell(right.x * craft._turnAxis.x + c.up.x * craft._turnAxis.y,
                                              right.y * craft._turnAxis.x + c.up.y * craft._turnAxis.y,
                                              right.z * craft._turnAxis.x + c.up.z * craft._turnAxis.y));
        EXPECT_EQ(0, craft._turnAxis.z);
        craft.update(0.1);
        expectCell(c.forward, craft._forward);  // nothing turns before the boundary
        craft.update(0.15);
        expectCell(c.newForward, craft._forward);
        expectCell(c.newUp, craft._up);
        EXPECT_EQ(c.move, craft._move);
        // The craft enters the cell with its old heading and leaves it with the new one.
        expectCell(Cell(8 + c.forward.x, 8 + c.forward.y, 8 + c.forward.z), craft._cell);
    }
}

struct WrapCase {
    Cell start;
    Cell forward;
    Cell wrappedCell;
    Vector3<float> amount;
};

TEST(PlayerWrap, CrossingEitherEdgeOfEachAxisComesInAtTheOppositeFace) {
    OcTree field(5);
    const std::vector<WrapCase> cases = {
        {{31, 5, 6}, {1, 0, 0}, {0, 5, 6}, {-32.0f, 0.0f, 0.0f}},
        {{0, 5, 6}, {-1, 0, 0}, {31, 5, 6}, {32.0f, 0.0f, 0.0f}},
        {{5, 31, 6}, {0, 1, 0}, {5, 0, 6}, {0.0f, -32.0f, 0.0f}},
        {{5, 0, 6}, {0, -1, 0}, {5, 31, 6}, {0.0f, 32.0f, 0.0f}},
        {{5, 6, 31}, {0, 0, 1}, {5, 6, 0}, {0.0f, 0.0f, -32.0f}},
        {{5, 6, 0}, {0, 0, -1}, {5, 6, 31}, {0.0f, 0.0f, 32.0f}},
    };
    for (const WrapCase& c : cases) {
        const Cell up = c.forward.y != 0 ? Cell(1, 0, 0) : Cell(0, 1, 0);
        Player craft("player", c.start, c.forward, up, 5.0f, field);
        craft.update(0.25);
        expectCell(c.wrappedCell, craft._cell);
        EXPECT_TRUE(craft.wrapped());
        EXPECT_FLOAT_EQ(c.amount.x, craft.wrappedAmmount().x);
        EXPECT_FLOAT_EQ(c.amount.y, craft.wrappedAmmount().y);
        EXPECT_FLOAT_EQ(c.amount.z, craft.wrappedAmmount().z);
        // The unwrapped cell keeps counting past the edge.
        expectCell(Cell(c.start.x + c.forward.x, c.start.y + c.forward.y, c.start.z + c.forward.z),
                   craft._unwrappedCell);

        craft.update(0.05);
        EXPECT_FALSE(craft.wrapped());
        craft.update(0.2);  // the next boundary, well inside the playfield, clears the offset
        EXPECT_FALSE(craft.wrapped());
        EXPECT_FLOAT_EQ(0.0f, craft.wrappedAmmount().x + craft.wrappedAmmount().y + craft.wrappedAmmount().z);
    }
}

TEST(PlayerWrap, LongStepPastAnEdgeComesInAsFarPastTheOppositeFace) {
    OcTree field(5);
    Player ahead("player", Cell(31, 0, 0), Cell(1, 0, 0), Cell(0, 1, 0), 4.0f, field);
    ahead.update(1.0);
    expectCell(Cell(3, 0, 0), ahead._cell);
    EXPECT_FLOAT_EQ(-32.0f, ahead.wrappedAmmount().x);

    Player back("player", Cell(0, 0, 1), Cell(0, 0, -1), Cell(0, 1, 0), 3.0f, field);
    back.update(1.0);
    expectCell(Cell(0, 0, 30), back._cell);
    EXPECT_FLOAT_EQ(32.0f, back.wrappedAmmount().z);
}

TEST_F(PlayerFlight, BoostMultipliesSpeedButNeverTurnSpeed) {
    craft.velocityMult(3.0f);
    EXPECT_FLOAT_EQ(5.0f, craft._velocity);
    craft.boost(true);
    EXPECT_FLOAT_EQ(15.0f, craft._velocity);
    EXPECT_FLOAT_EQ(600.0f, craft._turnSpeed);
    craft.velocity(4.0f);  // a new base speed keeps the boost
    EXPECT_FLOAT_EQ(12.0f, craft._velocity);
    EXPECT_FLOAT_EQ(480.0f, craft._turnSpeed);
    craft.boost(false);
    EXPECT_FLOAT_EQ(4.0f, craft._velocity);
}

TEST_F(PlayerFlight, PositionPlacesTheCraftWithoutMovingIt) {
    craft._progress = 0.5f;
    craft.position(Cell(3, 4, 5));
    expectCell(Cell(3, 4, 5), craft._cell);
    expectCell(Cell(3, 4, 5), craft._unwrappedCell);
    EXPECT_FLOAT_EQ(0.5f, craft._progress);
    EXPECT_FLOAT_EQ(5.5f, craft._pos.z);
    EXPECT_FLOAT_EQ(5.5f, craft._unwrappedPos.z);
    EXPECT_TRUE(craft.movementTrack().steps().empty());
}

TEST_F(PlayerFlight, ResetRestoresShieldsAndBoostButKeepsCellHeadingAndNewestSteps) {
    for (int i = 0; i < 4; ++i) {
        flyToNextCell();
    }
    craft.turn(Player::DIR_LEFT);
    craft.turn(Player::DIR_RIGHT);
    craft.velocityMult(2.0f);
    craft.boost(true);
    craft.damage(45.0f);
    EXPECT_FLOAT_EQ(-5.0f, craft._hitpoints);
    const Cell cell = craft._cell;

    craft.reset();
    EXPECT_FLOAT_EQ(40.0f, craft._hitpoints);
    EXPECT_FALSE(craft._boost);
    EXPECT_EQ(2u, craft.movementTrack().steps().size());
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::MOVE_STRAIGHT), craft._move);
    EXPECT_EQ(0u, craft._surround);
    expectCell(cell, craft._cell);
    EXPECT_EQ(Player::DIR_LEFT, craft.requestedDirection());
    EXPECT_EQ(1u, craft._turnQueue.size());
}

}  // namespace
