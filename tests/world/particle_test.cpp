#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/crand.h"
#include "tests/world/particlepool.h"
#include "world/particle.h"


using Vortel::Particle;

namespace {


void expectOutOfParticles() {
    try {
        Particle* const p = new Particle();
        delete p;
        FAIL() << "a particle was handed out";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "out of particle memory - max number of particles reached");
    }
}

class ParticlePoolTest : public particlepool::PoolTest {
protected:
    int poolSize() const override { return 10; }  // raised to the smallest pool
};

}  // namespace

TEST_F(ParticlePoolTest, SmallRequestMakesTheSmallestPoolAndASecondRequestKeepsIt) {
    EXPECT_TRUE(Particle::managementActive());
    EXPECT_EQ(Particle::particleCountMax(), Particle::MIN_POOL_SIZE);
    Particle* const first = new Particle();
    Particle::initParticleManagement(5000);
    EXPECT_EQ(Particle::particleCountMax(), Particle::MIN_POOL_SIZE);
    EXPECT_EQ(Particle::particleCount(), 1);
    delete first;
}

TEST_F(ParticlePoolTest, HandsOutEverySlotOnceThenFailsAndTakesSlotsBack) {
    std::vector<Particle*> taken;
    for (int i = 0; i < Particle::MIN_POOL_SIZE; ++i) {
        taken.push_back(new Particle());
    }
    EXPECT_EQ(Particle::particleCount(), Particle::MIN_POOL_SIZE);
    EXPECT_EQ(Particle::usedParticles().size(), taken.size());
    expectOutOfParticles();
    EXPECT_EQ(Particle::particleCount(), Particle::MIN_POOL_SIZE);

    // Every slot is distinct, and the used list keeps the order of taking.
    std::vector<Particle*> sorted = taken;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_TRUE(std::equal(taken.begin(), taken.end(), Particle::usedParticles().begin()));

    // Returning one from the middle frees exactly that slot, which is the next one out.
    Particle* const middle = taken[40];
    delete middle;
    EXPECT_EQ(Particle::particleCount(), Particle::MIN_POOL_SIZE - 1);
    EXPECT_EQ(std::find(Particle::usedParticles().begin(), Particle::usedParticles().end(), middle),
              Particle::usedParticles().end());
    Particle* const again = new Particle();
    EXPECT_EQ(again, middle);
    EXPECT_EQ(Particle::usedParticles().back(), again);

    taken[40] = again;
    for (Particle* p : taken) {
        delete p;
    }
    EXPECT_EQ(Particle::particleCount(), 0);
    EXPECT_TRUE(Particle::usedParticles().empty());
}

TEST_F(ParticlePoolTest, WithoutAPoolNothingIsHandedOutAndNothingTakenBack) {
    Particle* const kept = new Particle();
    Particle::releaseParticleManagement();
    Particle::releaseParticleManagement();  // a second release is harmless
    EXPECT_FALSE(Particle::managementActive());
    EXPECT_EQ(Particle::particleCount(), 0);
    EXPECT_EQ(Particle::particleCountMax(), 0);
    expectOutOfParticles();

    // A pointer from the released pool must not reach into a new one.
    Particle::initParticleManagement(100);
    Particle* const fresh = new Particle();
    Particle::operator delete(kept);
    EXPECT_EQ(Particle::particleCount(), 1);
    delete fresh;
    EXPECT_EQ(Particle::particleCount(), 0);
}

TEST_F(ParticlePoolTest, StaleAndRepeatedDeletesLeaveLiveSlotsAlone) {
    Particle* const kept = new Particle();
    Particle::releaseParticleManagement();
    Particle::initParticleManagement(Particle::MIN_POOL_SIZE);
    std::vector<Particle*> live;
    for (int i = 0; i < Particle::MIN_POOL_SIZE; ++i) {
        live.push_back(new Particle());
    }
    delete kept;  // every slot of the new pool is live, so a stale hit would free one of them
    EXPECT_EQ(Particle::particleCount(), Particle::MIN_POOL_SIZE);

    delete live[0];
    delete live[0];
    EXPECT_EQ(Particle::particleCount(), Particle::MIN_POOL_SIZE - 1);
    EXPECT_EQ(Particle::usedParticles().size(), live.size() - 1);
    live[0] = new Particle();
    expectOutOfParticles();
    for (Particle* p : live) {
        delete p;
    }
    EXPECT_EQ(Particle::particleCount(), 0);
    EXPECT_TRUE(Particle::usedParticles().empty());
}

TEST_F(ParticlePoolTest, TakingAndReturningParticlesAllocatesNothing) {
    if (!particlepool::AllocationCounter::available()) {
        GTEST_SKIP() << "allocation hooks need the address sanitizer";
    }
    particlepool::AllocationCounter::start();
    int* volatile probe = new int(1);
    delete probe;
    ASSERT_EQ(particlepool::AllocationCounter::stop(), 1) << "the counter must see a plain allocation";

    const Particle::CreateData t = particlepool::stillTemplate(1);
    particlepool::AllocationCounter::start();
    for (int round = 0; round < 3; ++round) {
        Particle* slots[Particle::MIN_POOL_SIZE];
        for (Particle*& p : slots) {
            p = new Particle(t);
        }
        for (int i = Particle::MIN_POOL_SIZE - 1; i >= 0; i -= 2) {
            delete slots[i];
        }
        for (int i = 0; i < Particle::MIN_POOL_SIZE; i += 2) {
            delete slots[i];
        }
    }
    Particle::sort(Vector3<float>(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(particlepool::AllocationCounter::stop(), 0);
}

TEST(ParticleTest, TemplateDrawsSeventeenNumbersInFieldOrder) {
    Particle::releaseParticleManagement();
    Particle::initParticleManagement(100);
    crand::srand(12345);
    std::vector<int> r;
    for (int i = 0; i < 18; ++i) {
        r.push_back(crand::rand());
    }
    const auto ranged = [&r](int i, float base, float range) {
        return base + (static_cast<float>(r[static_cast<std::size_t>(i)]) * (2.0f * range) / 32767.0f - range);
    };

    Vector3<float> origin(7.0f, 8.0f, 9.0f);
    Particle::CreateData t;
    t.posBase = Vector3<float>(1.0f, 2.0f, 3.0f);
    t.posRange = Vector3<float>(0.5f, 1.5f, 2.5f);
    t.dirBase = Vector3<float>(0.0f, 1.0f, -1.0f);
    t.dirRange = Vector3<float>(1.0f, 0.25f, 0.75f);
    t.speedBase = 10.0f;
    t.speedRange = 4.0f;
    t.velFactor = -3.0f;
    t.sizeBase = 0.4f;
    t.sizeRange = 0.3f;
    t.sizeDeltaBase = 0.2f;
    t.sizeDeltaRange = 1.0f;
    t.lifeTime = 0.7f;
    t.colorBase = RGBA<float>(1.0f, 0.2f, 0.1f, 0.9f);
    t.colorRange = RGBA<float>(0.2f, 0.4f, 0.4f, 0.2f);
    t.colorDeltaBase = RGBA<float>(0.0f, 0.0f, 0.1f, -0.5f);
    t.colorDeltaRange = RGBA<float>(0.0f, 0.3f, 0.0f, 0.01f);
    t.origin = &origin;
    t.texId = 42;

    crand::srand(12345);
    Particle* const p = new Particle(t);
    EXPECT_EQ(crand::rand(), r[17]) << "exactly 17 draws";

    EXPECT_FLOAT_EQ(p->_pos.x, ranged(0, 1.0f, 0.5f));
    EXPECT_FLOAT_EQ(p->_pos.y, ranged(1, 2.0f, 1.5f));
    EXPECT_FLOAT_EQ(p->_pos.z, ranged(2, 3.0f, 2.5f));
    const float speed = ranged(6, 10.0f, 4.0f);
    EXPECT_FLOAT_EQ(p->_vel.x, ranged(3, 0.0f, 1.0f) * speed);
    EXPECT_FLOAT_EQ(p->_vel.y, ranged(4, 1.0f, 0.25f) * speed);
    EXPECT_FLOAT_EQ(p->_vel.z, ranged(5, -1.0f, 0.75f) * speed);
    EXPECT_FLOAT_EQ(p->_velFactor, -3.0f);
    EXPECT_FLOAT_EQ(p->_size, ranged(7, 0.4f, 0.3f));
    EXPECT_FLOAT_EQ(p->_sizeDelta, ranged(8, 0.2f, 1.0f));
    EXPECT_FLOAT_EQ(p->_color.r, ranged(9, 1.0f, 0.2f));
    EXPECT_FLOAT_EQ(p->_color.g, ranged(10, 0.2f, 0.4f));
    EXPECT_FLOAT_EQ(p->_color.b, ranged(11, 0.1f, 0.4f));
    EXPECT_FLOAT_EQ(p->_color.a, ranged(12, 0.9f, 0.2f));
    EXPECT_FLOAT_EQ(p->_colorDelta.r, 0.0f);
    EXPECT_FLOAT_EQ(p->_colorDelta.g, ranged(14, 0.0f, 0.3f));
    EXPECT_FLOAT_EQ(p->_colorDelta.b, 0.1f);
    EXPECT_FLOAT_EQ(p->_colorDelta.a, ranged(16, -0.5f, 0.01f));
    EXPECT_EQ(p->_age, 0.0f);
    EXPECT_EQ(p->_systemOrigin, &origin);
    EXPECT_EQ(p->_texId, 42);
    EXPECT_FLOAT_EQ(p->_lifeTime, 0.7f);
    delete p;
    Particle::releaseParticleManagement();
}

TEST(ParticleTest, RangedValuesSpanBothEnds) {
    crand::srand(0);
    float low = 1e9f;
    float high = -1e9f;
    for (int i = 0; i < (1 << 22) && (low != 3.0f || high != 7.0f); ++i) {
        const float v = Particle::ranged(5.0f, 2.0f);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_FLOAT_EQ(low, 3.0f);
    EXPECT_FLOAT_EQ(high, 7.0f);
}

TEST_F(ParticlePoolTest, SortPutsTheNearestParticleFirstMeasuredWithoutTheOrigin) {
    Vector3<float> farOrigin(1000.0f, 0.0f, 0.0f);
    Particle* const far = new Particle(Vector3<float>(5.0f, 0.0f, 0.0f), Vector3<float>(), 1.0f);
    Particle* const near = new Particle(Vector3<float>(0.0f, 1.0f, 0.0f), Vector3<float>(), 1.0f);
    Particle* const middle = new Particle(Vector3<float>(0.0f, 0.0f, -3.0f), Vector3<float>(), 1.0f);
    near->_systemOrigin = &farOrigin;

    Particle::sort(Vector3<float>(0.0f, 0.0f, 0.0f));
    const std::vector<Particle*> order(Particle::usedParticles().begin(), Particle::usedParticles().end());
    EXPECT_EQ(order, (std::vector<Particle*>{near, middle, far}));
    EXPECT_FLOAT_EQ(near->_distance, 1.0f);
    EXPECT_FLOAT_EQ(middle->_distance, 9.0f);
    EXPECT_FLOAT_EQ(far->_distance, 25.0f);
    EXPECT_TRUE(*near < *far);

    // Returning a particle after sorting still frees the right slot.
    delete middle;
    EXPECT_EQ(Particle::usedParticles().size(), 2u);
    EXPECT_EQ(Particle::usedParticles().front(), near);
    delete near;
    delete far;
}

TEST_F(ParticlePoolTest, BillboardKeepsTheViewTranslationAndDropsItsRotationAndScale) {
    Vector3<float> origin(1.0f, 1.0f, 1.0f);
    Particle* const p = new Particle(Vector3<float>(1.0f, 2.0f, 3.0f), Vector3<float>(), 1.0f);
    p->_systemOrigin = &origin;
    // A view that scales by 2, turns x into y and moves by (10, 20, 30).
    const float view[16] = {0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 2, 0, 10, 20, 30, 1};
    float m[16];
    p->billboardMatrix(view, m);
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10 - 6, 20 + 4, 30 + 8, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(m[i], expected[i]) << "element " << i;
    }
    delete p;
}
