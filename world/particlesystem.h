#ifndef QUELLARIS_WORLD_PARTICLESYSTEM_H
#define QUELLARIS_WORLD_PARTICLESYSTEM_H

#include <list>
#include <vector>

#include "platform/math.h"
#include "world/particle.h"

namespace Vortel {

// A set of pool particles made from templates, moved, faded and grown every frame. A
// particle is removed once its alpha is no longer above 0; the system itself reports
// finished once its running time reaches its duration (never when _time is -1).
//
// The particle list is a vector that only ever grows to the system's limit: animating,
// removing and re-emitting then allocate nothing, which a frame with thousands of sparks
// needs.
class ParticleSystem {
public:
    // _time -1 makes a system that never finishes.
    static constexpr double NEVER_ENDS = -1.0;

    ParticleSystem();
    ParticleSystem(const std::list<Particle::CreateData>& templates, int max, int duration);
    virtual ~ParticleSystem();

    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    virtual void animate(double dt);
    // Draws what the system shows besides its particles, then the particles.
    virtual void draw();
    // The same in two steps, for a caller that gathers the particles of many systems apart:
    // what is not a particle, with its own blending, and the particles.
    virtual void drawShapes() {}
    void drawParticles() const;

    // Every template in order, count times each; the whole call stops once the system holds
    // more than its limit, so it can end with one particle over it. It also stops when the
    // pool is full, keeping what it made: an effect short of sparks is better than a game
    // ended by one.
    void createParticles(const std::list<Particle::CreateData>& templates);
    // Back to the pool; once the pool is released the particles are only forgotten.
    void destroyParticles();

    const Vector3<float>& origin() const { return _origin; }
    void origin(const Vector3<float>& o) { _origin = o; }

    bool finished() const { return _finished; }
    double time() const { return _time; }
    double duration() const { return _duration; }
    int numParticles() const { return _numParticles; }
    int maxParticles() const { return _maxParticles; }
    const std::vector<Particle*>& particles() const { return _particles; }

    Vector3<float> _position;  // where the owner keeps the system; not read here

protected:
    // Moves, fades and grows every particle by dt and removes the faded ones, keeping the
    // order of the rest.
    void animateParticles(float dt);
    // Returns every particle that the predicate picks to the pool, keeping the order of the
    // rest.
    template <typename Dead>
    void removeParticles(Dead dead);
    // Returns the first n particles (fewer when fewer are left) to the pool.
    void destroyFront(int n);

    double _time;
    double _duration;
    int _maxParticles;
    int _numParticles;
    Vector3<float> _origin;
    bool _finished;
    std::vector<Particle*> _particles;
};

template <typename Dead>
void ParticleSystem::removeParticles(Dead dead) {
    std::size_t kept = 0;
    for (Particle* const p : _particles) {
        if (dead(*p)) {
            delete p;
            --_numParticles;
        } else {
            _particles[kept++] = p;
        }
    }
    _particles.resize(kept);
}

}  // namespace Vortel

#endif
