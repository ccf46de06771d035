#include <gtest/gtest.h>

#include <iterator>

#include "actors/movementtrack.h"
#include "actors/trick.h"
#include "actors/tricklibrary.h"

using Vortel::MovementTrack;
using Vortel::Trick;
using Vortel::TrickLibrary;

namespace {

struct MoveSurround {
    unsigned int move;
    unsigned int surround;
};

// A pattern given first step first, each step as move/surround, the way tricks are written.
Trick pattern(std::initializer_list<MoveSurround> steps) {
    Trick trick;
    for (const MoveSurround& s : steps) {
        trick.step(s.move, s.surround);
    }
    return trick;
}

}  // namespace

TEST(MovementTrackTest, RecordsNewestFirstAndFlagsMovesIntoSolidSides) {
    MovementTrack track;
    track.step(MovementTrack::MOVE_STRAIGHT, 0);
    track.step(MovementTrack::MOVE_LEFT, MovementTrack::SURROUND_LEFT | MovementTrack::SURROUND_UP);
    track.step(MovementTrack::MOVE_STRAIGHT, MovementTrack::SURROUND_FRONT);
    track.step(MovementTrack::MOVE_RIGHT, MovementTrack::SURROUND_LEFT);

    ASSERT_EQ(track.steps().size(), 4u);
    auto s = track.steps().begin();
    EXPECT_EQ(s->move, 2u);
    EXPECT_EQ(s->surround, 1u);
    ++s;
    EXPECT_EQ(s->move, 16u);
    EXPECT_EQ(s->surround, 16u | 32u);
    ++s;
    EXPECT_EQ(s->move, 1u);
    EXPECT_EQ(s->surround, 1u | 4u | 32u);
    ++s;
    EXPECT_EQ(s->move, 16u);
    EXPECT_EQ(s->surround, 0u);
}

TEST(MovementTrackTest, KeepsTheNewestStepsWithinItsBound) {
    MovementTrack track;
    for (unsigned int i = 0; i < 21; ++i) {
        track.step(MovementTrack::MOVE_STRAIGHT, i % 16);
    }
    ASSERT_EQ(track.steps().size(), 20u);
    EXPECT_EQ(track.steps().front().surround, 20u % 16);
    EXPECT_EQ(track.steps().back().surround, 1u);

    track.maxSteps(5);
    ASSERT_EQ(track.steps().size(), 5u);
    EXPECT_EQ(track.steps().back().surround, 16u % 16);
}

TEST(MovementTrackTest, ABoundOfZeroHoldsOneStep) {
    MovementTrack track;
    track.maxSteps(0);
    EXPECT_EQ(track.maxSteps(), 1u);
    track.step(MovementTrack::MOVE_LEFT, 0);
    track.step(MovementTrack::MOVE_RIGHT, 0);
    ASSERT_EQ(track.steps().size(), 1u);
    EXPECT_EQ(track.steps().front().move, 2u);
}

TEST(MovementTrackTest, ClearKeepsTheNewestTwoSteps) {
    MovementTrack track;
    track.step(MovementTrack::MOVE_UP, 0);
    track.clear();
    EXPECT_EQ(track.steps().size(), 1u);

    for (unsigned int i = 0; i < 20; ++i) {
        track.step(MovementTrack::MOVE_STRAIGHT, i % 16);
    }
    track.clear();
    ASSERT_EQ(track.steps().size(), 2u);
    EXPECT_EQ(track.steps().front().surround, 19u % 16);
    EXPECT_EQ(track.steps().back().surround, 18u % 16);
}

// A track takes another's steps whether it held more or fewer, and records on afterwards
// within its own bound.
TEST(MovementTrackTest, AssignedTracksHoldTheOthersSteps) {
    const Trick longer = pattern({{1, 0}, {2, 4}, {4, 8}, {8, 16}, {16, 1}});
    const Trick shorter = pattern({{2, 1}, {16, 0}});
    MovementTrack track;
    track.step(MovementTrack::MOVE_UP, 0);
    for (const Trick* source : {&longer, &shorter, &longer}) {
        track = *source;
        ASSERT_EQ(track.steps().size(), source->steps().size());
        auto theirs = source->steps().begin();
        for (const MovementTrack::Step& s : track.steps()) {
            EXPECT_EQ(s.move, theirs->move);
            EXPECT_EQ(s.surround, theirs->surround);
            ++theirs;
        }
    }
    Trick copy = longer;
    copy = shorter;
    EXPECT_EQ(copy.steps().size(), 2u);
    for (unsigned int i = 0; i < 30; ++i) {
        track.step(MovementTrack::MOVE_STRAIGHT, 0);
    }
    EXPECT_EQ(track.steps().size(), 20u);
}

TEST(MovementTrackTest, MatchReportsRunningThenCompletedPatterns) {
    const Trick slick = pattern({{64, 64}, {1, 16}});
    MovementTrack track;
    EXPECT_EQ(track.match(slick), MovementTrack::MATCH_NONE);

    track.step(16, 0);
    EXPECT_EQ(track.match(slick), MovementTrack::MATCH_CURRENT);
    EXPECT_EQ(track.matchLength(), 1);
    track.step(1, 16);
    EXPECT_EQ(track.match(slick), MovementTrack::MATCH_CURRENT);
    EXPECT_EQ(track.matchLength(), 2);
    track.step(16, 0);
    EXPECT_EQ(track.match(slick), MovementTrack::MATCH_EARLIER);
    EXPECT_EQ(track.matchLength(), 2);

    MovementTrack single;
    single.step(16, 0);
    EXPECT_EQ(single.match(pattern({{16, 64}, {1, 16}, {1, 16}})), MovementTrack::MATCH_CURRENT);
    EXPECT_EQ(single.matchLength(), 1);

    MovementTrack wrongTurn;
    wrongTurn.step(16, 0);
    wrongTurn.step(2, 16);
    wrongTurn.step(16, 0);
    EXPECT_EQ(wrongTurn.match(pattern({{16, 16}, {1, 16}})), MovementTrack::MATCH_NONE);
}

TEST(MovementTrackTest, ACollisionStepBreaksEveryMatchThroughIt) {
    const Trick corner = pattern({{16, 1}, {1, 64}, {16, 64}});
    MovementTrack track;
    track.step(16, 1);
    track.step(1, 1);  // turned into the solid side: a crash
    track.step(16, 0);
    EXPECT_EQ(track.match(corner), MovementTrack::MATCH_NONE);

    // Nor does a crash on the pattern's last step count.
    MovementTrack crashAtEnd;
    crashAtEnd.step(16, 1);
    crashAtEnd.step(1, 0);
    crashAtEnd.step(16, 16);
    crashAtEnd.step(16, 0);
    EXPECT_EQ(crashAtEnd.match(corner), MovementTrack::MATCH_NONE);
}

TEST(MovementTrackTest, PatternFieldsMatchOnAnySharedBit) {
    MovementTrack track;
    track.step(4, 8 | 2);
    track.step(16, 0);
    EXPECT_EQ(track.match(pattern({{4 | 8, 2}})), MovementTrack::MATCH_EARLIER);
    EXPECT_EQ(track.match(pattern({{4, 1 | 16}})), MovementTrack::MATCH_NONE);
}

TEST(MovementTrackTest, LibraryMatchPrefersTheLongestThenTheEarliest) {
    Trick first = pattern({{16, 64}, {1, 16}});
    first.name("FIRST");
    Trick second = pattern({{64, 64}, {1, 16}});
    second.name("SECOND");
    Trick longer = pattern({{64, 64}, {1, 16}, {2, 64}});
    longer.name("LONGER");
    TrickLibrary library;
    library.addTrick(longer);
    library.addTrick(first);
    library.addTrick(second);

    MovementTrack track;
    track.step(16, 0);
    track.step(1, 16);
    Trick out;
    EXPECT_EQ(track.match(library, out), MovementTrack::MATCH_CURRENT);
    EXPECT_EQ(out.name(), "FIRST");

    // The longer running match outbids the two completed ones.
    track.step(2, 0);
    EXPECT_EQ(track.match(library, out), MovementTrack::MATCH_CURRENT);
    EXPECT_EQ(out.name(), "LONGER");
    EXPECT_EQ(out.steps().size(), 3u);

    track.step(16, 0);
    EXPECT_EQ(track.match(library, out), MovementTrack::MATCH_EARLIER);
    EXPECT_EQ(out.name(), "LONGER");
}

TEST(MovementTrackTest, LibraryMatchLeavesOutAloneWhenNothingMatches) {
    TrickLibrary library;
    library.addTrick(pattern({{1, 16}}));
    MovementTrack track;
    track.step(2, 0);
    Trick out;
    out.name("UNTOUCHED");
    EXPECT_EQ(track.match(library, out), MovementTrack::MATCH_NONE);
    EXPECT_EQ(out.name(), "UNTOUCHED");
}

TEST(MovementTrackTest, StrDumpsStepsNewestFirst) {
    MovementTrack track;
    track.step(16, 16);
    EXPECT_EQ(track.str(), "-- FRONT F X\n");

    track.step(1, 16 | 2 | 4 | 8);
    track.step(8, 0);
    EXPECT_EQ(track.str(), "-- DOWN  \n-- LEFT FRUD \n-- FRONT F X\n");
}
