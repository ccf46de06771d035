// Pick-ups: the weighted kinds of pick-ups and chasers, placing a pick-up and collecting it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/pickuppoints.h"
#include "tests/game/game_fixture.h"
#include "world/mesh.h"

namespace {

using Vortel::Game;
using Vortel::OcTree;
using PickupsGL = testgame::GameFixture;

TEST(Pickups, AScorePickupHolds500ForTheLowerHalfOfTheDraws) {
    int high = 0;
    for (int r = 0; r <= 32767; ++r) {
        const int points = Vortel::scorePickupPoints(r);
        ASSERT_TRUE(points == 500 || points == 250) << r;
        high += points == 500 ? 1 : 0;
    }
    EXPECT_EQ(high, 16384);
    EXPECT_EQ(Vortel::scorePickupPoints(16383), 500);
    EXPECT_EQ(Vortel::scorePickupPoints(16384), 250);
}

template <typename T>
std::vector<std::pair<int, float> > entriesOf(const RandWeighted<T>& chooser) {
    std::vector<std::pair<int, float> > entries;
    for (const auto& e : chooser.entries()) {
        entries.emplace_back(static_cast<int>(e.value), e.weight);
    }
    return entries;
}

TEST_F(PickupsGL, TheSetUpsFillTheChoosersOnceInTheirOrder) {
    testgame::TestGame& g = game();
    const std::vector<std::pair<int, float> > pickups = {{1, 1.0f}, {2, 1.0f}, {3, 1.0f}, {4, 0.1f}};
    const std::vector<std::pair<int, float> > chasers = {{0, 1.0f}, {1, 1.0f}, {2, 1.0f}, {3, 1.0f}};
    for (int run = 0; run < 2; ++run) {
        g.setupCollectables();
        g.setupBots();
        EXPECT_EQ(entriesOf(g._collectableTypeGenerator), pickups);
        EXPECT_EQ(g._collectableTypeGenerator.totalWeight(), 1.0f + 1.0f + 1.0f + 0.1f);
        EXPECT_EQ(entriesOf(g._botTypeGenerator), chasers);
        EXPECT_EQ(g._botTypeGenerator.totalWeight(), 4.0f);
    }
    EXPECT_EQ(g._collectableTypeGenerator.valueAt(1.0), Game::COLLECTABLE_SCORE);
    EXPECT_EQ(g._collectableTypeGenerator.valueAt(3.0), Game::COLLECTABLE_AMMO);
    EXPECT_EQ(g._collectableTypeGenerator.valueAt(3.05), Game::COLLECTABLE_EMP);
}

TEST_F(PickupsGL, PickupKindsAreSeededWithTheWholeSecondsRunAndChasersNever) {
    for (const auto& [runTime, seed] : {std::pair<double, unsigned>{2.9, 2}, {3.0, 3}}) {
        testgame::TestGame& g = game();
        g.totalTime(runTime);
        g.setupCollectables();
        RandWeighted<Game::CollectableType> expected;
        for (const auto& e : g._collectableTypeGenerator.entries()) {
            expected.addValue(e.value, e.weight);
        }
        expected.seed(seed);
        for (int i = 0; i < 50; ++i) {
            ASSERT_EQ(g._collectableTypeGenerator(), expected()) << runTime << ", draw " << i;
        }
        destroyGame();
    }

    testgame::TestGame& g = game();
    g.setupCollectables();
    g._collectableTypeGenerator.seed(2);
    int emp = 0;
    const int draws = 31000;
    for (int i = 0; i < draws; ++i) {
        const Game::CollectableType kind = g._collectableTypeGenerator();
        ASSERT_NE(kind, Game::COLLECTABLE_NONE);
        emp += kind == Game::COLLECTABLE_EMP ? 1 : 0;
    }
    EXPECT_NEAR(static_cast<double>(emp) / draws, 0.032, 0.005);

    std::vector<Game::botType> kinds[2];
    for (std::vector<Game::botType>& run : kinds) {
        destroyGame();
        testgame::TestGame& fresh = game();
        fresh.setupBots();
        for (int i = 0; i < 20; ++i) {
            run.push_back(fresh._botTypeGenerator());
        }
    }
    EXPECT_EQ(kinds[0], kinds[1]);
    EXPECT_NE(std::count(kinds[0].begin(), kinds[0].end(), kinds[0].front()), 20);
}

TEST_F(PickupsGL, APlacedPickupHoldsOneAmountOfItsKind) {
    Vortel::Mesh meshes[4];
    struct Case {
        Game::CollectableType kind;
        Vortel::Mesh* mesh;
        int score;
        int shields;
        int ammo;
        int bombs;
    };
    const Case cases[] = {
        {Game::COLLECTABLE_SCORE, &meshes[0], -1, 0, 0, 0},
        {Game::COLLECTABLE_SHIELDS, &meshes[1], 0, 5, 0, 0},
        {Game::COLLECTABLE_AMMO, &meshes[2], 0, 0, 50, 0},
        {Game::COLLECTABLE_EMP, &meshes[3], 0, 0, 0, 1},
    };
    testgame::TestGame& g = game();
    g._scorePickupMesh = &meshes[0];
    g._shieldsPickupMesh = &meshes[1];
    g._ammoPickupMesh = &meshes[2];
    g._empPickupMesh = &meshes[3];
    g._timeStretch = 0.2f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        g._collectableTypeGenerator = RandWeighted<Game::CollectableType>();
        g._collectableTypeGenerator.addValue(c.kind, 1.0f);
        const Vector3<int> cell(5, 6, 7 + 32);  // wrapped into the field
        g.addCollectable(cell);
        const OcTree::Node& node = *g._octree.getTerminalNode(cell);
        ASSERT_EQ(node.count(), OcTree::CELL_COLLECTABLE);
        const Vortel::Collectable& pickup = *node.collectable();
        if (c.score < 0) {
            EXPECT_TRUE(pickup._scoreAmount == 250 || pickup._scoreAmount == 500) << pickup._scoreAmount;
        } else {
            EXPECT_EQ(pickup._scoreAmount, c.score);
        }
        EXPECT_EQ(pickup._shieldAmount, c.shields);
        EXPECT_EQ(pickup._ammoAmount, c.ammo);
        EXPECT_EQ(pickup._bombAmount, c.bombs);
        EXPECT_EQ(pickup._mesh, c.mesh);
        EXPECT_EQ(pickup._amountScale, 1.0f);
        EXPECT_NEAR(pickup._lifeTime, 75.0, 1e-5);
    }

    g._collectableTypeGenerator = RandWeighted<Game::CollectableType>();
    g._collectableTypeGenerator.addValue(Game::COLLECTABLE_NONE, 1.0f);
    const Vector3<int> elsewhere(20, 20, 20);
    g.addCollectable(elsewhere);
    EXPECT_EQ(g._octree.getTerminalNode(elsewhere)->count(), OcTree::CELL_EMPTY);
    EXPECT_EQ(g._octree.getTerminalNode(elsewhere)->collectable(), nullptr);
}

TEST_F(PickupsGL, CollectingAnnouncesEveryAmountAndEmptiesTheCell) {
    struct Case {
        int state;
        int score;
        int shields;
        int ammo;
        int bombs;
        std::string text;
        std::string word;
    };
    const Case cases[] = {
        {Game::STATE_PLAY, 0, 5, 0, 0, "SHIELDS +5\n", "shields"},
        {Game::STATE_PLAY, 0, 0, 50, 0, "AMMO +50\n", "ammo"},
        {Game::STATE_PLAY, 0, 0, 0, 1, "EMP +1\n", "emp"},
        {Game::STATE_GAME_OVER, 500, 0, 0, 0, "SCORE +500\n", "score"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        testgame::TestGame& g = game();
        g._state = c.state;
        g._voiceVolume = 51;
        g._effectsVolume = 204;
        g._player._hitpoints = 48.5f;
        g._gun.ammo(980);
        g._bombs = 9;
        const Vector3<int> cell(3, 4, 5);
        Vortel::Collectable& pickup = *g._octree.addCollectableObject(cell);
        pickup._scoreAmount = c.score;
        pickup._shieldAmount = c.shields;
        pickup._ammoAmount = c.ammo;
        pickup._bombAmount = c.bombs;
        g.collectCollectable(Vector3<int>(cell.x - 32, cell.y, cell.z));

        EXPECT_EQ(g._message._text.str(), c.text);
        EXPECT_EQ(g._message.holdTime(), 1.0);
        EXPECT_EQ(g._message.fadeTime(), 1.0);
        EXPECT_EQ(g.sounds, (std::vector<std::string>{c.word, "pickup"}));
        EXPECT_EQ(g.volumes, (std::vector<unsigned char>{51, 204}));
        EXPECT_FLOAT_EQ(g._player._hitpoints, c.shields != 0 ? 50.0f : 48.5f);
        EXPECT_EQ(g._gun.ammo(), c.ammo != 0 ? 999 : 980);
        EXPECT_EQ(g._bombs, 9);
        EXPECT_EQ(g._score, 0u);
        EXPECT_EQ(g._octree.getTerminalNode(cell)->count(), OcTree::CELL_EMPTY);
        EXPECT_EQ(g._octree.getTerminalNode(cell)->collectable(), nullptr);

        // Nothing left to collect: nothing happens.
        g.collectCollectable(cell);
        EXPECT_EQ(g.sounds.size(), 2u);
        destroyGame();
    }
}

}  // namespace
