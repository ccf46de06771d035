#include <gtest/gtest.h>

#include <list>

#include "tests/world/particlepool.h"
#include "world/botexplosion.h"
#include "world/explosion.h"

using Vortel::BotExplosion;
using Vortel::Explosion;
using Vortel::Particle;
using particlepool::stillTemplate;

namespace {

class ExplosionTest : public particlepool::PoolTest {};

// The three sets of a chaser's explosion at full effects density, as the game builds them.
std::list<Particle::CreateData> chaserExplosionSets(const Vector3<float>& at) {
    const int counts[3] = {170, 100, 370};
    const RGBA<float> colors[3] = {RGBA<float>(1.0f, 0.2f, 0.1f, 0.9f), RGBA<float>(1.0f, 0.1f, 0.1f, 1.0f),
                                   RGBA<float>(0.4f, 0.4f, 0.4f, 1.0f)};
    const float fades[3] = {-0.5f, -1.0f, -0.45f};
    std::list<Particle::CreateData> sets;
    for (int i = 0; i < 3; ++i) {
        Particle::CreateData t;
        t.count = counts[i];
        t.posBase = at;
        t.dirRange = Vector3<float>(1.0f, 1.0f, 1.0f);
        t.speedRange = 10.0f;
        t.sizeBase = 0.3f;
        t.colorBase = colors[i];
        t.colorDeltaBase = RGBA<float>(0.0f, 0.0f, 0.0f, fades[i]);
        t.colorDeltaRange = RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f);
        sets.push_back(t);
    }
    return sets;
}

}  // namespace

TEST_F(ExplosionTest, BurstsAroundItsCentreAndFinishesAfterThreeSeconds) {
    const Vector3<float> at(5.0f, 6.0f, 7.0f);
    Explosion blast(chaserExplosionSets(at), at);
    EXPECT_EQ(blast.numParticles(), 640);
    EXPECT_EQ(blast.maxParticles(), 1000);
    EXPECT_EQ(blast.blastCenter(), at);
    EXPECT_EQ(blast.origin(), Vector3<float>());
    EXPECT_EQ(blast.particles().front()->_pos, at);  // no position range: all start at the centre

    blast.animate(1.5);
    // The fastest set has faded out; the slower ones are still burning.
    EXPECT_EQ(blast.numParticles(), 170 + 370);
    blast.animate(1.49);
    EXPECT_FALSE(blast.finished());
    blast.animate(0.01);
    EXPECT_TRUE(blast.finished());
}

TEST_F(ExplosionTest, AnEmptyExplosionStillRunsItsTime) {
    Explosion blast(std::list<Particle::CreateData>{}, Vector3<float>{});
    EXPECT_EQ(blast.numParticles(), 0);
    blast.animate(3.0);
    EXPECT_TRUE(blast.finished());
}

TEST_F(ExplosionTest, TheRingGrowsByOnePerSecondAndFadesWithTheSquareOfItsScale) {
    BotExplosion blast(std::list<Particle::CreateData>(1, stillTemplate(2)), Vector3<float>(1.0f, 2.0f, 3.0f));
    EXPECT_FLOAT_EQ(blast.ringScale(), 1.0f);
    EXPECT_FLOAT_EQ(blast.ringColor().a, 0.9f);
    EXPECT_DOUBLE_EQ(blast.duration(), 3.0);

    blast.animate(0.5);
    blast.animate(1.5);
    EXPECT_FLOAT_EQ(blast.ringScale(), 3.0f);
    const RGBA<float> c = blast.ringColor();
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 0.0f);
    EXPECT_FLOAT_EQ(c.b, 0.0f);
    EXPECT_FLOAT_EQ(c.a, 0.1f);
    EXPECT_FALSE(blast.finished());
    blast.animate(1.0);
    EXPECT_TRUE(blast.finished());
}

TEST_F(ExplosionTest, DeletingThroughTheBaseReturnsEveryParticle) {
    Explosion* blast = new BotExplosion(chaserExplosionSets(Vector3<float>()), Vector3<float>());
    EXPECT_EQ(Particle::particleCount(), 640);
    delete blast;
    EXPECT_EQ(Particle::particleCount(), 0);
}
