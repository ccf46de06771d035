#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/crand.h"
#include "world/collectable.h"
#include "world/octree.h"

using Vortel::OcTree;
typedef OcTree::Node Node;
typedef Vector3<int> Cell;

namespace {

// Cell kinds a test can put a cell into; 3 is a solid kind the game never places.
const int OTHER_SOLID = 3;

void prepare(OcTree& tree, const Cell& c, int kind) {
    switch (kind) {
    case OcTree::CELL_EMPTY:
        break;
    case OcTree::CELL_MELTING:
        tree.setTerminalNode(c, OcTree::CELL_SOLID_1, 9);
        tree.setTerminalNode(c, OcTree::SET_MELT, 0);
        break;
    case OcTree::CELL_COLLECTABLE:
        tree.addCollectableObject(c);
        break;
    default:
        tree.setTerminalNode(c, kind, 9);
        break;
    }
}

// Every inner node's count against a recount of the filled cells below it.
int recount(const Node& node, std::ostringstream& faults) {
    if (node.terminal()) {
        return node.count() != OcTree::CELL_EMPTY ? 1 : 0;
    }
    int filled = 0;
    int filledChildren = 0;
    for (int slot = 0; slot < 8; ++slot) {
        const int below = recount(*node.child(slot), faults);
        filled += below;
        filledChildren |= below != 0 ? 1 << slot : 0;
    }
    if (filledChildren != node.filledChildren()) {
        faults << "node at " << node.box().min.x << "," << node.box().min.y << "," << node.box().min.z
               << " marks children " << int(node.filledChildren()) << ", holds " << filledChildren << "\n";
    }
    if (filled != node.count()) {
        faults << "node at " << node.box().min.x << "," << node.box().min.y << "," << node.box().min.z << " counts "
               << node.count() << ", holds " << filled << "\n";
    }
    return filled;
}

bool solidAt(const OcTree& tree, const Cell& c) { return Vortel::isSolidKind(tree.getTerminalNode(c)->count()); }

// Neighbour bits and pick-up ownership of every cell against a fresh computation.
void checkCells(const OcTree& tree, std::ostringstream& faults) {
    const int n = tree.size();
    for (int z = 0; z < n; ++z) {
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const Node& cell = *tree.getTerminalNode(Cell(x, y, z));
                const int bits = (solidAt(tree, Cell(x + 1, y, z)) ? 1 : 0) | (solidAt(tree, Cell(x - 1, y, z)) ? 2 : 0) |
                                 (solidAt(tree, Cell(x, y + 1, z)) ? 4 : 0) | (solidAt(tree, Cell(x, y - 1, z)) ? 8 : 0) |
                                 (solidAt(tree, Cell(x, y, z + 1)) ? 16 : 0) | (solidAt(tree, Cell(x, y, z - 1)) ? 32 : 0);
                if (cell.neighbours() != bits) {
                    faults << "cell " << x << "," << y << "," << z << " has bits " << int(cell.neighbours())
                           << ", should have " << bits << "\n";
                }
                if (cell.collectable() != nullptr && cell.count() != OcTree::CELL_COLLECTABLE) {
                    faults << "cell " << x << "," << y << "," << z << " of kind " << cell.count() << " holds a pick-up\n";
                }
            }
        }
    }
}

::testing::AssertionResult consistent(const OcTree& tree) {
    std::ostringstream faults;
    recount(*tree.root(), faults);
    checkCells(tree, faults);
    if (faults.str().empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << faults.str();
}

int cellsOfKind(const OcTree& tree, int kind) {
    int found = 0;
    const int n = tree.size();
    for (int z = 0; z < n; ++z) {
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                found += tree.getTerminalNode(Cell(x, y, z))->count() == kind ? 1 : 0;
            }
        }
    }
    return found;
}

}  // namespace

TEST(OcTree, StartsEmptyWithBoxesThatHalveDownToTheCells) {
    const OcTree tree(5);
    EXPECT_EQ(tree.size(), 32);
    EXPECT_EQ(tree.root()->count(), 0);
    EXPECT_FALSE(tree.root()->terminal());
    EXPECT_EQ(tree.root()->box().max, Cell(32, 32, 32));
    // Slot 4z + 2y + x: slot 5 is the upper half in x and z.
    EXPECT_EQ(tree.root()->child(5)->box().min, Cell(16, 0, 16));
    EXPECT_EQ(tree.root()->child(5)->box().max, Cell(32, 16, 32));
    const Node* cell = tree.getTerminalNode(Cell(7, 30, 12));
    EXPECT_TRUE(cell->terminal());
    EXPECT_EQ(cell->box().min, Cell(7, 30, 12));
    EXPECT_EQ(cell->box().max, Cell(8, 31, 13));
    EXPECT_EQ(cell->count(), OcTree::CELL_EMPTY);
    EXPECT_EQ(cell->neighbours(), 0);
    EXPECT_EQ(cell->collectable(), nullptr);
    EXPECT_TRUE(consistent(tree));
}

TEST(OcTree, WrapsNegativeAndLargeCoordinatesOnEveryAxis) {
    const OcTree tree(5);
    const int given[] = {-32, -1, 32, 63, 64, 40, -33, -65};
    const int wrapped[] = {0, 31, 0, 31, 0, 8, 31, 31};
    for (int i = 0; i < 8; ++i) {
        Cell c(given[i], given[i], given[i]);
        tree.validateCoord(c);
        EXPECT_EQ(c, Cell(wrapped[i], wrapped[i], wrapped[i])) << given[i];
        EXPECT_EQ(tree.getTerminalNode(Cell(given[i], 3, 4)), tree.getTerminalNode(Cell(wrapped[i], 3, 4)));
        EXPECT_EQ(tree.getTerminalNode(Cell(3, given[i], 4)), tree.getTerminalNode(Cell(3, wrapped[i], 4)));
        EXPECT_EQ(tree.getTerminalNode(Cell(3, 4, given[i])), tree.getTerminalNode(Cell(3, 4, wrapped[i])));
    }
}

TEST(OcTree, RejectsDepthsOutsideItsRangeAndTakesDepthZeroAsOneCell) {
    EXPECT_THROW(OcTree(-1), std::runtime_error);
    EXPECT_THROW(OcTree(9), std::runtime_error);
    OcTree single(0);
    EXPECT_EQ(single.size(), 1);
    EXPECT_EQ(single.root(), single.getTerminalNode(Cell(5, -3, 8)));
    EXPECT_TRUE(single.setTerminalNode(Cell(2, 2, 2), OcTree::CELL_SOLID_1, 0));
    EXPECT_EQ(single.root()->count(), OcTree::CELL_SOLID_1);
}

// Every command on every kind: the kind it leaves, its result, and what becomes of a
// pick-up object.
TEST(OcTree, AppliesEachCommandToEachKind) {
    const int E = OcTree::CELL_EMPTY, S1 = OcTree::CELL_SOLID_1, S2 = OcTree::CELL_SOLID_2, S3 = OTHER_SOLID,
              M = OcTree::CELL_MELTING, P = OcTree::CELL_COLLECTABLE;
    struct Row {
        int command;
        int before;
        int after;
        bool changed;
        bool keepsObject;
    };
    const Row rows[] = {
        {OcTree::SET_CLEAR, E, E, false, false},       {OcTree::SET_CLEAR, S1, E, true, false},
        {OcTree::SET_CLEAR, S2, E, true, false},       {OcTree::SET_CLEAR, S3, E, true, false},
        {OcTree::SET_CLEAR, M, E, true, false},        {OcTree::SET_CLEAR, P, P, false, true},
        {OcTree::SET_MELT, E, E, false, false},        {OcTree::SET_MELT, S1, M, false, false},
        {OcTree::SET_MELT, S2, M, false, false},       {OcTree::SET_MELT, S3, M, false, false},
        {OcTree::SET_MELT, M, M, false, false},        {OcTree::SET_MELT, P, P, false, true},
        {OcTree::SET_COLLECTABLE, E, P, true, false},  {OcTree::SET_COLLECTABLE, S1, P, false, false},
        {OcTree::SET_COLLECTABLE, S3, P, false, false}, {OcTree::SET_COLLECTABLE, M, P, false, false},
        {OcTree::SET_COLLECTABLE, P, P, false, false}, {OcTree::SET_MELT_ANY, E, E, false, false},
        {OcTree::SET_MELT_ANY, S2, M, false, false},   {OcTree::SET_MELT_ANY, S3, M, false, false},
        {OcTree::SET_MELT_ANY, M, M, false, false},    {OcTree::SET_MELT_ANY, P, M, false, false},
        {OcTree::SET_CLEAR_ANY, E, E, false, false},   {OcTree::SET_CLEAR_ANY, S1, E, true, false},
        {OcTree::SET_CLEAR_ANY, M, E, true, false},    {OcTree::SET_CLEAR_ANY, P, E, true, false},
        {S1, E, S1, true, false},                      {S1, S2, S2, false, false},
        {S1, M, M, false, false},                      {S1, P, P, false, true},
        {S2, E, S2, true, false},                      {S2, S1, S1, false, false},
        {S3, E, S3, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "command " << row.command << " on kind " << row.before);
        OcTree tree(3);
        const Cell c(-1, 8, 3);  // wraps to (7, 0, 3)
        prepare(tree, c, row.before);
        Node& cell = *tree.getTerminalNode(c);
        const Vortel::Collectable* const object = cell.collectable();
        EXPECT_EQ(tree.setTerminalNode(c, row.command, 5), row.changed);
        EXPECT_EQ(cell.count(), row.after);
        EXPECT_EQ(tree.root()->count(), row.after == E ? 0 : 1);
        EXPECT_EQ(cell.collectable() != nullptr, row.keepsObject);
        if (row.keepsObject) {
            EXPECT_EQ(cell.collectable(), object);
        }
        EXPECT_TRUE(consistent(tree));
    }
}

TEST(OcTree, PlacesASolidCellOnlyOnAnEmptyOneAndStampsIt) {
    OcTree tree(5);
    tree.time(12.5);
    tree.trailCoolingTime(7.0f);
    EXPECT_TRUE(tree.setTerminalNode(Cell(4, 5, 6), OcTree::CELL_SOLID_1, 3));
    EXPECT_EQ(tree.root()->count(), 1);
    const Node& cell = *tree.getTerminalNode(Cell(4, 5, 6));
    EXPECT_EQ(cell.colorIndex(), 3);
    EXPECT_EQ(cell.lastTime(), 12.5);
    EXPECT_EQ(cell.coolingOrMeltSpeed(), 7.0f);
    EXPECT_EQ(cell.age(), 0.0f);

    tree.time(20.0);
    EXPECT_FALSE(tree.setTerminalNode(Cell(4, 5, 6), OcTree::CELL_SOLID_2, 8));
    EXPECT_EQ(cell.count(), OcTree::CELL_SOLID_1);
    EXPECT_EQ(cell.colorIndex(), 3);
    EXPECT_EQ(cell.lastTime(), 12.5);
    EXPECT_EQ(tree.root()->count(), 1);
}

TEST(OcTree, KeepsNeighbourBitsAcrossTheWrap) {
    OcTree tree(5);
    tree.setTerminalNode(Cell(0, 10, 31), OcTree::CELL_SOLID_2, 0);
    EXPECT_EQ(tree.getTerminalNode(Cell(31, 10, 31))->neighbours(), OcTree::NEIGHBOUR_X_PLUS);
    EXPECT_EQ(tree.getTerminalNode(Cell(1, 10, 31))->neighbours(), OcTree::NEIGHBOUR_X_MINUS);
    EXPECT_EQ(tree.getTerminalNode(Cell(0, 10, 0))->neighbours(), OcTree::NEIGHBOUR_Z_MINUS);
    EXPECT_EQ(tree.getTerminalNode(Cell(0, 10, 30))->neighbours(), OcTree::NEIGHBOUR_Z_PLUS);
    EXPECT_EQ(tree.getTerminalNode(Cell(0, 10, 31))->neighbours(), 0);

    // A pick-up or a melting cube covers nothing.
    tree.setTerminalNode(Cell(0, 10, 31), OcTree::SET_COLLECTABLE, 0);
    EXPECT_EQ(tree.getTerminalNode(Cell(31, 10, 31))->neighbours(), 0);
    EXPECT_EQ(tree.root()->count(), 1);
    tree.setTerminalNode(Cell(5, 5, 5), OcTree::CELL_SOLID_1, 0);
    tree.setTerminalNode(Cell(5, 5, 5), OcTree::SET_MELT, 0);
    EXPECT_EQ(tree.getTerminalNode(Cell(5, 6, 5))->neighbours(), 0);
    EXPECT_EQ(tree.root()->count(), 2);
    EXPECT_TRUE(consistent(tree));
}

// Random commands over a small field, with coordinates well outside it: after each one the
// counts and neighbour bits must equal what a recount gives.
TEST(OcTree, RandomCommandsKeepCountsAndNeighbourBitsExact) {
    OcTree tree(3);
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> coordinate(-12, 20);
    const int commands[] = {OcTree::SET_CLEAR,      OcTree::SET_MELT,   OcTree::SET_COLLECTABLE,
                            OcTree::SET_MELT_ANY,   OcTree::SET_CLEAR_ANY, OcTree::CELL_SOLID_1,
                            OcTree::CELL_SOLID_1,   OcTree::CELL_SOLID_2, OcTree::CELL_SOLID_2,
                            OTHER_SOLID,            -1 /* pick-up object */, -2 /* melt round */};
    std::uniform_int_distribution<int> pick(0, sizeof(commands) / sizeof(commands[0]) - 1);
    for (int i = 0; i < 10000; ++i) {
        const Cell c(coordinate(random), coordinate(random), coordinate(random));
        const int command = commands[pick(random)];
        if (command == -1) {
            tree.addCollectableObject(c);
        } else if (command == -2) {
            tree.melt(c, i % 3, i % 2 == 0);
        } else {
            tree.setTerminalNode(c, command, static_cast<unsigned char>(i));
        }
        ASSERT_TRUE(consistent(tree)) << "after command " << i << " (" << command << ")";
    }
}

TEST(OcTree, AddsAPickUpThatKeepsTheCoordinateAsGiven) {
    OcTree tree(5);
    tree.time(3.0);
    tree.setTerminalNode(Cell(1, 2, 3), OcTree::CELL_SOLID_1, 0);
    Vortel::Collectable* const onSolid = tree.addCollectableObject(Cell(33, 2, -29));
    EXPECT_EQ(onSolid->pos(), Cell(33, 2, -29));
    const Node& cell = *tree.getTerminalNode(Cell(1, 2, 3));
    EXPECT_EQ(cell.collectable(), onSolid);
    EXPECT_EQ(cell.count(), OcTree::CELL_COLLECTABLE);
    EXPECT_EQ(cell.lastTime(), 3.0);
    EXPECT_EQ(tree.root()->count(), 1);

    tree.addCollectableObject(Cell(9, 9, 9));
    EXPECT_EQ(tree.root()->count(), 2);
    // Marking the cell again replaces its pick-up.
    Vortel::Collectable* const again = tree.addCollectableObject(Cell(1, 2, 3));
    EXPECT_EQ(cell.collectable(), again);
    EXPECT_EQ(tree.root()->count(), 2);
}

TEST(OcTree, ReportsTrailCubesRoundACraft) {
    OcTree tree(5);
    const Cell at(0, 10, 10);
    const Cell forward(1, 0, 0);
    const Cell up(0, 1, 0);
    // Left = up x forward = -z, right = +z.
    tree.setTerminalNode(Cell(0, 11, 10), OcTree::CELL_SOLID_1, 0);   // up
    tree.setTerminalNode(Cell(0, 10, 9), OcTree::CELL_SOLID_2, 0);    // left
    tree.setTerminalNode(Cell(1, 10, 10), OcTree::CELL_SOLID_1, 0);   // ahead
    tree.setTerminalNode(Cell(-1, 10, 10), OcTree::CELL_SOLID_1, 0);  // behind: not asked
    int count = -1;
    EXPECT_EQ(tree.getSurround(at, forward, up, &count),
              OcTree::SURROUND_UP | OcTree::SURROUND_LEFT | OcTree::SURROUND_AHEAD);
    EXPECT_EQ(count, 2);

    // Melting cubes, pick-ups and other solid kinds are no obstacles.
    tree.setTerminalNode(Cell(1, 10, 10), OcTree::SET_MELT, 0);
    tree.addCollectableObject(Cell(0, 9, 10));
    tree.setTerminalNode(Cell(0, 10, 11), OTHER_SOLID, 0);
    EXPECT_EQ(tree.getSurround(at, forward, up, nullptr), OcTree::SURROUND_UP | OcTree::SURROUND_LEFT);

    // Heading -y with up +x across the wrap: left = x * -y = -z, right = +z, down = -x.
    tree.setTerminalNode(Cell(31, 0, 10), OcTree::CELL_SOLID_2, 0);
    EXPECT_EQ(tree.getSurround(Cell(0, 0, 10), Cell(0, -1, 0), Cell(1, 0, 0), &count), OcTree::SURROUND_DOWN);
    EXPECT_EQ(count, 1);
}

TEST(OcTree, MeltsACubeOfCellsAndSparesPickUpsUnlessAsked) {
    crand::srand(7);
    OcTree tree(5);
    tree.meltSpeed(2.0f, 3.0f);
    tree.time(4.0);
    for (int z = 0; z < 32; ++z) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 32; ++x) {
                tree.setTerminalNode(Cell(x, y, z), OcTree::CELL_SOLID_1, 0);
            }
        }
    }
    tree.melt(Cell(16, 3, 16), -1, false);
    EXPECT_EQ(cellsOfKind(tree, OcTree::CELL_MELTING), 0);
    tree.melt(Cell(16, 3, 16), 0, false);
    EXPECT_EQ(cellsOfKind(tree, OcTree::CELL_MELTING), 1);
    const Node& centre = *tree.getTerminalNode(Cell(16, 3, 16));
    EXPECT_EQ(centre.count(), OcTree::CELL_MELTING);
    EXPECT_EQ(centre.lastTime(), 4.0);
    EXPECT_GE(centre.coolingOrMeltSpeed(), 2.0f);
    EXPECT_LE(centre.coolingOrMeltSpeed(), 3.0f);

    // Radius 2 round a corner of the field reaches across the wrap: 5 x 5 x 5 cells.
    tree.addCollectableObject(Cell(30, 4, 1));
    tree.melt(Cell(31, 3, 31), 2, false);
    EXPECT_EQ(cellsOfKind(tree, OcTree::CELL_MELTING), 1 + 124);
    EXPECT_NE(tree.getTerminalNode(Cell(30, 4, 1))->collectable(), nullptr);
    tree.melt(Cell(31, 3, 31), 2, true);
    EXPECT_EQ(cellsOfKind(tree, OcTree::CELL_MELTING), 1 + 125);
    EXPECT_EQ(tree.getTerminalNode(Cell(30, 4, 1))->collectable(), nullptr);
    EXPECT_EQ(tree.root()->count(), 32 * 8 * 32);
    EXPECT_TRUE(consistent(tree));
}

TEST(OcTree, MeltAllMeltsEveryTrailCubeAndLeavesPickUps) {
    OcTree tree(4);
    tree.setTerminalNode(Cell(0, 0, 0), OcTree::CELL_SOLID_1, 0);
    tree.setTerminalNode(Cell(15, 15, 15), OcTree::CELL_SOLID_2, 0);
    tree.setTerminalNode(Cell(8, 8, 8), OTHER_SOLID, 0);
    tree.addCollectableObject(Cell(4, 4, 4));
    tree.meltAll();
    EXPECT_EQ(cellsOfKind(tree, OcTree::CELL_MELTING), 3);
    EXPECT_NE(tree.getTerminalNode(Cell(4, 4, 4))->collectable(), nullptr);
    EXPECT_EQ(cellsOfKind(tree, OcTree::CELL_EMPTY), 16 * 16 * 16 - 4);
}

TEST(OcTree, ReplacesTrailColoursAndZeroesThoseMissingFromTheMap) {
    OcTree tree(3);
    tree.setTerminalNode(Cell(1, 0, 0), OcTree::CELL_SOLID_1, 5);
    tree.setTerminalNode(Cell(2, 0, 0), OcTree::CELL_SOLID_2, 9);
    tree.setTerminalNode(Cell(3, 0, 0), OTHER_SOLID, 5);
    tree.setTerminalNode(Cell(4, 0, 0), OcTree::CELL_SOLID_1, 5);
    tree.setTerminalNode(Cell(4, 0, 0), OcTree::SET_MELT, 0);
    tree.replaceTrailColors({{5, 7}, {7, 1}});
    EXPECT_EQ(tree.getTerminalNode(Cell(1, 0, 0))->colorIndex(), 7);
    EXPECT_EQ(tree.getTerminalNode(Cell(2, 0, 0))->colorIndex(), 0);
    EXPECT_EQ(tree.getTerminalNode(Cell(3, 0, 0))->colorIndex(), 5);
    EXPECT_EQ(tree.getTerminalNode(Cell(4, 0, 0))->colorIndex(), 5);
}

TEST(OcTree, RayHitsFilledCellsAlongARowForTheCallerToSort) {
    OcTree tree(5);
    tree.setTerminalNode(Cell(10, 5, 5), OcTree::CELL_SOLID_1, 0);
    tree.setTerminalNode(Cell(3, 5, 5), OcTree::CELL_SOLID_2, 0);
    tree.setTerminalNode(Cell(6, 5, 5), OTHER_SOLID, 0);
    tree.setTerminalNode(Cell(12, 5, 5), OcTree::CELL_SOLID_1, 0);
    tree.setTerminalNode(Cell(12, 5, 5), OcTree::SET_MELT, 0);
    tree.addCollectableObject(Cell(14, 5, 5));
    tree.setTerminalNode(Cell(8, 6, 5), OcTree::CELL_SOLID_1, 0);  // beside the row

    std::list<OcTree::NodeHitInfo> hits;
    const Ray3<float> ray{Vector3<float>(-2.0f, 5.5f, 5.5f), Vector3<float>(1.0f, 0.0f, 0.0f)};
    tree.root()->rayHit(ray, hits);
    ASSERT_EQ(hits.size(), 3u);
    hits.sort();
    std::vector<int> xs;
    for (const OcTree::NodeHitInfo& hit : hits) {
        xs.push_back(hit.node->box().min.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{3, 6, 10}));
    EXPECT_FLOAT_EQ(hits.front().offset.x, 5.5f);
    EXPECT_FLOAT_EQ(hits.front().offset.y, 0.0f);
    EXPECT_FLOAT_EQ(hits.front().distanceSq, 30.25f);

    // Nothing ahead of a ray pointing away from the cells.
    hits.clear();
    tree.root()->rayHit(Ray3<float>{Vector3<float>(-2.0f, 5.5f, 5.5f), Vector3<float>(-1.0f, 0.0f, 0.0f)}, hits);
    EXPECT_TRUE(hits.empty());

    // Into a vector: the same cells in the same order.
    tree.root()->rayHit(ray, hits);
    std::vector<OcTree::NodeHitInfo> inVector;
    tree.root()->rayHit(ray, inVector);
    ASSERT_EQ(inVector.size(), hits.size());
    auto listed = hits.begin();
    for (const OcTree::NodeHitInfo& hit : inVector) {
        EXPECT_EQ(hit.node, listed->node);
        EXPECT_EQ(hit.distanceSq, listed->distanceSq);
        ++listed;
    }
}

TEST(OcTree, ClearEmptiesEveryCellAndStampsTheTime) {
    OcTree tree(4);
    tree.setTerminalNode(Cell(1, 1, 1), OcTree::CELL_SOLID_1, 6);
    tree.setTerminalNode(Cell(1, 2, 1), OcTree::CELL_SOLID_1, 6);
    tree.addCollectableObject(Cell(7, 7, 7));
    tree.root()->clear(2.5);
    EXPECT_EQ(tree.root()->count(), 0);
    const Node& cell = *tree.getTerminalNode(Cell(1, 1, 1));
    EXPECT_EQ(cell.count(), OcTree::CELL_EMPTY);
    EXPECT_EQ(cell.neighbours(), 0);
    EXPECT_EQ(cell.lastTime(), 2.5);
    EXPECT_EQ(cell.colorIndex(), 6);
    EXPECT_EQ(tree.getTerminalNode(Cell(7, 7, 7))->collectable(), nullptr);
    EXPECT_TRUE(consistent(tree));
}
