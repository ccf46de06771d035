#include <gtest/gtest.h>

#include <vector>

#include "world/cubedraw.h"
#include "world/octree.h"

using Vortel::CubeDraw;
using Vortel::OcTree;
typedef Vector3<int> Cell;

namespace {

// The x coordinates of the filled cells of row (y, z), in order.
std::vector<int> filledInRow(const OcTree& tree, int y, int z) {
    std::vector<int> xs;
    for (int x = 0; x < tree.size(); ++x) {
        if (tree.getTerminalNode(Cell(x, y, z))->count() != OcTree::CELL_EMPTY) {
            xs.push_back(x);
        }
    }
    return xs;
}

std::vector<int> range(int from, int to, int step) {
    std::vector<int> values;
    for (int v = from; v < to; v += step) {
        values.push_back(v);
    }
    return values;
}

}  // namespace

TEST(CubeDraw, WrapsCoordinatesIntoTheField) {
    OcTree tree(5);
    const CubeDraw draw(tree);
    Cell c(-1, 32, -33);
    draw.clampToOctree(c);
    EXPECT_EQ(c, Cell(31, 0, 31));
}

TEST(CubeDraw, LaysEveryCellOfTheWrappedLineOnce) {
    OcTree tree(5);
    CubeDraw draw(tree);
    draw.line(Cell(0, 5, 5), Cell(2, 0, 0), OcTree::CELL_SOLID_1, 4);
    EXPECT_EQ(filledInRow(tree, 5, 5), range(0, 32, 2));
    EXPECT_EQ(tree.root()->count(), 16);

    draw.line(Cell(1, 7, 7), Cell(3, 0, 0), OcTree::CELL_SOLID_2, 4);
    EXPECT_EQ(filledInRow(tree, 7, 7), range(0, 32, 1));
    EXPECT_EQ(tree.root()->count(), 16 + 32);

    draw.line(Cell(9, 9, 9), Cell(0, 0, 0), OcTree::CELL_SOLID_1, 4);
    EXPECT_EQ(tree.root()->count(), 16 + 32 + 1);
    EXPECT_EQ(tree.getTerminalNode(Cell(9, 9, 9))->count(), OcTree::CELL_SOLID_1);
}

TEST(CubeDraw, LaysADiagonalAcrossTheWrap) {
    OcTree tree(5);
    CubeDraw draw(tree);
    draw.line(Cell(30, 0, 3), Cell(1, 1, 0), OcTree::CELL_SOLID_1, 0);
    EXPECT_EQ(tree.root()->count(), 32);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(tree.getTerminalNode(Cell(30 + i, i, 3))->count(), OcTree::CELL_SOLID_1) << i;
    }
}

TEST(CubeDraw, LeavesFilledCellsAsTheyAre) {
    OcTree tree(5);
    CubeDraw draw(tree);
    tree.setTerminalNode(Cell(4, 2, 2), OcTree::CELL_SOLID_2, 9);
    tree.addCollectableObject(Cell(8, 2, 2));
    draw.line(Cell(0, 2, 2), Cell(1, 0, 0), OcTree::CELL_SOLID_1, 4);
    EXPECT_EQ(tree.getTerminalNode(Cell(4, 2, 2))->count(), OcTree::CELL_SOLID_2);
    EXPECT_EQ(tree.getTerminalNode(Cell(4, 2, 2))->colorIndex(), 9);
    EXPECT_NE(tree.getTerminalNode(Cell(8, 2, 2))->collectable(), nullptr);
    EXPECT_EQ(tree.root()->count(), 32);
}

// Before the start was wrapped, a start outside the field was never met again.
TEST(CubeDraw, EndsFromAStartOutsideTheField) {
    OcTree tree(5);
    CubeDraw draw(tree);
    draw.line(Cell(37, -27, 69), Cell(-2, 0, 0), OcTree::CELL_SOLID_1, 0);
    EXPECT_EQ(filledInRow(tree, 5, 5), range(1, 32, 2));
    EXPECT_EQ(tree.root()->count(), 16);
}
