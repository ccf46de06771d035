#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "actors/trick.h"
#include "actors/tricktrainer.h"
#include "actors/tricktraineradvicehud.h"
#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "tests/support/draw_recorder.h"
#include "world/octree.h"

using Vortel::MovementTrack;
using Vortel::Trick;
using Vortel::TrickTrainer;
using Vortel::TrickTrainerAdviceHud;

namespace {

constexpr unsigned int L = MovementTrack::MOVE_LEFT;
constexpr unsigned int R = MovementTrack::MOVE_RIGHT;
constexpr unsigned int U = MovementTrack::MOVE_UP;
constexpr unsigned int D = MovementTrack::MOVE_DOWN;
constexpr unsigned int S = MovementTrack::MOVE_STRAIGHT;
constexpr unsigned int ANY = MovementTrack::MOVE_ANY;

// Moves in flying order; every surround is accepted.
Trick makeTrick(std::initializer_list<unsigned int> moves) {
    Trick trick;
    for (const unsigned int move : moves) {
        trick.step(move, MovementTrack::SURROUND_ANY);
    }
    return trick;
}

char colourLetter(const RGBA<float>& c) {
    if (c.r == 1 && c.g == 1 && c.b == 1) return 'W';
    if (c.r == 1 && c.g == 1 && c.b == 0) return 'Y';
    if (c.r == 0 && c.g == 1 && c.b == 0) return 'G';
    if (c.r == 1 && c.g == 0 && c.b == 0) return 'R';
    return '?';
}

// The display is drawn through a renderer that only notes each image, so the whole row is
// checked without a GL context.
class TrickTrainerAdviceHudTest : public ::testing::Test {
protected:
    TrickTrainerAdviceHudTest() {
        hud.arrowImage(arrow);
        hud.center(Vector2<float>(400, 300));
    }

    void begin(const Trick& trick) {
        hud.trick(trick);
        hud.beginTrick();
    }

    const std::vector<testsupport::DrawRecorder::Call>& frame(double dt) {
        hud.animate(dt);
        renderer.calls.clear();
        hud.draw();
        return renderer.calls;
    }

    // One letter per drawn arrow after a twentieth of a pulse: its colour, in lower case
    // while it pulses (drawn larger than at rest).
    std::string look() {
        std::string letters;
        for (const testsupport::DrawRecorder::Call& call : frame(0.05)) {
            const char letter = colourLetter(call.color);
            letters += call.scale.x > 1.01f ? static_cast<char>(letter - 'A' + 'a') : letter;
        }
        return letters;
    }

    testsupport::DrawRecorder renderer;
    Stelkor::Bitmap bitmap{Vector2<unsigned int>(64, 64), renderer, RGBA<float>(1, 1, 1, 1)};
    Stelkor::Image arrow{bitmap, Quib::AABB2<int>(0, 0, 64, 64), Vector2<int>(32, 32), false};
    TrickTrainerAdviceHud hud;
};

TEST_F(TrickTrainerAdviceHudTest, ArrowsStandEightyApartAboutTheCentreAndPointTheTurnsWay) {
    begin(makeTrick({L, S, R, U, D}));
    const std::vector<testsupport::DrawRecorder::Call> calls = frame(0);
    // The straight step keeps its place at x 280 but draws nothing.
    const float xs[] = {200, 360, 440, 520};
    const float rotations[] = {0.0f, 3.1415927f, -3.1415927f / 2, 3.1415927f / 2};
    ASSERT_EQ(4u, calls.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_FLOAT_EQ(xs[i], calls[i].pos.x) << i;
        EXPECT_FLOAT_EQ(300, calls[i].pos.y) << i;
        EXPECT_FLOAT_EQ(rotations[i], calls[i].rotation) << i;
        EXPECT_EQ(&arrow, calls[i].image);
    }

    begin(makeTrick({S, ANY, S | ANY}));
    EXPECT_TRUE(frame(0).empty());
}

TEST_F(TrickTrainerAdviceHudTest, CurrentArrowPulsesYellowBetweenPassedGreenAndComingWhite) {
    begin(makeTrick({L, R, U}));
    const char* const afterStep[] = {"WWW", "yWW", "GyW", "GGy", "GGG", "GGG"};
    for (int k = 0; k < 6; ++k) {
        if (k > 0) {
            hud.step();
        }
        EXPECT_EQ(afterStep[k], look()) << "after step " << k;
    }

    // Failing before any arrow is current blames the last; with the first current, none.
    begin(makeTrick({L, R, U}));
    hud.endTrick();
    EXPECT_EQ("WWR", look());
    begin(makeTrick({L, R, U}));
    hud.step();
    hud.endTrick();
    hud.step();  // an ended row ignores further steps
    EXPECT_EQ("WWW", look());

    // A row without arrows ends and fails without touching any.
    begin(Trick());
    hud.step();
    hud.endTrick();
    EXPECT_EQ("", look());
}

TEST_F(TrickTrainerAdviceHudTest, RowIsDrawnThroughTheRunAndOneSecondAfterItsEnd) {
    EXPECT_TRUE(frame(0).empty()) << "before any trick";
    hud.trick(makeTrick({L, R, U}));
    EXPECT_TRUE(frame(0).empty()) << "built but not begun";

    hud.beginTrick();
    EXPECT_EQ(3u, frame(5.0).size()) << "the time only runs down after the end";
    hud.step();
    hud.clear();
    EXPECT_TRUE(frame(0).empty()) << "hidden";
    hud.beginTrick();
    EXPECT_EQ(3u, frame(0).size());

    hud.endTrick();
    EXPECT_EQ(3u, frame(0.6).size());
    EXPECT_EQ(3u, frame(0.3).size());
    EXPECT_TRUE(frame(0.2).empty());
    EXPECT_TRUE(frame(0).empty());

    // A new run starts with a full second again.
    hud.beginTrick();
    hud.endTrickSuccess();
    EXPECT_EQ(3u, frame(0.9).size());
    EXPECT_TRUE(frame(0.2).empty());
}

// The play frame's call pattern: the display steps after every trainer step that did not
// fail and ends when one does, so the red arrow is the step the trainer judged wrong.
TEST_F(TrickTrainerAdviceHudTest, FollowsTheTrainerToTheStepItJudgedWrong) {
    struct Case {
        std::initializer_list<unsigned int> trick;
        std::initializer_list<unsigned int> flown;  // two lead-in steps, then the trick's moves
        const char* look;
    };
    const Case cases[] = {
        {{L, R, U, D}, {S, S, L, R, U, D}, "GGGG"},
        {{L, R, U, D}, {S, S, L, L}, "GRWW"},
        {{L, R, U, D}, {S, S, L, R, U, L}, "GGGR"},
        {{L, R}, {S, S, L, R, S}, "GG"},  // the trainer adds a wildcard step; the display does not
        {{L, R}, {S, S, R}, "RW"},
        {{L, R}, {S, S, L, L}, "GR"},
    };
    Vortel::OcTree field(5);
    for (const Case& c : cases) {
        const Trick trick = makeTrick(c.trick);
        TrickTrainer trainer(field);
        trainer.trick(trick);
        trainer.beginTrick();
        begin(trick);
        for (const unsigned int move : c.flown) {
            trainer.step(move, 0);
            if (trainer.advice() == TrickTrainer::ADVICE_FAILED) {
                hud.endTrick();
            } else {
                hud.step();
            }
        }
        EXPECT_FALSE(trainer.doingTrick()) << c.look;
        EXPECT_EQ(c.look, look());
    }
}

}  // namespace
