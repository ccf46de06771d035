#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "actors/builtintricks.h"
#include "actors/movementtrack.h"
#include "actors/player.h"
#include "actors/trick.h"
#include "actors/tricklibrary.h"
#include "actors/tricktrainer.h"
#include "world/octree.h"

using Vortel::MovementTrack;
using Vortel::OcTree;
using Vortel::Player;
using Vortel::Trick;
using Vortel::TrickLibrary;
using Vortel::TrickTrainer;

namespace {

using Cell = Vector3<int>;
using MoveSurround = std::pair<unsigned int, unsigned int>;

constexpr unsigned int ANY = 64;
constexpr unsigned int STRAIGHT = MovementTrack::MOVE_STRAIGHT;
constexpr unsigned int LEFT = MovementTrack::MOVE_LEFT;
constexpr unsigned int RIGHT = MovementTrack::MOVE_RIGHT;
constexpr unsigned int FRONT = MovementTrack::SURROUND_FRONT;

// Steps in flying order, first step first.
Trick makeTrick(std::initializer_list<MoveSurround> steps) {
    Trick trick;
    for (const MoveSurround& s : steps) {
        trick.step(s.first, s.second);
    }
    return trick;
}

// Gives the steps one after another and collects the advice after each.
std::vector<int> adviceFor(TrickTrainer& trainer, std::initializer_list<MoveSurround> given) {
    std::vector<int> advice;
    for (const MoveSurround& s : given) {
        trainer.step(s.first, s.second);
        advice.push_back(trainer.advice());
    }
    return advice;
}

class TrickTrainerSteps : public ::testing::Test {
protected:
    TrickTrainerSteps() : field(5), trainer(field) {}

    void begin(const Trick& trick) {
        trainer.trick(trick);
        trainer.beginTrick();
    }

    OcTree field;
    TrickTrainer trainer;
};

TEST_F(TrickTrainerSteps, IdleTrainerReportsFailureAndIgnoresSteps) {
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());
    EXPECT_FALSE(trainer.doingTrick());
    trainer.step(LEFT, 0);
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());
    // A loaded trick is followed only once begun.
    trainer.trick(makeTrick({{STRAIGHT, ANY}, {LEFT, FRONT}, {RIGHT, ANY}}));
    trainer.step(STRAIGHT, 0);
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());
    EXPECT_FALSE(trainer.doingTrick());
}

TEST_F(TrickTrainerSteps, ThreeStepTrickAdvisesEachMoveThenChecksTwoStepsBehind) {
    begin(makeTrick({{STRAIGHT, ANY}, {LEFT, FRONT}, {RIGHT, ANY}}));
    EXPECT_TRUE(trainer.doingTrick());
    // The first two steps given precede the trick and are not judged.
    const std::vector<int> advice =
        adviceFor(trainer, {{RIGHT, 0}, {MovementTrack::MOVE_UP, 0}, {STRAIGHT, 0}, {LEFT, FRONT}, {RIGHT, 0}});
    const std::vector<int> expected = {TrickTrainer::ADVICE_STRAIGHT, TrickTrainer::ADVICE_LEFT,
                                       TrickTrainer::ADVICE_RIGHT, TrickTrainer::ADVICE_NONE,
                                       TrickTrainer::ADVICE_SUCCESS};
    EXPECT_EQ(expected, advice);
    EXPECT_FALSE(trainer.doingTrick());
}

TEST_F(TrickTrainerSteps, TwoStepTrickIsTrainedWithATrailingWildcard) {
    begin(makeTrick({{ANY, ANY}, {LEFT, FRONT}}));
    const std::vector<int> advice =
        adviceFor(trainer, {{STRAIGHT, 0}, {STRAIGHT, 0}, {STRAIGHT, 0}, {LEFT, FRONT}, {RIGHT, 2}});
    const std::vector<int> expected = {TrickTrainer::ADVICE_STRAIGHT, TrickTrainer::ADVICE_LEFT,
                                       TrickTrainer::ADVICE_STRAIGHT, TrickTrainer::ADVICE_NONE,
                                       TrickTrainer::ADVICE_SUCCESS};
    EXPECT_EQ(expected, advice);
}

TEST_F(TrickTrainerSteps, TooShortTrickNeverSucceedsUnchecked) {
    begin(makeTrick({{LEFT, FRONT}}));
    const std::vector<int> advice = adviceFor(trainer, {{STRAIGHT, 0}, {STRAIGHT, 0}});
    EXPECT_EQ(TrickTrainer::ADVICE_STRAIGHT, advice.back());
    EXPECT_TRUE(trainer.doingTrick());
    trainer.step(STRAIGHT, FRONT);  // judged against the trick's left turn
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());
}

TEST_F(TrickTrainerSteps, WrongMoveFailsOnlyFromTheThirdStepGiven) {
    const Trick trick = makeTrick({{LEFT, ANY}, {LEFT, ANY}, {LEFT, ANY}});
    begin(trick);
    adviceFor(trainer, {{RIGHT, 0}, {RIGHT, 0}});
    EXPECT_TRUE(trainer.doingTrick());
    trainer.step(RIGHT, 0);
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());
    EXPECT_FALSE(trainer.doingTrick());
    trainer.step(LEFT, 0);
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());

    // Beginning again restarts the same trick from its first step.
    trainer.beginTrick();
    const std::vector<int> advice = adviceFor(trainer, {{RIGHT, 0}, {RIGHT, 0}, {LEFT, 0}, {LEFT, 0}, {LEFT, 0}});
    EXPECT_EQ(TrickTrainer::ADVICE_SUCCESS, advice.back());
}

TEST_F(TrickTrainerSteps, MoveMustBeExactWhileSurroundNeedsOneSharedBit) {
    begin(makeTrick({{RIGHT, 5}, {ANY, ANY}, {ANY, ANY}}));
    adviceFor(trainer, {{0, 0}, {0, 0}});
    trainer.step(RIGHT | LEFT, 4);
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());

    begin(makeTrick({{RIGHT, 5}, {ANY, ANY}, {ANY, ANY}}));
    adviceFor(trainer, {{0, 0}, {0, 0}});
    trainer.step(RIGHT, 4);
    EXPECT_TRUE(trainer.doingTrick());

    begin(makeTrick({{RIGHT, 5}, {ANY, ANY}, {ANY, ANY}}));
    adviceFor(trainer, {{0, 0}, {0, 0}});
    trainer.step(RIGHT, 2);
    EXPECT_EQ(TrickTrainer::ADVICE_FAILED, trainer.advice());
}

// SLICK LEFT flown from (16, 16, 9) heading +z with +y up: the turn comes in (16, 16, 11).
class TrickTrainerReplay : public ::testing::Test {
protected:
    TrickTrainerReplay()
        : field(5),
          trainer(field),
          craft("player", Cell(16, 16, 9), Cell(0, 0, 1), Cell(0, 1, 0), 5.0f, field),
          slickLeft(makeTrick({{ANY, ANY}, {LEFT, FRONT}})) {}

    void solid(const Cell& c) { field.setTerminalNode(c, OcTree::CELL_SOLID_1, 0); }

    OcTree field;
    TrickTrainer trainer;
    Player craft;
    Trick slickLeft;
};

TEST_F(TrickTrainerReplay, TrickIsPossibleOnlyWhereItsObstaclesStand) {
    EXPECT_FALSE(trainer.trickPossible(craft, slickLeft));
    solid(Cell(16, 16, 12));
    EXPECT_TRUE(trainer.trickPossible(craft, slickLeft));
    // One cell too early or too late the obstacle is not where the turn is.
    craft.position(Cell(16, 16, 8));
    EXPECT_FALSE(trainer.trickPossible(craft, slickLeft));
    craft.position(Cell(16, 16, 10));
    EXPECT_FALSE(trainer.trickPossible(craft, slickLeft));
    // Nothing of the craft or the trick is changed by asking.
    EXPECT_EQ(2u, slickLeft.steps().size());
    EXPECT_TRUE(craft.movementTrack().steps().empty());
}

TEST_F(TrickTrainerReplay, TrickIsImpossibleWhenAMoveRunsIntoASolidSide) {
    solid(Cell(16, 16, 12));
    solid(Cell(17, 16, 11));  // left of the turning cell
    EXPECT_FALSE(trainer.trickPossible(craft, slickLeft));
}

TEST_F(TrickTrainerReplay, RegeneratedTrackFollowsItsMovesAcrossTheWrap) {
    solid(Cell(16, 17, 0));   // above the first cell past the upper z face
    solid(Cell(15, 16, 1));   // right of the cell after it, where the track turns left
    Trick track = makeTrick({{STRAIGHT, 0}, {STRAIGHT, 0}, {LEFT, 0}, {STRAIGHT, 0}});
    trainer.regenerateMovementTrackForDifferentPosition(track, Cell(16, 16, 30), Cell(0, 0, 1), Cell(0, 1, 0));
    // Cells 31, 0, 1, then left to (17, 16, 1); newest first.
    std::vector<unsigned int> surrounds;
    for (auto s = track.steps().rbegin(); s != track.steps().rend(); ++s) {
        surrounds.push_back(s->surround);
    }
    const std::vector<unsigned int> expected = {0, MovementTrack::SURROUND_UP, MovementTrack::SURROUND_RIGHT, 0};
    EXPECT_EQ(expected, surrounds);  // a trick's own steps are all replaced

    solid(Cell(16, 17, 31));
    Trick backwards = makeTrick({{STRAIGHT, 0}, {STRAIGHT, 0}});
    trainer.regenerateMovementTrackForDifferentPosition(backwards, Cell(16, 16, 1), Cell(0, 0, -1), Cell(0, 1, 0));
    EXPECT_EQ(static_cast<unsigned int>(MovementTrack::SURROUND_UP), backwards.steps().front().surround);
}

// The trainer screen's set-up and the play frame's use of the trainer, for one trick.
struct TrainingRun {
    bool succeeded = false;
    int stepsGiven = 0;
    int failedAtStep = 0;
    bool matched = false;
    Trick firstEarlier;
};

Player::direction opposite(Player::direction d) {
    switch (d) {
        case Player::DIR_LEFT: return Player::DIR_RIGHT;
        case Player::DIR_RIGHT: return Player::DIR_LEFT;
        case Player::DIR_UP: return Player::DIR_DOWN;
        default: return Player::DIR_UP;
    }
}

// Flies the trick as advised, except the turn advised at step wrongAt, taken the other way.
TrainingRun fly(const TrickLibrary& library, const Trick& trick, int wrongAt = 0) {
    OcTree field(5);
    for (const Cell& o : trick.obstacles()) {
        field.setTerminalNode(Cell(16 + o.x, 16 - o.y, 10 + o.z), OcTree::CELL_SOLID_1, 0);
    }
    Player craft("player", Cell(16, 16, 0), Cell(0, 0, 1), Cell(0, 1, 0), 5.0f, field);
    TrickTrainer trainer(field);
    TrainingRun run;
    bool begun = false;
    for (int frame = 0; frame < 60 * 30; ++frame) {
        craft.update(1.0 / 60.0);
        if (craft._cell == craft._updateStartCell) {
            continue;
        }
        if (!begun && trainer.trickPossible(craft, trick)) {
            trainer.trick(trick);
            trainer.beginTrick();
            begun = true;
        }
        if (trainer.doingTrick()) {
            trainer.step(craft.movementTrack().steps().front());
            ++run.stepsGiven;
            const int advice = trainer.advice();
            if (advice <= TrickTrainer::ADVICE_DOWN) {
                const auto turn = static_cast<Player::direction>(advice + 1);
                craft.turn(run.stepsGiven == wrongAt ? opposite(turn) : turn);
            }
            run.succeeded = advice == TrickTrainer::ADVICE_SUCCESS;
            if (advice == TrickTrainer::ADVICE_FAILED) {
                run.failedAtStep = run.stepsGiven;
            }
        }
        Trick found;
        if (craft.movementTrack().match(library, found) == MovementTrack::MATCH_EARLIER) {
            run.matched = true;
            run.firstEarlier = found;
            return run;
        }
    }
    return run;
}

TEST(TrickTrainerFlight, EveryBuiltInTrickWithObstaclesIsFlownToSuccessAndScoredAsItself) {
    TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    int flown = 0;
    for (const Trick& trick : library.tricks()) {
        if (trick.obstacles().empty()) {
            continue;
        }
        SCOPED_TRACE(trick.name() + " " + trick.subname() + " (" + trick.keySequence() + ")");
        const TrainingRun run = fly(library, trick);
        EXPECT_TRUE(run.succeeded);
        EXPECT_EQ(0, run.failedAtStep);
        ASSERT_TRUE(run.matched);
        EXPECT_EQ(trick.name(), run.firstEarlier.name());
        EXPECT_EQ(trick.subname(), run.firstEarlier.subname());
        EXPECT_EQ(trick.steps().size(), run.firstEarlier.steps().size());
        ++flown;
    }
    EXPECT_EQ(36, flown);
}

TEST(TrickTrainerFlight, TurningAgainstTheAdviceFailsWhenThatStepIsChecked) {
    TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    const Trick* doubleSlick = library.trickByName("DOUBLE SLICK", "LEFT");
    ASSERT_NE(nullptr, doubleSlick);
    // The second step given advises the trick's second step (a left turn); that step is
    // judged with the fourth step given.
    const TrainingRun run = fly(library, *doubleSlick, 2);
    EXPECT_FALSE(run.succeeded);
    EXPECT_EQ(4, run.failedAtStep);
    EXPECT_EQ(4, run.stepsGiven);
}

}  // namespace
