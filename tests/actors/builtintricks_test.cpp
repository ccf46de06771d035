#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "actors/builtintricks.h"
#include "actors/movementtrack.h"
#include "actors/trick.h"
#include "actors/tricklibrary.h"

using Vortel::MovementTrack;
using Vortel::Trick;
using Vortel::TrickLibrary;

namespace {

using Cells = std::vector<Vector3<int> >;

struct ExpectedTrick {
    const char* name;
    const char* subname;
    int score;
    const char* rank;
    const char* keys;
    Cells obstacles;
};

const Cells AHEAD = {{0, 0, 2}};
const Cells ABOVE = {{0, -1, 0}};  // the trick frame's y points down
const Cells BELOW = {{0, 1, 0}};
const Cells LEFT_SIDE = {{1, 0, 0}};
const Cells RIGHT_SIDE = {{-1, 0, 0}};
const Cells TWO_AHEAD = {{0, 0, 2}, {0, 0, 4}};

// Library order: by step count, ties in the order of the game's table.
const std::vector<ExpectedTrick>& expectedLibrary() {
    static const std::vector<ExpectedTrick> rows = {
        {"SLICK", "LEFT", 50, "ROOKIE", "*L", AHEAD},
        {"SLICK", "RIGHT", 50, "ROOKIE", "*R", AHEAD},
        {"SLICK", "UP", 50, "ROOKIE", "*U", AHEAD},
        {"SLICK", "DOWN", 50, "ROOKIE", "*D", AHEAD},
        {"CORNER", "DOWN", 50, "ROOKIE", "*D", BELOW},
        {"CORNER", "LEFT", 50, "ROOKIE", "*L", LEFT_SIDE},
        {"CORNER", "RIGHT", 50, "ROOKIE", "*R", RIGHT_SIDE},
        {"CORNER", "UP", 50, "ROOKIE", "*U", ABOVE},
        {"DOUBLE SLICK", "LEFT", 150, "INTERMEDIATE", "*LL", {{0, 0, 2}, {2, 0, 1}}},
        {"DOUBLE SLICK", "RIGHT", 150, "INTERMEDIATE", "*RR", {{0, 0, 2}, {-2, 0, 1}}},
        {"DOUBLE SLICK", "UP", 150, "INTERMEDIATE", "*UU", {{0, 0, 2}, {0, -2, 1}}},
        {"DOUBLE SLICK", "DOWN", 150, "INTERMEDIATE", "*DD", {{0, 0, 2}, {0, 2, 1}}},
        {"U-TURN", "UP", 100, "INTERMEDIATE", "*U*U*", ABOVE},
        {"U-TURN", "DOWN", 100, "INTERMEDIATE", "*D*D*", BELOW},
        {"U-TURN", "LEFT", 100, "INTERMEDIATE", "*L*L*", LEFT_SIDE},
        {"U-TURN", "RIGHT", 100, "INTERMEDIATE", "*R*R*", RIGHT_SIDE},
        {"BRIDGE", "UP", 250, "ADVANCED", "*UD*DU", AHEAD},
        {"BRIDGE", "DOWN", 250, "ADVANCED", "*DU*UD", AHEAD},
        {"BRIDGE", "RIGHT", 250, "ADVANCED", "*RL*LR", AHEAD},
        {"BRIDGE", "LEFT", 250, "ADVANCED", "*LR*RL", AHEAD},
        {"ORBIT", "DOWN", 200, "ADVANCED", "*D*D*D*", BELOW},
        {"ORBIT", "UP", 200, "ADVANCED", "*U*U*U*", ABOVE},
        {"ORBIT", "LEFT", 200, "ADVANCED", "*L*L*L*", LEFT_SIDE},
        {"ORBIT", "RIGHT", 200, "ADVANCED", "*R*R*R*", RIGHT_SIDE},
        {"ORBIT", "DOWN", 200, "ADVANCED", "*D*D*D*U", BELOW},
        {"ORBIT", "UP", 200, "ADVANCED", "*U*U*U*D", ABOVE},
        {"ORBIT", "LEFT", 200, "ADVANCED", "*L*L*L*R", LEFT_SIDE},
        {"ORBIT", "RIGHT", 200, "ADVANCED", "*R*R*R*L", RIGHT_SIDE},
        {"SNAKE", "RIGHT", 350, "EXPERT", "*RL*L*R*RL", TWO_AHEAD},
        {"SNAKE", "LEFT", 350, "EXPERT", "*LR*R*L*LR", TWO_AHEAD},
        {"SNAKE", "UP", 350, "EXPERT", "*UD*D*U*UD", TWO_AHEAD},
        {"SNAKE", "DOWN", 350, "EXPERT", "*DU*U*D*DU", TWO_AHEAD},
        {"CRAZY GORVAN", "UP-RIGHT", 350, "EXPERT", "*UDUDRRDUDU", {{0, 0, 2}, {0, -1, 3}, {-1, -1, 3}, {-1, 0, 2}}},
        {"CRAZY GORVAN", "UP-LEFT", 350, "EXPERT", "*UDUDLLDUDU", {{0, 0, 2}, {0, -1, 3}, {1, -1, 3}, {1, 0, 2}}},
        {"CRAZY GORVAN", "DOWN-RIGHT", 350, "EXPERT", "*DUDURRUDUD", {{0, 0, 2}, {0, 1, 3}, {-1, 1, 3}, {-1, 0, 2}}},
        {"CRAZY GORVAN", "DOWN-LEFT", 350, "EXPERT", "*DUDULLUDUD", {{0, 0, 2}, {0, 1, 3}, {1, 1, 3}, {1, 0, 2}}},
        {"VORTEL", "UP", 300, "EXPERT", "**U*U*ULUU*", {}},
    };
    return rows;
}

TrickLibrary builtInLibrary() {
    TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    return library;
}

std::string label(const Trick& trick) {
    return trick.name() + " " + trick.subname() + " (" + std::to_string(trick.steps().size()) + " steps)";
}

struct CompletedMatch {
    std::string trick;        // label of the first completed match, "" if none came
    int straightCellsAfter;   // straight cells flown after the pattern until it came
};

// Flies a trick's own pattern after a few straight cells, wildcards made concrete
// (any move: straight on; any surround: nothing solid), then straight on until the
// library reports a completed match.
CompletedMatch firstCompletedMatch(const TrickLibrary& library, const Trick& trick) {
    MovementTrack track;
    Trick out;
    auto fly = [&](unsigned int move, unsigned int surround) {
        track.step(move, surround);
        EXPECT_EQ(track.steps().front().surround & MovementTrack::SURROUND_COLLISION, 0u) << label(trick);
        return track.match(library, out) == MovementTrack::MATCH_EARLIER;
    };
    for (int i = 0; i < 3; ++i) {
        if (fly(MovementTrack::MOVE_STRAIGHT, 0)) {
            return {label(out), -1};
        }
    }
    for (auto s = trick.steps().rbegin(); s != trick.steps().rend(); ++s) {
        const unsigned int move = s->move == MovementTrack::MOVE_ANY ? MovementTrack::MOVE_STRAIGHT : s->move;
        const unsigned int surround = s->surround & MovementTrack::SURROUND_ANY ? 0u : s->surround;
        if (fly(move, surround)) {
            return {label(out), 0};
        }
    }
    for (int straight = 1; straight <= 20; ++straight) {
        if (fly(MovementTrack::MOVE_STRAIGHT, 0)) {
            return {label(out), straight};
        }
    }
    return {"", 0};
}

}  // namespace

TEST(BuiltInTricksTest, EveryRowHasItsPlaceKeysAndObstacles) {
    const TrickLibrary library = builtInLibrary();
    const std::vector<ExpectedTrick>& expected = expectedLibrary();
    ASSERT_EQ(library.tricks().size(), 37u);

    auto trick = library.tricks().begin();
    for (const ExpectedTrick& row : expected) {
        SCOPED_TRACE(std::string(row.name) + " " + row.subname + " " + row.keys);
        EXPECT_EQ(trick->name(), row.name);
        EXPECT_EQ(trick->subname(), row.subname);
        EXPECT_EQ(trick->score(), row.score);
        EXPECT_EQ(trick->rank(), row.rank);
        EXPECT_EQ(trick->keySequence(), row.keys);
        EXPECT_EQ(trick->steps().size(), std::string(row.keys).size());
        EXPECT_EQ(Cells(trick->obstacles().begin(), trick->obstacles().end()), row.obstacles);
        EXPECT_EQ(trick->maxSteps(), 20u);
        ++trick;
    }
}

TEST(BuiltInTricksTest, RowsKeepTheirOwnQuirksAndTexts) {
    TrickLibrary library = builtInLibrary();
    const Trick* slickLeft = library.trickByName("SLICK", "LEFT");
    ASSERT_NE(slickLeft, nullptr);
    EXPECT_EQ(slickLeft->description(), "Simple sharp turn left just \n in time to avoid crashing \ninto obstacle.");
    EXPECT_EQ(library.trickByName("VORTEL", "UP")->description(), "");
    EXPECT_EQ(library.trickByName("CORNER", "UP")->description(), "Turn up around the\nobstacle corner");

    // Only DOUBLE SLICK LEFT insists on going straight into its first cell.
    EXPECT_EQ(library.trickByName("DOUBLE SLICK", "LEFT")->steps().back().move, 16u);
    EXPECT_EQ(library.trickByName("DOUBLE SLICK", "RIGHT")->steps().back().move, 64u);

    const Trick* orbitRight = library.trickByNameSpaceSubname("ORBIT RIGHT");
    ASSERT_NE(orbitRight, nullptr);
    EXPECT_EQ(orbitRight->steps().size(), 7u);
    const std::list<Trick>& orbits = library.allTricksByName("ORBIT");
    ASSERT_EQ(orbits.size(), 8u);
    EXPECT_EQ(orbits.front().subname(), "DOWN");
    EXPECT_EQ(orbits.back().keySequence(), "*R*R*R*L");

    EXPECT_EQ(library.trickNames(),
              std::list<std::string>({"SLICK", "CORNER", "DOUBLE SLICK", "U-TURN", "BRIDGE", "ORBIT", "SNAKE",
                                      "CRAZY GORVAN", "VORTEL"}));
}

TEST(BuiltInTricksTest, FlyingATrickMakesItTheFirstCompletedMatch) {
    const TrickLibrary library = builtInLibrary();
    for (const Trick& trick : library.tricks()) {
        const CompletedMatch completed = firstCompletedMatch(library, trick);
        EXPECT_EQ(completed.trick, label(trick));
        // VORTEL opens straight, straight, up, straight: after an upward SLICK or CORNER
        // its longer running match holds the score back for one more cell.
        const bool heldBackByVortel = trick.subname() == "UP" && trick.steps().size() == 2;
        EXPECT_EQ(completed.straightCellsAfter, heldBackByVortel ? 2 : 1) << label(trick);
    }
}

TEST(BuiltInTricksTest, ASlickRunsUntilTheDoubleSlickOvertakesIt) {
    const TrickLibrary library = builtInLibrary();
    Trick out;

    MovementTrack track;
    track.step(16, 0);
    track.step(1, 16);
    EXPECT_EQ(track.match(library, out), MovementTrack::MATCH_CURRENT);
    EXPECT_EQ(label(out), "SLICK LEFT (2 steps)");

    MovementTrack thenStraight = track;
    thenStraight.step(16, 0);
    EXPECT_EQ(thenStraight.match(library, out), MovementTrack::MATCH_EARLIER);
    EXPECT_EQ(label(out), "SLICK LEFT (2 steps)");

    track.step(1, 16);
    EXPECT_EQ(track.match(library, out), MovementTrack::MATCH_CURRENT);
    EXPECT_EQ(label(out), "DOUBLE SLICK LEFT (3 steps)");
}
