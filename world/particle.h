#ifndef QUELLARIS_WORLD_PARTICLE_H
#define QUELLARIS_WORLD_PARTICLE_H

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "platform/math.h"
#include "world/particlebatch.h"

namespace Vortel {

// One spark, star or bullet. Every particle lives in a slot of one pool made once at
// start-up: the class's own new and delete hand slots out and take them back, so effects
// never touch the general heap while the game runs. The fields are a plain record that the
// particle systems move, fade and grow.
class Particle final {
public:
    // A particle template: each "range" r adds a uniform random value in [-r, +r] to its
    // base, separately for every component.
    struct CreateData {
        int count = 0;
        Vector3<float> posBase;
        Vector3<float> posRange;
        Vector3<float> dirBase;
        Vector3<float> dirRange;
        float speedBase = 0.0f;
        float speedRange = 0.0f;
        float velFactor = 0.0f;
        float sizeBase = 0.0f;
        float sizeRange = 0.0f;
        float sizeDeltaBase = 0.0f;
        float sizeDeltaRange = 0.0f;
        float lifeTime = 0.0f;
        RGBA<float> colorBase;
        RGBA<float> colorRange;
        RGBA<float> colorDeltaBase;
        RGBA<float> colorDeltaRange;
        Vector3<float>* origin = nullptr;
        int texId = 0;
    };

    static constexpr int MIN_POOL_SIZE = 100;

    Particle();
    // Velocity factor and size change stay 0: nothing in the game wants them here.
    Particle(const Vector3<float>& pos, const Vector3<float>& vel, float size);
    // Draws 17 random numbers in field order: position, direction, speed, size, size
    // change, colour, colour change.
    explicit Particle(const CreateData& t);

    // Only a live pool hands out particles. Throws std::runtime_error "out of particle
    // memory - max number of particles reached" when every slot is taken (also before the
    // pool exists) and "particle management engine not initialised".
    static void* operator new(std::size_t size);
    // Back to the pool; without a pool, for a pointer the pool never gave out, or for a slot
    // already back (a repeated delete) it does nothing.
    static void operator delete(void* p) noexcept;

    // Makes the pool once (at least MIN_POOL_SIZE slots); later calls keep the first pool.
    // Throws std::runtime_error "not enough memory to initialise particle system".
    static void initParticleManagement(int n);
    // Frees the pool; harmless when there is none.
    static void releaseParticleManagement();
    static bool managementActive() { return _mem != nullptr; }
    // Every slot of the pool is handed out: a new particle would throw.
    static bool poolFull() { return _mem != nullptr && _particleCount >= _particleCountMax; }

    // Sorts the particles in use nearest to the camera first.
    static void sort(const Vector3<float>& camera);
    static void updateDistanceFromCamera();
    // Draws every particle in use, in list order, as one batch.
    static void drawAll();
    // The pool's batch, sized for every particle of the pool; particle systems draw their
    // particles through it.
    static ParticleBatch& batch() { return _batch; }

    // base + a uniform random value in [-range, +range]: one draw, the way the effects were
    // tuned (rand() = 32767 reaches base + range).
    static float ranged(float base, float range);

    static int particleCount() { return _particleCount; }
    static int particleCountMax() { return _particleCountMax; }
    static const std::list<Particle*>& usedParticles() { return _usedParticles; }

    // A screen-facing quad of half edge _size at _pos (plus the system origin), coloured
    // _color with texture _texId. Needs a GL context.
    void draw() const;
    // The modelview that draw() loads: the view translated to the particle, its upper-left
    // 3 x 3 block replaced by the identity, so the quad faces the viewer unscaled.
    void billboardMatrix(const float* view, float* out) const;
    // The last column of that matrix: the view times the particle's position.
    void eyeCentre(const float* view, float* out) const;
    Vector3<float> worldPos() const;

    bool operator<(const Particle& other) const { return _distance < other._distance; }

    Vector3<float> _pos;
    Vector3<float> _vel;
    float _velFactor;
    float _size;
    float _sizeDelta;
    RGBA<float> _color;
    RGBA<float> _colorDelta;
    float _age;
    const Vector3<float>* _systemOrigin;
    float _distance;
    int _texId;
    float _lifeTime;

private:
    typedef std::list<Particle*>::iterator ListIt;

    static Vector3<float> _cameraPos;
    static std::list<Particle*> _usedParticles;
    static std::list<Particle*> _freeParticles;
    // Each slot keeps one list node for the whole life of the pool; taking and returning a
    // slot splices that node between the free and used lists, so neither allocates nor
    // searches. The node is kept here per slot rather than in the particle, whose
    // constructors would overwrite it.
    static std::vector<ListIt> _slotNode;
    // Whether each slot is handed out, so a repeated or stale delete cannot free a slot twice.
    static std::vector<bool> _slotInUse;
    // Where the last released pool lay: a new pool never lands there, so a pointer kept from
    // the old pool cannot hit a live slot of the new one.
    static std::uintptr_t _releasedBegin;
    static std::uintptr_t _releasedEnd;
    static Particle* _mem;
    static int _particleCount;
    static int _particleCountMax;
    static ParticleBatch _batch;
};

}  // namespace Vortel

#endif
