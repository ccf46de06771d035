#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "actors/builtintricks.h"
#include "actors/trick.h"
#include "actors/tricklibrary.h"
#include "game/trickpath.h"
#include "tests/support/helpers.h"

namespace {

using testsupport::expectNear;

using Vortel::TrickPathCell;
typedef Vector3<int> Cell;
typedef Vector3<float> V;

std::vector<TrickPathCell> walk(const Vortel::Trick& trick) {
    std::vector<TrickPathCell> cells;
    Vortel::walkTrickPath(trick.steps(), [&cells](const TrickPathCell& c) { cells.push_back(c); });
    return cells;
}

TEST(TrickPath, SlickLeftTurnsInItsSecondCellWithTheCameraFramedOnIt) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    const Vortel::Trick& slick = *library.trickByNameSpaceSubname("SLICK LEFT");
    const std::vector<TrickPathCell> cells = walk(slick);
    ASSERT_EQ(cells.size(), 4u);
    const struct {
        TrickPathCell::Kind kind;
        Cell cell, forward;
    } expected[] = {{TrickPathCell::CUBE, Cell(0, 0, 0), Cell(0, 0, -1)},
                    {TrickPathCell::CORNER, Cell(0, 0, -1), Cell(-1, 0, 0)},
                    {TrickPathCell::CUBE, Cell(-1, 0, -1), Cell(-1, 0, 0)},
                    {TrickPathCell::ARROW, Cell(-2, 0, -1), Cell(-1, 0, 0)}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cells[i].kind, expected[i].kind) << i;
        EXPECT_EQ(cells[i].cell, expected[i].cell) << i;
        EXPECT_EQ(cells[i].forward, expected[i].forward) << i;
    }
    EXPECT_EQ(cells[1].turn, Vortel::Player::DIR_LEFT);
    EXPECT_EQ(cells[1].entryForward, Cell(0, 0, -1));
    ASSERT_EQ(slick.obstacles().size(), 1u);
    EXPECT_EQ(Vortel::illustratedObstacle(slick.obstacles().front()), Cell(0, 0, -2));

    const AABB3<float> bounds = Vortel::trickPathBounds(slick.steps());
    expectNear(bounds.min, V(-2.5f, -0.5f, -1.5f));
    expectNear(bounds.max, V(0.5f, 0.5f, 0.5f));
    const SimpleCamera camera = Vortel::trickIllustrationCamera(bounds, 2.0f);
    expectNear(camera.target(), V(-1.5f, -0.5f, -0.5f));
    expectNear(camera.pos(), V(8.5f, 10.5f, 9.5f));
    expectNear(V(camera.fov(), camera.nearClip(), camera.farClip()), V(20, 0.1f, 32));
    EXPECT_EQ(camera.aspect(), 2.0f);
}

// A trick keeps its obstacles in a frame of its own; drawn in the path's frame each must
// stand right beside the path, never on it.
TEST(TrickPath, EveryBuiltInTricksObstaclesStandBesideItsPath) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    int obstacles = 0;
    for (const std::string& name : library.trickNames()) {
        for (const Vortel::Trick& trick : library.allTricksByName(name)) {
            SCOPED_TRACE(trick.name() + " " + trick.subname());
            std::vector<TrickPathCell> path = walk(trick);
            path.pop_back();  // the arrow
            for (const Cell& o : trick.obstacles()) {
                const Cell drawn = Vortel::illustratedObstacle(o);
                const auto distance = [&drawn](const TrickPathCell& p) {
                    return std::abs(p.cell.x - drawn.x) + std::abs(p.cell.y - drawn.y) + std::abs(p.cell.z - drawn.z);
                };
                EXPECT_TRUE(std::none_of(path.begin(), path.end(), [&](const TrickPathCell& p) { return distance(p) == 0; }));
                EXPECT_TRUE(std::any_of(path.begin(), path.end(), [&](const TrickPathCell& p) { return distance(p) == 1; }));
                ++obstacles;
            }
        }
    }
    EXPECT_GT(obstacles, 37);
}

// Also a path that never turns points its arrow the way it flies.
TEST(TrickPath, TheArrowFollowsTheLastHeading) {
    Vortel::Trick straight;
    straight.step(Vortel::MovementTrack::MOVE_STRAIGHT, 0);
    straight.step(Vortel::MovementTrack::MOVE_ANY, 0);
    const TrickPathCell arrow = walk(straight).back();
    EXPECT_EQ(arrow.cell, Cell(0, 0, -3));
    const Matrix frame = Vortel::headingFrame(arrow.forward, arrow.up);
    expectNear(frame * V(0, 0, 1), V(0, 0, -1));
    expectNear(frame * V(1, 0, 0), V(-1, 0, 0));
}

}  // namespace
