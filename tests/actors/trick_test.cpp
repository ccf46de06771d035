#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "actors/trick.h"
#include "actors/tricklibrary.h"

using Vortel::Trick;
using Vortel::TrickLibrary;

namespace {

using Cells = std::vector<Vector3<int> >;

Cells cellsOf(const Trick& trick) {
    return Cells(trick.obstacles().begin(), trick.obstacles().end());
}

Trick namedTrick(const std::string& name, const std::string& subname, int steps) {
    Trick trick;
    trick.name(name);
    trick.subname(subname);
    for (int i = 0; i < steps; ++i) {
        trick.step(16, 64);
    }
    return trick;
}

}  // namespace

TEST(TrickTest, KeyLettersAndObstaclesFollowThePatternFromItsFirstStep) {
    Trick slick;
    slick.step(64, 64);
    slick.step(1, 16);
    slick.generateKeySequence();
    slick.autoGenerateObstacles();
    EXPECT_EQ(slick.keySequence(), "*L");
    EXPECT_EQ(cellsOf(slick), Cells({{0, 0, 2}}));

    // Turning changes the frame: the second front obstacle lies off to the left (+x here).
    Trick doubleSlick;
    doubleSlick.step(16, 64);
    doubleSlick.step(1, 16);
    doubleSlick.step(1, 16);
    doubleSlick.autoGenerateObstacles();
    EXPECT_EQ(cellsOf(doubleSlick), Cells({{0, 0, 2}, {2, 0, 1}}));

    // Combined surround bits name no single cell; straight and wildcard moves give "*".
    Trick mixed;
    mixed.step(16, 1 | 2);
    mixed.step(2, 1);
    mixed.step(4, 0);
    mixed.step(8, 64);
    mixed.generateKeySequence();
    mixed.autoGenerateObstacles();
    EXPECT_EQ(mixed.keySequence(), "*RUD");
    EXPECT_EQ(cellsOf(mixed), Cells({{1, 0, 1}}));
}

TEST(TrickTest, AddObstacleDropsDuplicatesAndExpandGrowsLines) {
    Trick trick;
    trick.addObstacle(0, 0, 0);
    trick.addObstacle(Vector3<int>(0, 0, 0));
    EXPECT_EQ(trick.obstacles().size(), 1u);

    trick.expandObstacles(Vector3<int>(2, 0, 0), true);
    EXPECT_EQ(cellsOf(trick), Cells({{0, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {2, 0, 0}, {-2, 0, 0}}));

    Trick oneSided;
    oneSided.addObstacle(0, 0, 0);
    oneSided.addObstacle(5, 5, 5);
    oneSided.expandObstacles(Vector3<int>(-1, 1, 1), false);
    EXPECT_EQ(cellsOf(oneSided), Cells({{0, 0, 0}, {5, 5, 5}, {0, 1, 0}, {0, 0, 1},
                                        {5, 6, 5}, {5, 5, 6}}));
}

TEST(TrickTest, ClearEmptiesEverythingButTheBound) {
    Trick trick = namedTrick("SLICK", "LEFT", 4);
    trick.score(50);
    trick.rank("ROOKIE");
    trick.description("text");
    trick.addObstacle(1, 2, 3);
    trick.generateKeySequence();
    trick.maxSteps(7);

    Trick copy(trick);
    trick.clear();
    EXPECT_TRUE(trick.steps().empty());
    EXPECT_TRUE(trick.obstacles().empty());
    EXPECT_EQ(trick.name() + trick.subname() + trick.rank() + trick.description() + trick.keySequence(), "");
    EXPECT_EQ(trick.score(), 0);
    EXPECT_EQ(trick.maxSteps(), 7u);

    EXPECT_EQ(copy.steps().size(), 4u);
    EXPECT_EQ(copy.keySequence(), "****");
    EXPECT_EQ(copy.score(), 50);
    EXPECT_EQ(copy.maxSteps(), 7u);
    EXPECT_EQ(copy.obstacles().size(), 1u);
}

TEST(TrickLibraryTest, KeepsTricksSortedByLengthThenByArrival) {
    TrickLibrary library;
    library.addTrick(namedTrick("A", "", 3));
    const Trick* a = &library.tricks().front();
    library.addTrick(namedTrick("B", "", 3));
    library.addTrick(namedTrick("C", "", 2));
    library.addTrick(namedTrick("D", "", 3));
    library.addTrick(namedTrick("E", "", 1));

    std::string order;
    for (const Trick& trick : library.tricks()) {
        order += trick.name();
    }
    EXPECT_EQ(order, "ECABD");
    // Sorting relinks; the trick itself stays where it was.
    EXPECT_EQ(library.trickByName("A", ""), a);
}

TEST(TrickLibraryTest, LooksTricksUpByNameAndVariant) {
    TrickLibrary library;
    library.addTrick(namedTrick("SLICK", "LEFT", 2));
    library.addTrick(namedTrick("SLICK", "RIGHT", 2));
    library.addTrick(namedTrick("CORNER", "DOWN", 2));
    Trick twin = namedTrick("SLICK", "LEFT", 3);
    twin.score(99);
    library.addTrick(twin);

    const Trick* slickLeft = library.trickByName("SLICK", "LEFT");
    ASSERT_NE(slickLeft, nullptr);
    EXPECT_EQ(slickLeft->steps().size(), 2u);
    EXPECT_EQ(library.trickByNameSpaceSubname("SLICK LEFT"), slickLeft);
    EXPECT_EQ(library.trickByNameSpaceSubname("SLICK  LEFT"), nullptr);
    EXPECT_EQ(library.trickByNameSpaceSubname("SLICKLEFT"), nullptr);
    EXPECT_EQ(library.trickByNameSpaceSubname("slick left"), nullptr);
    EXPECT_EQ(library.trickByNameSpaceSubname("CORNER DOWN"), library.trickByName("CORNER", "DOWN"));
    EXPECT_EQ(library.trickByName("CORNER", "UP"), nullptr);

    EXPECT_EQ(library.trickNames(), std::list<std::string>({"SLICK", "CORNER"}));

    const std::list<Trick>& slicks = library.allTricksByName("SLICK");
    ASSERT_EQ(slicks.size(), 3u);
    EXPECT_EQ(slicks.back().score(), 99);
    EXPECT_TRUE(library.allTricksByName("ORBIT").empty());
    EXPECT_TRUE(TrickLibrary().trickNames().empty());
}
