#include <gtest/gtest.h>

#include "actors/gamestate.h"
#include "world/octree.h"

using Vortel::Bot;
using Vortel::GameState;
using Vortel::OcTree;

// Spawned chasers are independent copies of the prototype, owned (and freed) by the state.
TEST(GameStateTest, SpawnKeepsIndependentCopiesOfThePrototype) {
    OcTree field(5);
    Bot prototype("proto", Vector3<int>(1, 2, 3), Vector3<int>(0, 0, 1), Vector3<int>(0, 1, 0), 2.0f, field);
    prototype.scoreShot(250);

    GameState state;
    state.spawn(Vector3<int>(9, 9, 9), prototype);
    state.spawn(Vector3<int>(0, 0, 0), prototype);
    ASSERT_EQ(state.spawnedBots().size(), 2u);

    prototype.scoreShot(10);
    const Bot& copy = *state.spawnedBots().front();
    EXPECT_EQ(copy.scoreShot(), 250);
    EXPECT_NE(&copy, state.spawnedBots().back().get());
}
