// Chasers entering, dying and coming back; the EMP blast; the chasers' explosions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "actors/bot.h"
#include "tests/game/game_fixture.h"
#include "world/botexplosion.h"

namespace {

using Vortel::Bot;
using Vortel::Game;
using Vortel::OcTree;
using ChasersGL = testgame::GameFixture;

// A game with its speeds and textures at hand, as after loading.
testgame::TestGame& readyGame(testgame::TestGame& g) {
    g._bitmapManager.addPath("textures");
    g.setupSpeeds();
    return g;
}

Bot* addChaser(Game& g, const Vector3<int>& cell, const Vector3<int>& forward = Vector3<int>::Z_MINUS) {
    const std::string name = "chaser" + std::to_string(g._bots.size());
    Bot* bot = new Bot(name, cell, forward, Vector3<int>::Y_PLUS, 0.001f, g._octree);
    bot->scoreShot(250);
    bot->scoreBurn(500);
    g._bots.push_back(bot);
    ++g._liveBotCount;
    return bot;
}

long count(const std::vector<std::string>& sounds, const std::string& name) {
    return std::count(sounds.begin(), sounds.end(), name);
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST_F(ChasersGL, AddBotTunesEveryKindByLevel) {
    struct Case {
        Game::botType kind;
        int level;
        const char* type;
        int hitpoints;
        float avoidCrash;
        int movesMin, movesMax;
        RGBA<float> color;
        float speed;  // the middle of the spread
    };
    const Case cases[] = {
        {Game::BOT_ROCKER, 0, "ROCKER", 8, 0.85f, 10, 20, RGBA<float>(0.6f, 0.5f, 0.6f, 1.0f), 7.5f},
        {Game::BOT_THIEF, 0, "THIEF", 8, 0.5f, 8, 22, RGBA<float>(0.5f, 0.65f, 0.5f, 1.0f), 7.5f},
        {Game::BOT_DOVE, 0, "DOVE", 10, 0.05f, 20, 31, RGBA<float>(0.65f, 0.5f, 0.5f, 1.0f), 7.5f * 1.1f},
        {Game::BOT_SHIVA, 0, "SHIVA", 6, 1.0f, 5, 15, RGBA<float>(0.5f, 0.5f, 0.6f, 1.0f), 7.5f * 0.85f},
        {Game::BOT_THIEF, 10, "THIEF", 8, 0.5f, 3, 31, RGBA<float>(0.5f, 0.65f, 0.5f, 1.0f), 10.0f},
        {Game::BOT_SHIVA, 10, "SHIVA", 6, 1.0f, 3, 5, RGBA<float>(0.5f, 0.5f, 0.6f, 1.0f), 10.0f * 0.85f},
    };
    testgame::TestGame& g = readyGame(game());
    g._hitColor = RGBA<float>(0.1f, 0.2f, 0.3f, 1.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + std::to_string(c.level));
        g._botTypeGenerator = RandWeighted<Game::botType>();
        g._botTypeGenerator.addValue(c.kind, 1.0f);
        g._botLevel = c.level;
        for (int i = 0; i < 20; ++i) {
            g.addBot();
            const Bot& bot = *g._bots.back();
            EXPECT_EQ(bot.type(), c.type);
            EXPECT_EQ(bot._hitpoints, static_cast<float>(c.hitpoints));
            EXPECT_EQ(bot.hitpointsMax(), c.hitpoints);
            EXPECT_EQ(bot._avoidCrash, c.avoidCrash);
            EXPECT_EQ(bot._straightMovesMin, c.movesMin);
            EXPECT_EQ(bot._straightMovesMax, c.movesMax);
            EXPECT_EQ(bot._baseColor, c.color);
            EXPECT_EQ(bot._hitColor, g._hitColor);
            EXPECT_EQ(bot.scoreShot(), 250);
            EXPECT_EQ(bot.scoreBurn(), 500);
            EXPECT_EQ(bot._recoveryTime, 0.12);
            EXPECT_EQ(bot._timeStretchFactor, 1.0);
            EXPECT_NEAR(bot._velocity, c.speed, c.speed * 0.1f + 1e-4f);
        }
    }
    EXPECT_EQ(g._liveBotCount, 120);
}

TEST_F(ChasersGL, EnteringChasersAreAnnouncedAndVoicedOncePerFrameInPlayOnly) {
    testgame::TestGame& g = readyGame(game());
    for (int state : {Game::STATE_PLAY, Game::STATE_MAIN_MENU}) {
        SCOPED_TRACE(state);
        g._state = state;
        g._message.clear();
        g.sounds.clear();
        g.frameTime(0.01);
        for (int frame = 0; frame < 2; ++frame) {
            g.stepWorld();
            for (int i = 0; i < 3; ++i) {
                g.addBot();
            }
        }
        EXPECT_EQ(occurrences(g._message._text.str(), "ENTER: "), 6);
        EXPECT_EQ(count(g.sounds, "chaserentered"), state == Game::STATE_PLAY ? 2 : 0);
    }
    EXPECT_NE(g._message._text.str().find("ENTER: " + g._bots.back()->_name + "\n"), std::string::npos);
}

TEST_F(ChasersGL, DeathsScoreAnnounceAndExplodeOnceEach) {
    testgame::TestGame& g = readyGame(game());
    g._state = Game::STATE_PLAY;
    g._speedLevelRounded = 3;
    Bot* cut = addChaser(g, Vector3<int>(10, 10, 10));
    Bot* shot = addChaser(g, Vector3<int>(20, 10, 10));
    Bot* blasted = addChaser(g, Vector3<int>(20, 20, 10));
    Bot* last = addChaser(g, Vector3<int>(20, 20, 20));
    g._octree.setTerminalNode(Vector3<int>(14, 14, 10), OcTree::CELL_SOLID_1, 0);
    g._aimedBot = shot;

    EXPECT_EQ(g.destroyBot(cut, Game::DEATH_CUTOFF), std::next(g._bots.begin()));
    EXPECT_EQ(g._octree.getTerminalNode(Vector3<int>(14, 14, 10))->count(), OcTree::CELL_MELTING);
    EXPECT_EQ(g.destroyBot(shot, Game::DEATH_SHOT), std::next(g._bots.begin(), 2));
    EXPECT_EQ(g._aimedBot, nullptr);
    g.destroyBot(blasted, Game::DEATH_EMP);
    // Dead already: only the next element.
    EXPECT_EQ(g.destroyBot(blasted, Game::DEATH_EMP), std::prev(g._bots.end()));
    EXPECT_EQ(g.destroyBot(last, Game::DEATH_SHOT), g._bots.end());

    const std::string text = g._message._text.str();
    EXPECT_NE(text.find("CUTOFF: " + cut->_name + " +1500\n"), std::string::npos) << text;
    EXPECT_NE(text.find("DESTROYED: " + shot->_name + " +250\n"), std::string::npos) << text;
    EXPECT_EQ(occurrences(text, "DESTROYED: "), 3);
    EXPECT_EQ(count(g.sounds, "chasercutoff"), 1);
    EXPECT_EQ(count(g.sounds, "chaserdestroyed"), 1);
    EXPECT_EQ(count(g.sounds, "explosion"), 4);
    EXPECT_EQ(g._botsDestroyedThisFrame, 3);
    EXPECT_EQ(g._deadBots, std::list<Bot*>({cut, shot, blasted, last}));
    EXPECT_EQ(g._liveBotCount, 0);
    EXPECT_EQ(g._explosions.size(), 4u);
    EXPECT_EQ(blasted->timeToRespawn(), 20.0);
}

TEST_F(ChasersGL, ChaserLevelWithTheCraftBesideItIsCutOffInPlayOnly) {
    testgame::TestGame& g = readyGame(game());
    g._playerActive = false;
    g.frameTime(0.001);
    const Vector3<int> craft = g._player._cell;  // heading -z, up +y
    struct Case {
        Vector3<int> cell;
        Vector3<int> forward;
        bool cut;
    };
    const Case cases[] = {
        {Vector3<int>(craft.x + 1, craft.y, craft.z), Vector3<int>::Z_MINUS, true},
        {Vector3<int>(craft.x - 1, craft.y, craft.z), Vector3<int>::Z_PLUS, true},
        {Vector3<int>(craft.x, craft.y - 1, craft.z), Vector3<int>::Z_PLUS, true},
        {Vector3<int>(craft.x + 1, craft.y, craft.z), Vector3<int>::X_PLUS, false},
        {Vector3<int>(craft.x, craft.y, craft.z - 1), Vector3<int>::Z_MINUS, false},
        {Vector3<int>(craft.x + 1, craft.y + 1, craft.z), Vector3<int>::Z_MINUS, false},
    };
    for (int state : {Game::STATE_PLAY, Game::STATE_MAIN_MENU}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(state) + " " + std::to_string(&c - cases));
            Bot* bot = addChaser(g, c.cell, c.forward);
            g._state = state;
            g.stepWorld();
            EXPECT_EQ(bot->dead(), c.cut && state == Game::STATE_PLAY);
            g.clearBots();
            g._liveBotCount = 0;
        }
    }
}

TEST_F(ChasersGL, DeadChaserReEntersAfterTwentySecondsOfItsTime) {
    testgame::TestGame& g = readyGame(game());
    g._state = Game::STATE_PLAY;
    g._playerActive = false;
    Bot* bot = addChaser(g, Vector3<int>(20, 20, 20));
    bot->_previousCell = Vector3<int>(25, 25, 25);
    g.destroyBot(bot, Game::DEATH_EMP);
    std::list<Bot*>::iterator end = g._deadBots.end();
    EXPECT_EQ(g.respawnBot(end), g._deadBots.end());
    EXPECT_EQ(g._liveBotCount, 0);

    g._message.clear();
    g.sounds.clear();
    g.frameTime(0.5);
    for (int i = 0; i < 40; ++i) {
        g.stepWorld();
    }
    EXPECT_TRUE(bot->dead());
    g.stepWorld();
    g.stepWorld();
    EXPECT_FALSE(bot->dead());
    EXPECT_TRUE(g._deadBots.empty());
    EXPECT_EQ(g._liveBotCount, 1);
    EXPECT_EQ(g._message._text.str(), "RE-ENTER: " + bot->_name + "\n");
    EXPECT_EQ(count(g.sounds, "chaserentered"), 1);
    // It comes back where its own update put it, with no trail from where it died.
    EXPECT_EQ(Vector3<int>(std::lround(bot->_pos.x), std::lround(bot->_pos.y), std::lround(bot->_pos.z)), bot->_cell);
    EXPECT_EQ(g._octree.getTerminalNode(Vector3<int>(25, 25, 25))->count(), OcTree::CELL_EMPTY);
}

TEST_F(ChasersGL, ClearBotsForgetsEveryChaserAndGivesTheCameraBackToTheCraft) {
    testgame::TestGame& g = readyGame(game());
    g._state = Game::STATE_MAIN_MENU;
    g._demoMode = true;
    g._waveBotCount = 3;
    for (int i = 0; i < 8 * 1024; ++i) {  // a quarter of the field: the demo moves on
        g._octree.setTerminalNode(Vector3<int>(i % 32, i / 32 % 32, i / 1024), OcTree::CELL_SOLID_1, 0);
    }
    g.addBot();
    g.addBot();
    g.destroyBot(g._bots.front(), Game::DEATH_EMP);
    g._aimedBot = g._bots.back();
    g._cameraSubject = g._bots.back();
    g._botInfoList.assign(g._bots.begin(), g._bots.end());
    g.clearBots();
    EXPECT_EQ(g._cameraSubject, &g._player);
    EXPECT_TRUE(g._bots.empty() && g._deadBots.empty() && g._botInfoList.empty());
    EXPECT_EQ(g._aimedBot, nullptr);

    // The demo's own reset at the last stage of a round, drawn frames on either side.
    g.addBot();
    g._cameraSubject = g._bots.front();
    g._stage = g._wavesPerRound;
    g._backgroundTime = 10.0;
    for (int i = 0; i < 3; ++i) {
        g.playFrame(0.01);
    }
    // Restarted at stage 3, the demo earns stage 4 in the same frame, with its chaser.
    EXPECT_EQ(g._stage, 4);
    EXPECT_EQ(g._bots.size(), 4u);
    EXPECT_EQ(g._cameraSubject, g._bots.front());
}

TEST_F(ChasersGL, EmpBlastMeltsTakesABombAndDestroysChasersInReach) {
    testgame::TestGame& g = readyGame(game());
    g._state = Game::STATE_PLAY;
    const Vector3<int> target(10, 10, 10);
    g._octree.setTerminalNode(target, OcTree::CELL_SOLID_1, 0);

    g._bombs = 0;
    g.bomb(target, 5);
    EXPECT_EQ(g.sounds, std::vector<std::string>({"weapon_empty"}));
    EXPECT_EQ(g._bombs, 0);
    EXPECT_EQ(g._octree.getTerminalNode(target)->count(), OcTree::CELL_SOLID_1);

    for (int mode : {Vortel::CAMERA_FOLLOW, Vortel::CAMERA_FIRST_PERSON}) {
        SCOPED_TRACE(mode);
        g.clearBots();
        g._liveBotCount = 0;
        g._cameraMode = mode;
        g._bombs = 3;
        g.sounds.clear();
        g._message._text << "OLD NEWS\n";
        // Reach 5 x 1.4 = 7: one at exactly 7 survives, one just inside goes, one across the
        // seam goes too.
        const Vector3<float> craft = g._player._pos;
        Bot* edge = addChaser(g, Vector3<int>(20, 20, 20));
        edge->_pos = Vector3<float>(craft.x + 7.0f, craft.y, craft.z);
        Bot* inside = addChaser(g, Vector3<int>(20, 20, 20));
        inside->_pos = Vector3<float>(craft.x, craft.y + 6.99f, craft.z);
        Bot* seam = addChaser(g, Vector3<int>(20, 20, 20));
        seam->_pos = Vector3<float>(craft.x, craft.y, craft.z - 4.0f + 32.0f);
        g.bomb(target, 5);
        EXPECT_EQ(g._bombs, 2);
        EXPECT_EQ(count(g.sounds, "emp_blast"), 1);
        EXPECT_EQ(g._octree.getTerminalNode(target)->count(), OcTree::CELL_MELTING);
        EXPECT_FALSE(edge->dead());
        EXPECT_TRUE(inside->dead());
        EXPECT_TRUE(seam->dead());
        EXPECT_EQ(g._message._text.str().rfind("DESTROYED: ", 0), 0u) << g._message._text.str();
        EXPECT_EQ(occurrences(g._message._text.str(), "DESTROYED: "), 2);
        g._shaker.animate(0.05);
        EXPECT_EQ(g._shaker.displacement() != Vector3<float>(), mode == Vortel::CAMERA_FIRST_PERSON);
        g._shaker.animate(1.0);
        g._octree.setTerminalNode(target, OcTree::SET_CLEAR, 0);
        g._octree.setTerminalNode(target, OcTree::CELL_SOLID_1, 0);
    }
    EXPECT_EQ(g.nearestWrappedPoint(Vector3<float>(31, 0, 0), Vector3<float>(1, 0, 0)), Vector3<float>(33, 0, 0));
    EXPECT_EQ(g.nearestWrappedPoint(Vector3<float>(0, 0, 0), Vector3<float>(31, 31, 31)), Vector3<float>(-1, -1, -1));
}

TEST_F(ChasersGL, ExplosionsHoldTheirDensityOfSparksAndTheTenNewest) {
    testgame::TestGame& g = readyGame(game());
    struct Case {
        float density;
        int particles;
    };
    for (const Case& c : {Case{0.5f, 85 + 50 + 185}, Case{1.0f, 640}, Case{0.0f, 0}}) {
        g._effectsParticleDensity = c.density;
        g.addExplosion(Vector3<float>(1.0f, 2.0f, 3.0f));
        const auto* explosion = dynamic_cast<const Vortel::BotExplosion*>(g._explosions.back());
        ASSERT_NE(explosion, nullptr);
        EXPECT_EQ(explosion->numParticles(), c.particles);
        EXPECT_EQ(explosion->blastCenter(), Vector3<float>(1.0f, 2.0f, 3.0f));
    }
    for (int i = 0; i < 7; ++i) {
        g.addExplosion(Vector3<float>(static_cast<float>(i), 0.0f, 0.0f));
    }
    const Vortel::Explosion* second = *std::next(g._explosions.begin());
    g.addExplosion(Vector3<float>());
    EXPECT_EQ(g._explosions.size(), 10u);
    EXPECT_EQ(g._explosions.front(), second);
}

}  // namespace
