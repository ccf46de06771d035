#ifndef QUELLARIS_TESTS_WORLD_PARTICLEPOOL_H
#define QUELLARIS_TESTS_WORLD_PARTICLEPOOL_H

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <list>

#include "platform/crand.h"
#include "world/particle.h"

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer's runtime calls these hooks on every heap allocation and release.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, std::size_t),
                                                         void (*onFree)(const volatile void*));
#endif

namespace particlepool {

// Counts heap allocations between start() and stop() through the sanitizer's allocation
// hooks; without the sanitizer nothing can be counted and the caller skips.
class AllocationCounter {
public:
    static bool available() {
#if defined(__SANITIZE_ADDRESS__)
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
        return installed;
#else
        return false;
#endif
    }
    static void start() {
        _count = 0;
        _counting = true;
    }
    static int stop() {
        _counting = false;
        return _count;
    }

private:
    static void onMalloc(const volatile void*, std::size_t) {
        if (_counting) {
            ++_count;
        }
    }
    static void onFree(const volatile void*) {}

    static inline std::atomic<bool> _counting{false};
    static inline std::atomic<int> _count{0};
};

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
