#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "actors/builtintricks.h"
#include "actors/trick.h"
#include "actors/tricklibrary.h"
#include "game/trickpath.h"

namespace {

using Vortel::Player;
using Vortel::TrickPathCell;
typedef Vector3<int> Cell;
typedef Vector3<float> V;

std::vector<TrickPathCell> walk(const Vortel::Trick& trick) {
    std::vector<TrickPathCell> cells;
    Vortel::walkTrickPath(trick.steps(), [&cells](const TrickPathCell& c) { cells.push_back(c); });
    return cells;
}

void expectNear(const V& actual, const V& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(TrickPath, SlickLeftTurnsInItsSecondCellAndPointsOnAlongMinusX) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    const Vortel::Trick& slick = *library.trickByNameSpaceSubname("SLICK LEFT");

    const std::vector<TrickPathCell> cells = walk(slick);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].kind, TrickPathCell::CUBE);
    EXPECT_EQ(cells[0].cell, Cell(0, 0, 0));
    EXPECT_EQ(cells[1].kind, TrickPathCell::CORNER);
    EXPECT_EQ(cells[1].cell, Cell(0, 0, -1));
    EXPECT_EQ(cells[1].turn, Player::DIR_LEFT);
    EXPECT_EQ(cells[1].entryForward, Cell(0, 0, -1));
    EXPECT_EQ(cells[1].forward, Cell(-1, 0, 0));
    EXPECT_EQ(cells[2].kind, TrickPathCell::CUBE);
    EXPECT_EQ(cells[2].cell, Cell(-1, 0, -1));
    EXPECT_EQ(cells[3].kind, TrickPathCell::ARROW);
    EXPECT_EQ(cells[3].cell, Cell(-2, 0, -1));

    const AABB3<float> bounds = Vortel::trickPathBounds(slick.steps());
    expectNear(bounds.min, V(-2.5f, -0.5f, -1.5f));
    expectNear(bounds.max, V(0.5f, 0.5f, 0.5f));
    const SimpleCamera camera = Vortel::trickIllustrationCamera(bounds, 2.0f);
    expectNear(camera.target(), V(-1.5f, -0.5f, -0.5f));
    expectNear(camera.pos(), V(8.5f, 10.5f, 9.5f));
    EXPECT_FLOAT_EQ(camera.fov(), 20.0f);
    EXPECT_FLOAT_EQ(camera.aspect(), 2.0f);
    EXPECT_FLOAT_EQ(camera.nearClip(), 0.1f);
    EXPECT_FLOAT_EQ(camera.farClip(), 32.0f);

    ASSERT_EQ(slick.obstacles().size(), 1u);
    EXPECT_EQ(Vortel::illustratedObstacle(slick.obstacles().front()), Cell(0, 0, -2));
}

// The trick keeps its obstacles in a frame of its own; drawn in the path's frame, each one
// must stand right beside the path, never on it.
TEST(TrickPath, EveryBuiltInTricksObstaclesStandBesideItsPath) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    int obstacles = 0;
    for (const std::string& name : library.trickNames()) {
        for (const Vortel::Trick& trick : library.allTricksByName(name)) {
            SCOPED_TRACE(trick.name() + " " + trick.subname());
            std::vector<Cell> path;
            for (const TrickPathCell& c : walk(trick)) {
                if (c.kind != TrickPathCell::ARROW) {
                    path.push_back(c.cell);
                }
            }
            for (const Cell& o : trick.obstacles()) {
                const Cell drawn = Vortel::illustratedObstacle(o);
                EXPECT_EQ(std::count(path.begin(), path.end(), drawn), 0);
                EXPECT_TRUE(std::any_of(path.begin(), path.end(), [&drawn](const Cell& p) {
                    return std::abs(p.x - drawn.x) + std::abs(p.y - drawn.y) + std::abs(p.z - drawn.z) == 1;
                }));
                ++obstacles;
            }
        }
    }
    EXPECT_GT(obstacles, 37);
}

// A path that never turns still points its arrow the way it flies.
TEST(TrickPath, TheArrowFollowsTheLastHeading) {
    Vortel::Trick straight;
    straight.step(Vortel::MovementTrack::MOVE_STRAIGHT, 0);
    straight.step(Vortel::MovementTrack::MOVE_ANY, 0);
    const std::vector<TrickPathCell> cells = walk(straight);
    ASSERT_EQ(cells.size(), 4u);
    const TrickPathCell& arrow = cells.back();
    EXPECT_EQ(arrow.cell, Cell(0, 0, -3));
    const Matrix frame = Vortel::headingFrame(arrow.forward, arrow.up);
    expectNear(frame * V(0, 0, 1), V(0, 0, -1));
    expectNear(frame * V(0, 1, 0), V(0, 1, 0));
    expectNear(frame * V(1, 0, 0), V(-1, 0, 0));

    Vortel::Trick up;
    up.step(Vortel::MovementTrack::MOVE_UP, 0);
    const TrickPathCell upArrow = walk(up).back();
    EXPECT_EQ(upArrow.cell, Cell(0, 2, 0));
    expectNear(Vortel::headingFrame(upArrow.forward, upArrow.up) * V(0, 0, 1), V(0, 1, 0));
}

}  // namespace
