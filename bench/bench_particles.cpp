#include <benchmark/benchmark.h>

#include <list>

#include "platform/crand.h"
#include "world/explosion.h"
#include "world/particle.h"
#include "world/particlesystem.h"
#include "world/starfield.h"

using Vortel::Explosion;
using Vortel::Particle;
using Vortel::ParticleSystem;
using Vortel::Starfield;

namespace {

// The game's pool size.
const int POOL = 10000;
// One frame at 60 frames per second.
const double FRAME = 1.0 / 60.0;

void freshPool() {
    Particle::releaseParticleManagement();
    Particle::initParticleManagement(POOL);
    crand::srand(1);
}

// Sparks that fly apart, slow down and grow but never fade, so the count stays put.
Particle::CreateData sparks(int count) {
    Particle::CreateData t;
    t.count = count;
    t.dirRange = Vector3<float>(1.0f, 1.0f, 1.0f);
    t.speedRange = 20.0f;
    t.velFactor = -0.1f;
    t.sizeBase = 0.3f;
    t.sizeDeltaBase = 0.01f;
    t.colorBase = RGBA<float>(1.0f, 0.5f, 0.2f, 1.0f);
    t.colorRange = RGBA<float>(0.2f, 0.2f, 0.2f, 0.0f);
    return t;
}

// A chaser's explosion at full effects density: 640 particles in three sets.
std::list<Particle::CreateData> chaserExplosion() {
    std::list<Particle::CreateData> sets;
    const int counts[3] = {170, 100, 370};
    const float fades[3] = {-0.5f, -1.0f, -0.45f};
    for (int i = 0; i < 3; ++i) {
        Particle::CreateData t = sparks(counts[i]);
        t.colorDeltaBase = RGBA<float>(0.0f, 0.0f, 0.0f, fades[i]);
        t.colorDeltaRange = RGBA<float>(0.0f, 0.0f, 0.0f, 0.01f);
        sets.push_back(t);
    }
    return sets;
}

}  // namespace

// Every live particle of a frame: move, slow, fade, grow, age.
static void BM_AnimateLiveParticles(benchmark::State& state) {
    freshPool();
    const int count = static_cast<int>(state.range(0));
    ParticleSystem system(std::list<Particle::CreateData>(1, sparks(count)), POOL, 3);
    for (auto _ : state) {
        system.animate(FRAME);
        benchmark::DoNotOptimize(system.particles().data());
    }
    state.SetItemsProcessed(state.iterations() * count);
    Particle::releaseParticleManagement();
}
BENCHMARK(BM_AnimateLiveParticles)->Arg(7500)->Arg(10000);

// A chaser blowing up: 640 particles from the pool, 17 random draws each, and back.
static void BM_EmitChaserExplosion(benchmark::State& state) {
    freshPool();
    const std::list<Particle::CreateData> sets = chaserExplosion();
    const Vector3<float> at(3.0f, 4.0f, 5.0f);
    for (auto _ : state) {
        Explosion blast(sets, at);
        benchmark::DoNotOptimize(blast.particles().data());
    }
    state.SetItemsProcessed(state.iterations() * 640);
    Particle::releaseParticleManagement();
}
BENCHMARK(BM_EmitChaserExplosion);

// The background at its densest: 2,000 drifting stars, some wrapping every frame.
static void BM_Starfield(benchmark::State& state) {
    freshPool();
    Starfield field(Vector3<float>(), Vector3<float>(1.0f, 0.0f, 0.0f), 0.2f, static_cast<int>(state.range(0)), 0);
    for (auto _ : state) {
        field.animate(FRAME);
        benchmark::DoNotOptimize(field.particles().data());
    }
    state.SetItemsProcessed(state.iterations() * field.numParticles());
    Particle::releaseParticleManagement();
}
BENCHMARK(BM_Starfield)->Arg(2000);
