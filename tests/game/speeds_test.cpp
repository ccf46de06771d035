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

TEST_F(SpeedsGL, PresetsDifferInTimeStretchAndAreFoundByKeyOrExactName) {
    Game& g = game();
    g.setupSpeeds();
    std::string names;
    for (const auto& [key, speed] : g._gameSpeeds) {
        names += key + "=" + speed.name + " " + std::to_string(speed.timeStretch).substr(0, 3) + ";";
        EXPECT_EQ(std::vector<float>({speed.velocity, speed.velocityMult, speed.chaserFactor, speed.chaserSpread,
                                      speed.trailCooling}),
                  std::vector<float>({5.0f, 3.0f, 1.5f, 0.1f, 8.0f}));
    }
    EXPECT_EQ(names, "fast=FAST 1.4;insane=INSANE 1.8;normal=NORMAL 1.0;slow=SLOW 0.6;veryslow=VERY SLOW 0.2;");
    EXPECT_EQ(g._currentGameSpeed->first, "normal");
    EXPECT_FLOAT_EQ(g._octree.trailCoolingTime(), 8.0f);
    EXPECT_FLOAT_EQ(g._octree.meltSpeedMin(), 1.0f);
    EXPECT_FLOAT_EQ(g._octree.meltSpeedMax(), 4.0f);
    EXPECT_FLOAT_EQ(g._player._baseVelocity, 5.0f);
    EXPECT_FLOAT_EQ(g._player._velocityMult, 3.0f);

    struct Case {
        const char* which;
        bool applies;
        const char* key;  // the preset in force afterwards
        float cooling;
    };
    for (const Case& c : {Case{"INSANE", true, "insane", 8.0f / 1.8f}, Case{"veryslow", true, "veryslow", 40.0f},
                          Case{"FAST", true, "fast", 8.0f / 1.4f}, Case{"", false, "fast", 8.0f / 1.4f},
                          Case{"Insane", false, "fast", 8.0f / 1.4f}, Case{"turbo", false, "fast", 8.0f / 1.4f}}) {
        SCOPED_TRACE(c.which);
        g._octree.meltSpeed(2.0f, 3.0f);
        g.applyGameSpeed(c.which);
        EXPECT_EQ(g._currentGameSpeed->first, c.key);
        EXPECT_FLOAT_EQ(g._timeStretch, g._currentGameSpeed->second.timeStretch);
        EXPECT_FLOAT_EQ(g._octree.trailCoolingTime(), c.cooling);
        EXPECT_FLOAT_EQ(g._octree.meltSpeedMax(), c.applies ? 4.0f : 3.0f);
    }
}

TEST_F(SpeedsGL, EveryChaserDrawsOneSpreadSpeedAndTakesTheStretch) {
    Game& g = game();
    g.setupSpeeds();
    for (int i = 0; i < 20; ++i) {
        g._bots.push_back(new Vortel::Bot("chaser", Vector3<int>(i, 4, 4), Vector3<int>::Z_MINUS,
                                          Vector3<int>::Y_PLUS, 1.0f, g._octree));
    }
    g._bots.front()->die(5.0);  // the dead are retuned as well

    crand::srand(1234);
    std::vector<int> draws(21);
    for (int& draw : draws) {
        draw = crand::rand();
    }
    crand::srand(1234);
    g.applyGameSpeed("slow");
    EXPECT_EQ(crand::rand(), draws[20]) << "one draw per chaser";
    std::size_t i = 0;
    for (const Vortel::Bot* bot : g._bots) {
        EXPECT_NEAR(bot->_baseVelocity, 7.5f + static_cast<float>(draws[i]) * 1.5f / 32767.0f - 0.75f, 1e-4f);
        EXPECT_TRUE(bot->_baseVelocity >= 6.75f && bot->_baseVelocity <= 8.25f);
        EXPECT_DOUBLE_EQ(bot->_timeStretchFactor, static_cast<double>(0.6f));
        ++i;
    }
}

TEST_F(SpeedsGL, BoostTuningAndOneScoreTablePerSpeed) {
    Game& g = game();
    g.setupSpeeding();
    EXPECT_DOUBLE_EQ(g._speedingDecay, 0.8);
    EXPECT_EQ(g._speedingRates, (std::vector<float>{1.5f, 0.5f, 0.25f, 0.125f, 0.075f}));

    g.init();  // the tables' font
    g.setupSpeeds();
    g.setupScoreTables();
    g.setupScoreTables();  // finds each table by name again
    const std::vector<std::vector<float> > titles = {
        {0.0f, 0.8f, 0.0f, 0.5f}, {0.2f, 0.5f, 1.0f, 0.5f}, {1.0f, 0.5f, 0.0f, 0.5f},
        {1.0f, 0.2f, 0.2f, 0.5f}, {1.0f, 0.2f, 1.0f, 0.5f}};
    std::string names;
    std::size_t i = 0;
    for (const Vortel::ScoreTable& table : g._scoreTables.tables()) {
        names += table.name() + ";";
        const RGBA<float>& c = table.nameColor();
        EXPECT_EQ(std::vector<float>({c.r, c.g, c.b, c.a}), titles.at(i++)) << table.name();
        EXPECT_EQ(std::vector<float>({table.nameOffset().x, table.nameOffset().y}), std::vector<float>({100, 10}));
        EXPECT_EQ(table.entries().size(), 20u);
        EXPECT_EQ(table.entries().back().name, "NOBODY");
    }
    EXPECT_EQ(names, "VERY SLOW;SLOW;NORMAL;FAST;INSANE;");
    EXPECT_EQ(g._scoreTables.currentTable()->name(), "INSANE");

    // A finished game looks its table up by the display name of its speed.
    for (const auto& preset : g._gameSpeeds) {
        g._scoreTables.currentTable(preset.second.name);
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
    EXPECT_NO_THROW(game()) << "the first game closed the library on its way out";
}

}  // namespace
