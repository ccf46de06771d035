#ifndef QUELLARIS_TESTS_WORLD_PARTICLEPOOL_H
#define QUELLARIS_TESTS_WORLD_PARTICLEPOOL_H

#include <gtest/gtest.h>

#include <list>

#include "platform/crand.h"
#include "world/particle.h"

namespace particlepool {

// Every test starts with a fresh pool of the given size and a known random sequence, and
// leaves no pool behind.
class PoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        Vortel::Particle::releaseParticleManagement();
        Vortel::Particle::initParticleManagement(poolSize());
        crand::srand(1);
    }
    void TearDown() override { Vortel::Particle::releaseParticleManagement(); }
    virtual int poolSize() const { return 10000; }
};

// A template whose particles sit still at the origin and never fade.
inline Vortel::Particle::CreateData stillTemplate(int count) {
    Vortel::Particle::CreateData t;
    t.count = count;
    t.sizeBase = 1.0f;
    t.colorBase = RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f);
    return t;
}

inline std::list<Vortel::Particle::CreateData> templates(int count) {
    return std::list<Vortel::Particle::CreateData>(1, stillTemplate(count));
}

}  // namespace particlepool

#endif
