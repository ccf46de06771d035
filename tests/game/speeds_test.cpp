#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "actors/bot.h"
#include "platform/crand.h"
#include "tests/game/game_fixture.h"

namespace {

using Vortel::Game;
using SpeedsGL = testgame::GameFixture;

TEST_F(SpeedsGL, PresetsDifferOnlyInTimeStretchAndNormalIsApplied) {
    Game& g = game();
    g.setupSpeeds();

    const std::vector<std::string> keys = {"fast", "insane", "normal", "slow", "veryslow"};
    const std::vector<std::string> names = {"FAST", "INSANE", "NORMAL", "SLOW", "VERY SLOW"};
    const std::vector<float> stretches = {1.4f, 1.8f, 1.0f, 0.6f, 0.2f};
    ASSERT_EQ(g._gameSpeeds.size(), keys.size());
    std::size_t i = 0;
    for (const auto& [key, speed] : g._gameSpeeds) {
        SCOPED_TRACE(key);
        EXPECT_EQ(key, keys[i]);
        EXPECT_EQ(speed.name, names[i]);
        EXPECT_FLOAT_EQ(speed.timeStretch, stretches[i]);
        EXPECT_FLOAT_EQ(speed.velocity, 5.0f);
        EXPECT_FLOAT_EQ(speed.velocityMult, 3.0f);
        EXPECT_FLOAT_EQ(speed.chaserFactor, 1.5f);
        EXPECT_FLOAT_EQ(speed.chaserSpread, 0.1f);
        EXPECT_FLOAT_EQ(speed.trailCooling, 8.0f);
        ++i;
    }

    ASSERT_TRUE(g._currentGameSpeed != g._gameSpeeds.end());
    EXPECT_EQ(g._currentGameSpeed->first, "normal");
    EXPECT_FLOAT_EQ(g._timeStretch, 1.0f);
    EXPECT_FLOAT_EQ(g._octree.trailCoolingTime(), 8.0f);
    EXPECT_FLOAT_EQ(g._octree.meltSpeedMin(), 1.0f);
    EXPECT_FLOAT_EQ(g._octree.meltSpeedMax(), 4.0f);
    EXPECT_FLOAT_EQ(g._player._baseVelocity, 5.0f);
    EXPECT_FLOAT_EQ(g._player._velocityMult, 3.0f);
}

TEST_F(SpeedsGL, ASpeedIsFoundByKeyOrExactDisplayNameAndOtherwiseNothingChanges) {
    Game& g = game();
    g.setupSpeeds();
    struct Case {
        const char* which;
        const char* key;
        float cooling;
    };
    for (const Case& c : {Case{"INSANE", "insane", 8.0f / 1.8f}, Case{"veryslow", "veryslow", 40.0f},
                          Case{"SLOW", "slow", 8.0f / 0.6f}, Case{"fast", "fast", 8.0f / 1.4f}}) {
        SCOPED_TRACE(c.which);
        g.applyGameSpeed(c.which);
        EXPECT_EQ(g._currentGameSpeed->first, c.key);
        EXPECT_FLOAT_EQ(g._timeStretch, g._currentGameSpeed->second.timeStretch);
        EXPECT_FLOAT_EQ(g._octree.trailCoolingTime(), c.cooling);
    }

    for (const char* unknown : {"", "Insane", "turbo", "VERY  SLOW"}) {
        SCOPED_TRACE(unknown);
        g._octree.meltSpeed(2.0f, 3.0f);
        g.applyGameSpeed(unknown);
        EXPECT_EQ(g._currentGameSpeed->first, "fast");
        EXPECT_FLOAT_EQ(g._timeStretch, 1.4f);
        EXPECT_FLOAT_EQ(g._octree.trailCoolingTime(), 8.0f / 1.4f);
        EXPECT_FLOAT_EQ(g._octree.meltSpeedMin(), 2.0f);
    }
}

TEST_F(SpeedsGL, EveryChaserDrawsOneSpreadSpeedAndTakesTheStretch) {
    Game& g = game();
    g.setupSpeeds();
    for (int i = 0; i < 20; ++i) {
        g._bots.push_back(new Vortel::Bot("chaser", Vector3<int>(i, 4, 4), Vector3<int>::Z_MINUS,
                                          Vector3<int>::Y_PLUS, 1.0f, g._octree));
        g._bots.back()->timeStretch(3.0);
    }
    g._bots.front()->die(5.0);  // dead chasers are retuned as well

    crand::srand(1234);
    std::vector<int> draws;
    for (int i = 0; i < 21; ++i) {
        draws.push_back(crand::rand());
    }
    crand::srand(1234);
    g.applyGameSpeed("slow");
    EXPECT_EQ(crand::rand(), draws[20]) << "one draw per chaser";

    std::size_t i = 0;
    for (const Vortel::Bot* bot : g._bots) {
        SCOPED_TRACE(i);
        EXPECT_GE(bot->_baseVelocity, 6.75f);
        EXPECT_LE(bot->_baseVelocity, 8.25f);
        EXPECT_NEAR(bot->_baseVelocity, 7.5f + static_cast<float>(draws[i]) * 1.5f / 32767.0f - 0.75f, 1e-4f);
        EXPECT_DOUBLE_EQ(bot->_timeStretchFactor, static_cast<double>(0.6f));
        ++i;
    }
}

TEST_F(SpeedsGL, BoostTuningAndOneScoreTablePerSpeed) {
    Game& g = game();
    g._speedingRates[2] = 9.0f;
    g.setupSpeeding();
    EXPECT_DOUBLE_EQ(g._speedingDecay, 0.8);
    EXPECT_EQ(g._speedingRates, (std::vector<float>{1.5f, 0.5f, 0.25f, 0.125f, 0.075f}));
    EXPECT_EQ(g._speedingMaxLevel, 5);

    g.init();  // the tables' font
    g.setupSpeeds();
    g.setupScoreTables();
    g.setupScoreTables();  // finds each table by name again

    struct Expected {
        const char* name;
        RGBA<float> title;
    };
    const Expected expected[] = {
        {"VERY SLOW", RGBA<float>(0.0f, 0.8f, 0.0f, 0.5f)}, {"SLOW", RGBA<float>(0.2f, 0.5f, 1.0f, 0.5f)},
        {"NORMAL", RGBA<float>(1.0f, 0.5f, 0.0f, 0.5f)},   {"FAST", RGBA<float>(1.0f, 0.2f, 0.2f, 0.5f)},
        {"INSANE", RGBA<float>(1.0f, 0.2f, 1.0f, 0.5f)},
    };
    ASSERT_EQ(g._scoreTables.tables().size(), 5u);
    auto table = g._scoreTables.tables().begin();
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(table->name(), e.name);
        EXPECT_EQ(table->entries().size(), 20u);
        for (const Vortel::ScoreTable::Entry& entry : table->entries()) {
            EXPECT_EQ(entry.name, "NOBODY");
        }
        EXPECT_FLOAT_EQ(table->nameOffset().x, 100.0f);
        EXPECT_FLOAT_EQ(table->nameOffset().y, 10.0f);
        EXPECT_FLOAT_EQ(table->nameColor().r, e.title.r);
        EXPECT_FLOAT_EQ(table->nameColor().g, e.title.g);
        EXPECT_FLOAT_EQ(table->nameColor().b, e.title.b);
        EXPECT_FLOAT_EQ(table->nameColor().a, e.title.a);
        ++table;
    }
    EXPECT_EQ(g._scoreTables.currentTable()->name(), "INSANE");

    // A finished game looks its table up by the display name of its speed.
    for (const auto& preset : g._gameSpeeds) {
        ASSERT_NE(g._scoreTables.currentTable(preset.second.name), nullptr);
        EXPECT_EQ(g._scoreTables.currentTable()->name(), preset.second.name);
    }
    EXPECT_EQ(g._scoreTables.tables().size(), 5u);
}

TEST_F(SpeedsGL, TheSoundLibraryStartsOncePerGame) {
    Game& g = game();
    try {
        g.setupFmodSound();
        FAIL() << "a second start of the open library went through";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot initialize fsound");
    }
    destroyGame();
    // The first game closed the library on its way out.
    EXPECT_NO_THROW(game());
}

}  // namespace
