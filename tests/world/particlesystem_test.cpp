#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <stdexcept>

#include "tests/world/particlepool.h"
#include "world/particle.h"
#include "world/particlesystem.h"

using Vortel::Particle;
using Vortel::ParticleSystem;
using particlepool::stillTemplate;
using particlepool::templates;

namespace {

class ParticleSystemTest : public particlepool::PoolTest {};

// A system that never finishes, as the bullets use it.
class EndlessSystem : public ParticleSystem {
public:
    EndlessSystem() { _time = NEVER_ENDS; }
};

}  // namespace

TEST_F(ParticleSystemTest, DefaultsAndCreationFromTemplates) {
    const ParticleSystem empty;
    EXPECT_EQ(empty.maxParticles(), 1);
    EXPECT_DOUBLE_EQ(empty.duration(), 1.0);
    EXPECT_EQ(empty.numParticles(), 0);

    std::list<Particle::CreateData> ts{stillTemplate(3), stillTemplate(0), stillTemplate(2)};
    Vector3<float> elsewhere(9.0f, 9.0f, 9.0f);
    ts.front().origin = &elsewhere;
    ParticleSystem system(ts, 1000, 3);
    EXPECT_EQ(system.numParticles(), 5);
    EXPECT_EQ(system.particles().size(), 5u);
    EXPECT_EQ(Particle::particleCount(), 5);
    EXPECT_DOUBLE_EQ(system.duration(), 3.0);
    // Every particle follows the system's origin, whatever its template said.
    for (const Particle* p : system.particles()) {
        EXPECT_EQ(p->_systemOrigin, &system.origin());
    }
    system.origin(Vector3<float>(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(system.particles().front()->worldPos(), Vector3<float>(1.0f, 2.0f, 3.0f));
}

TEST_F(ParticleSystemTest, CreationStopsOnceTheSystemHoldsMoreThanItsLimit) {
    // One template past the limit: the limit plus one particle.
    ParticleSystem big(templates(1500), 1000, 3);
    EXPECT_EQ(big.numParticles(), 1001);

    // The stop ends the whole call, later templates included.
    std::list<Particle::CreateData> ts{stillTemplate(4), stillTemplate(4)};
    ParticleSystem small(ts, 2, 3);
    EXPECT_EQ(small.numParticles(), 3);
    small.createParticles(templates(5));
    EXPECT_EQ(small.numParticles(), 3);
    EXPECT_EQ(Particle::particleCount(), 1004);
}

TEST_F(ParticleSystemTest, AnimationMovesWithTheOldVelocityThenScalesItFadesAndGrows) {
    Particle::CreateData t = stillTemplate(1);
    t.dirBase = Vector3<float>(1.0f, 0.0f, -2.0f);
    t.speedBase = 2.0f;
    t.velFactor = -0.5f;
    t.sizeBase = 1.0f;
    t.sizeDeltaBase = 0.25f;
    t.colorBase = RGBA<float>(0.5f, 0.5f, 0.5f, 1.0f);
    t.colorDeltaBase = RGBA<float>(0.1f, -0.1f, 0.2f, -0.25f);
    ParticleSystem system(std::list<Particle::CreateData>(1, t), 10, 3);
    system.animate(0.5);

    const Particle& p = *system.particles().front();
    EXPECT_FLOAT_EQ(p._pos.x, 1.0f);
    EXPECT_FLOAT_EQ(p._pos.z, -2.0f);
    EXPECT_FLOAT_EQ(p._vel.x, 2.0f * 0.75f);
    EXPECT_FLOAT_EQ(p._vel.z, -4.0f * 0.75f);
    EXPECT_FLOAT_EQ(p._size, 1.125f);
    EXPECT_FLOAT_EQ(p._color.r, 0.55f);
    EXPECT_FLOAT_EQ(p._color.g, 0.45f);
    EXPECT_FLOAT_EQ(p._color.b, 0.6f);
    EXPECT_FLOAT_EQ(p._color.a, 0.875f);
    EXPECT_FLOAT_EQ(p._age, 0.5f);
    EXPECT_DOUBLE_EQ(system.time(), 0.5);
}

TEST_F(ParticleSystemTest, ParticlesGoBackToThePoolInTheStepTheirAlphaReachesZero) {
    Particle::CreateData fading = stillTemplate(2);
    fading.colorBase.a = 0.5f;
    fading.colorDeltaBase.a = -0.5f;
    std::list<Particle::CreateData> ts{stillTemplate(1), fading, stillTemplate(1)};
    ts.back().sizeBase = 2.0f;
    ParticleSystem system(ts, 10, 3);
    const Particle* const first = system.particles().front();
    const Particle* const last = system.particles().back();

    system.animate(0.999);
    EXPECT_EQ(system.numParticles(), 4);
    system.animate(0.001);  // alpha now exactly 0
    EXPECT_EQ(system.numParticles(), 2);
    ASSERT_EQ(system.particles().size(), 2u);
    EXPECT_EQ(system.particles()[0], first);
    EXPECT_EQ(system.particles()[1], last);
    EXPECT_EQ(Particle::particleCount(), 2);
}

TEST_F(ParticleSystemTest, FinishesAtItsDurationUnlessItNeverEnds) {
    ParticleSystem timed(templates(1), 10, 2);
    timed.animate(1.5);
    EXPECT_FALSE(timed.finished());
    timed.animate(0.5);
    EXPECT_TRUE(timed.finished());
    EXPECT_EQ(timed.numParticles(), 1);  // finishing removes nothing; the owner deletes

    EndlessSystem endless;
    for (int i = 0; i < 100; ++i) {
        endless.animate(1.0);
    }
    EXPECT_FALSE(endless.finished());
    EXPECT_DOUBLE_EQ(endless.time(), ParticleSystem::NEVER_ENDS);
}

TEST_F(ParticleSystemTest, AFullPoolStopsCreationKeepingWhatWasMadeAndOnlyTheAllocatorThrows) {
    ParticleSystem first(templates(9990), 20000, 3);
    EXPECT_EQ(first.numParticles(), 9990);
    ParticleSystem overflowing(templates(20), 20000, 3);
    EXPECT_EQ(overflowing.numParticles(), 10) << "the pool had only 10 particles left";
    EXPECT_EQ(Particle::particleCount(), 10000);
    overflowing.createParticles(templates(5));
    EXPECT_EQ(overflowing.numParticles(), 10);
    try {
        delete new Particle();
        FAIL() << "a particle was handed out of a full pool";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "out of particle memory - max number of particles reached");
    }

    first.destroyParticles();
    EXPECT_EQ(first.numParticles(), 0);
    EXPECT_TRUE(first.particles().empty());
    EXPECT_EQ(Particle::particleCount(), 10);
    overflowing.createParticles(templates(5));
    EXPECT_EQ(overflowing.numParticles(), 15);
}

TEST_F(ParticleSystemTest, ASystemOutlivingThePoolOnlyForgetsItsParticles) {
    auto system = std::make_unique<ParticleSystem>(templates(50), 100, 3);
    Particle::releaseParticleManagement();
    system->destroyParticles();  // the sanitizer catches any write into the freed pool
    EXPECT_EQ(system->numParticles(), 0);
    system.reset();
    EXPECT_EQ(Particle::particleCount(), 0);
}

TEST_F(ParticleSystemTest, AFrameOfAnimationAndRemovalAllocatesNothing) {
    if (!particlepool::AllocationCounter::available()) {
        GTEST_SKIP() << "allocation hooks need the address sanitizer";
    }
    Particle::CreateData fading = stillTemplate(3000);
    fading.colorDeltaBase.a = -1.0f;
    fading.colorDeltaRange.a = 0.5f;
    ParticleSystem system(std::list<Particle::CreateData>{fading, stillTemplate(3000)}, 10000, 3);
    const std::list<Particle::CreateData> refill = templates(500);

    particlepool::AllocationCounter::start();
    for (int frame = 0; frame < 120; ++frame) {
        system.animate(1.0 / 60.0);
    }
    system.destroyParticles();
    system.createParticles(refill);  // room left from before: no new list storage
    const int allocations = particlepool::AllocationCounter::stop();
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(system.numParticles(), 500);
}
