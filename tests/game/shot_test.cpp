// The shot and the aim ray: what the gun hits, how hard, and the tracer it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "actors/bot.h"
#include "engine2d/sprite.h"
#include "platform/game_openglextensions.h"
#include "tests/game/game_fixture.h"
#include "tests/world/particlepool.h"
#include "world/botexplosion.h"
#include "world/meshchrome.h"

namespace {

using Vortel::Bot;
using Vortel::Game;
using Vortel::OcTree;
using ShotGL = testgame::GameFixture;

constexpr double FRAME = 0.001;  // the craft stays in its cell over a few frames

testgame::TestGame& readyGame(testgame::TestGame& g) {
    g._bitmapManager.addPath("textures");
    glext::setupMultitexturing();  // the chasers' chrome draws with two textures
    g._chaserMesh = g._meshChromeManager.get("mesh/shiva.obj");
    g._state = Game::STATE_PLAY;
    g._player._hitpoints = 1.0e6f;
    return g;
}

// Cells and chasers along the craft's heading from its cell (2, 2, 2), -z.
Vector3<int> ahead(int cells) { return Vector3<int>(2, 2, 2 - cells); }

Bot* addChaser(Game& g, const Vector3<int>& cell, float hitpoints = 8.0f) {
    Bot* bot = new Bot("chaser", cell, Vector3<int>::X_PLUS, Vector3<int>::Y_PLUS, 0.001f, g._octree);
    bot->mesh(g._chaserMesh);
    bot->_hitpoints = hitpoints;
    bot->scoreShot(250);
    g._bots.push_back(bot);
    ++g._liveBotCount;
    return bot;
}

int kindAt(OcTree& field, const Vector3<int>& cell) { return field.getTerminalNode(cell)->count(); }

long count(const std::vector<std::string>& sounds, const std::string& name) {
    return std::count(sounds.begin(), sounds.end(), name);
}

TEST_F(ShotGL, EveryShotSoundsAndMeltsACubeWithinReachInABurstOfSparks) {
    testgame::TestGame& g = readyGame(game());
    struct Case {
        int ammo;
        bool fired;  // through the gun, which spends a round; else a shot counted at that ammo
        float distanceSq;
        float density;
        const char* sound;
        int particles;  // 0: out of reach, nothing melts or explodes
    };
    const Case cases[] = {{0, false, 299.0f, 1.0f, "weapon_empty", 170},
                          {1, true, 300.0f, 1.0f, "weapon_empty", 0},
                          {5, true, 299.0f, 0.5f, "lazer", 85}};
    const Vector3<int> cell(10, 10, 10);
    const Vector3<int> beside(11, 9, 10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sound + std::to_string(c.ammo));
        g.clearExplosions();
        g.sounds.clear();
        g._effectsParticleDensity = c.density;
        for (const Vector3<int>& v : {cell, beside}) {
            g._octree.setTerminalNode(v, OcTree::SET_CLEAR, 0);
            g._octree.setTerminalNode(v, OcTree::CELL_SOLID_1, 0);
        }
        g._aimRayOrigin = Vector3<float>(0.0f, 0.0f, 0.0f);
        const OcTree::NodeHitInfo aimed{g._octree.getTerminalNode(cell), Vector3<float>(1, 2, 3), c.distanceSq};
        g._aimHits.assign(1, aimed);
        g._gun.ammo(c.ammo);
        if (c.fired) {
            g._gun.fire();
        } else {
            g._gun._shots = 1;
        }
        g.resolveShot();
        EXPECT_EQ(g.sounds.front(), c.sound);
        EXPECT_EQ(g._gun._shots, 0);
        const bool hit = c.particles > 0;
        EXPECT_EQ(kindAt(g._octree, cell), hit ? OcTree::CELL_MELTING : OcTree::CELL_SOLID_1);
        EXPECT_EQ(kindAt(g._octree, beside), hit ? OcTree::CELL_MELTING : OcTree::CELL_SOLID_1);
        EXPECT_EQ(count(g.sounds, "block_explode"), hit ? 1 : 0);
        ASSERT_EQ(g._explosions.size(), hit ? 1u : 0u);
        if (hit) {
            EXPECT_EQ(g._explosions.front()->numParticles(), c.particles);
            EXPECT_EQ(g._explosions.front()->blastCenter(), Vector3<float>(1, 2, 3));
        }
    }
}

TEST_F(ShotGL, AChaserHitLosesAPointOrDiesAndShotsKeepEightExplosions) {
    testgame::TestGame& g = readyGame(game());
    g._effectsParticleDensity = 1.0f;
    for (int i = 0; i < 9; ++i) {
        g.addExplosion(Vector3<float>());
    }
    Bot* last = addChaser(g, Vector3<int>(20, 20, 20), 1.0f);
    Bot* tough = addChaser(g, Vector3<int>(25, 20, 20), 8.0f);
    const Vector3<float> local(0.1f, 0.2f, 0.3f);
    const Vector3<float> normal(0.0f, 1.0f, 0.0f);
    const Vector3<float> tangent(1.0f, 0.0f, 0.0f);
    const Vector3<float> world(25.1f, 20.2f, 20.3f);

    g._aimedBot = tough;
    g._aimedBotGeometry = {local, normal, tangent, world};
    g._gun._shots = 1;
    g.resolveShot();
    EXPECT_EQ(tough->_hitpoints, 7.0f);
    EXPECT_EQ(count(g.sounds, "bullet_hit"), 1);
    ASSERT_EQ(tough->_bulletHoles.holes().size(), 1u);
    EXPECT_EQ(tough->_bulletHoles.holes().front().pos, local);
    EXPECT_EQ(tough->_bulletHoles.holes().front().normal, normal);
    ASSERT_EQ(g._explosions.size(), 8u);
    EXPECT_EQ(g._explosions.back()->numParticles(), 70);
    EXPECT_EQ(g._explosions.back()->blastCenter(), world);

    const Vortel::Explosion* newest = g._explosions.back();
    g._aimedBot = last;
    g._aimPoint = world;
    g._gun._shots = 1;
    g.resolveShot();
    EXPECT_TRUE(last->dead());
    EXPECT_TRUE(last->_bulletHoles.holes().empty());
    EXPECT_EQ(g._deadBots.size(), 1u);
    // The chaser's death leaves its own explosion, not a hit's sparks.
    EXPECT_NE(dynamic_cast<const Vortel::BotExplosion*>(g._explosions.back()), nullptr);
    EXPECT_EQ(*std::prev(g._explosions.end(), 2), newest);
}

TEST_F(ShotGL, TheAimRayFindsTheNearestThingUnderTheCrossHair) {
    testgame::TestGame& g = readyGame(game());
    g._octree.setTerminalNode(ahead(3), OcTree::CELL_SOLID_1, 0);
    g._octree.setTerminalNode(ahead(9), OcTree::CELL_SOLID_1, 0);
    g.playFrame(FRAME);
    ASSERT_GE(g._aimHits.size(), 2u);
    EXPECT_EQ(g._aimHits.front().node, g._octree.getTerminalNode(ahead(3)));
    EXPECT_NEAR(g._aimHits.front().distanceSq, 9.0f, 0.1f);
    EXPECT_TRUE(std::is_sorted(g._aimHits.begin(), g._aimHits.end()));
    EXPECT_EQ(g._aimedBot, nullptr);

    // Two chasers in front of the cube at 8, the far one listed first: the near one is aimed.
    g._octree.setTerminalNode(ahead(3), OcTree::SET_CLEAR, 0);
    g._octree.setTerminalNode(ahead(8), OcTree::CELL_SOLID_1, 0);
    Bot* far = addChaser(g, ahead(6));
    Bot* near = addChaser(g, ahead(4));
    g.playFrame(FRAME);
    EXPECT_EQ(g._aimedBot, near);
    EXPECT_NEAR(g._aimPoint.z, -2.0f, 1.0f);
    g._gun._shots = 1;
    g.playFrame(FRAME);
    EXPECT_EQ(near->_hitpoints, 7.0f);
    EXPECT_EQ(far->_hitpoints, 8.0f);
    EXPECT_EQ(kindAt(g._octree, ahead(8)), OcTree::CELL_SOLID_1);

    // A cube in front of the chasers takes the aim from them.
    g._octree.setTerminalNode(ahead(2), OcTree::CELL_SOLID_1, 0);
    g.playFrame(FRAME);
    EXPECT_EQ(g._aimedBot, nullptr);
    EXPECT_EQ(g._aimHits.front().node, g._octree.getTerminalNode(ahead(2)));
}

TEST_F(ShotGL, TheCursorAimsUnlessMouselookHoldsTheAimAtTheCentre) {
    testgame::TestGame& g = readyGame(game());
    g._aimCursorSprite = std::make_unique<Stelkor::Sprite>();
    g._octree.setTerminalNode(ahead(3), OcTree::CELL_SOLID_1, 0);
    for (bool mouselook : {false, true}) {
        SCOPED_TRACE(mouselook);
        g._mouselookHeld = mouselook;
        g._aimCursorSprite->pos(Vector2<float>(5.0f, 5.0f));
        g.playFrame(FRAME);
        const bool centre = !g._aimHits.empty() && g._aimHits.front().node == g._octree.getTerminalNode(ahead(3));
        EXPECT_EQ(centre, mouselook);
        EXPECT_EQ(g._aimRayDirection.z < -0.99f, mouselook);
    }
}

TEST_F(ShotGL, ACubeAcrossTheSeamExplodesWhereItIsSeen) {
    testgame::TestGame& g = readyGame(game());
    g._player.position(Vector3<int>(1, 5, 5));
    g._player.orientation(Vector3<int>::X_MINUS);
    g._octree.setTerminalNode(Vector3<int>(30, 5, 5), OcTree::CELL_SOLID_1, 0);
    g.playFrame(FRAME);
    g._gun._shots = 1;
    g.playFrame(FRAME);
    EXPECT_EQ(kindAt(g._octree, Vector3<int>(30, 5, 5)), OcTree::CELL_MELTING);
    ASSERT_EQ(g._explosions.size(), 1u);
    const Vector3<float> at = g._explosions.front()->blastCenter();
    const Vector3<float>& craft = g._player._pos;
    EXPECT_LT(std::hypot(at.x - craft.x, at.y - craft.y, at.z - craft.z), 4.0f);
}

TEST_F(ShotGL, FiringMeltsTheCubeAheadAndSendsATracerAlongTheAim) {
    testgame::TestGame& g = readyGame(game());
    g._gun.ammo(100);
    g._octree.setTerminalNode(ahead(5), OcTree::CELL_SOLID_1, 0);
    g.playFrame(FRAME);
    g._gun.trigger(true);
    g.playFrame(FRAME);
    g._gun.trigger(false);
    EXPECT_EQ(kindAt(g._octree, ahead(5)), OcTree::CELL_MELTING);
    EXPECT_LT(g._gun.ammo(), 100);
    const std::vector<Vortel::Particle*>& tracer = g._bulletSystem.particles();
    ASSERT_EQ(tracer.size(), 3u);
    const Vector3<float> v = tracer.front()->_vel;
    EXPECT_NEAR(std::hypot(v.x, v.y, v.z), 80.0f, 1e-3f);
    EXPECT_NEAR(v.z / 80.0f, g._aimRayDirection.z, 1e-5f);
    for (int i = 0; i < 3; ++i) {
        g.playFrame(FRAME);
    }
    EXPECT_EQ(g._bulletSystem.particles().size(), 3u);
    g.playFrame(0.7);
    EXPECT_TRUE(g._bulletSystem.particles().empty());
}

// Sparks, stars and tracers all come from one pool; with every particle taken a shot still
// melts its cube and kills its chaser, only without sparks or tracer, and play goes on.
TEST_F(ShotGL, WithTheParticlePoolFullShotsHitWithoutSparksOrTracerAndPlayGoesOn) {
    testgame::TestGame& g = readyGame(game());
    g.defaultControls();
    g.trackPlayerKeys();
    g._gun.ammo(100);
    g._octree.setTerminalNode(ahead(5), OcTree::CELL_SOLID_1, 0);
    g.playFrame(FRAME);
    const int left = Vortel::Particle::particleCountMax() - Vortel::Particle::particleCount();
    const Vortel::ParticleSystem hog(particlepool::templates(left), left, 3);
    ASSERT_TRUE(Vortel::Particle::poolFull());
    const std::size_t explosions = g._explosions.size();

    EXPECT_TRUE(send(g._wmKeyDownDI, g._keyFire));
    EXPECT_NO_THROW(g.playFrame(FRAME));
    EXPECT_TRUE(send(g._wmKeyUpDI, g._keyFire));
    EXPECT_EQ(kindAt(g._octree, ahead(5)), OcTree::CELL_MELTING);
    EXPECT_LT(g._gun.ammo(), 100);
    EXPECT_TRUE(g._bulletSystem.particles().empty());
    ASSERT_EQ(g._explosions.size(), explosions + 1);
    EXPECT_EQ(g._explosions.back()->numParticles(), 0);

    Bot* chaser = addChaser(g, Vector3<int>(20, 20, 20), 1.0f);
    g._aimedBot = chaser;
    g._gun._shots = 1;
    EXPECT_NO_THROW(g.playFrame(FRAME));
    EXPECT_TRUE(chaser->dead());
    EXPECT_NE(dynamic_cast<const Vortel::BotExplosion*>(g._explosions.back()), nullptr);
    EXPECT_EQ(g._state, Game::STATE_PLAY);
}

}  // namespace
