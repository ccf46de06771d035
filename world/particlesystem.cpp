#include "world/particlesystem.h"

#include <algorithm>

namespace Vortel {

ParticleSystem::ParticleSystem()
    : _time(0.0), _duration(1.0), _maxParticles(1), _numParticles(0), _finished(false) {}

ParticleSystem::ParticleSystem(const std::list<Particle::CreateData>& templates, int max, int duration)
    : _time(0.0), _duration(duration), _maxParticles(max), _numParticles(0), _finished(false) {
    // Whatever stops the creation part-way must not strand the particles already made: no
    // destructor runs for a system whose construction fails.
    try {
        createParticles(templates);
    } catch (...) {
        destroyParticles();
        throw;
    }
}

ParticleSystem::~ParticleSystem() {
    destroyParticles();
}

void ParticleSystem::createParticles(const std::list<Particle::CreateData>& templates) {
    // Room for everything this call can make, so the pushes below cannot fail and leave a
    // particle taken from the pool but held by nobody.
    long wanted = 0;
    for (const Particle::CreateData& t : templates) {
        wanted += std::max(t.count, 0);
    }
    const long room = std::max(0L, static_cast<long>(_maxParticles) + 1 - _numParticles);
    _particles.reserve(_particles.size() + static_cast<std::size_t>(std::min(wanted, room)));

    for (const Particle::CreateData& t : templates) {
        for (int i = 0; i < t.count; ++i) {
            if (_numParticles > _maxParticles || Particle::poolFull()) {
                return;
            }
            Particle* const p = new Particle(t);
            p->_systemOrigin = &_origin;
            _particles.push_back(p);
            ++_numParticles;
        }
    }
}

void ParticleSystem::destroyParticles() {
    if (Particle::managementActive()) {
        for (Particle* const p : _particles) {
            delete p;
        }
    }
    _particles.clear();
    _numParticles = 0;
}

void ParticleSystem::animate(double dt) {
    animateParticles(static_cast<float>(dt));
    if (_time == NEVER_ENDS) {
        return;
    }
    _time += dt;
    if (_time >= _duration) {
        _finished = true;
    }
}

void ParticleSystem::animateParticles(float dt) {
    std::size_t kept = 0;
    for (Particle* const p : _particles) {
        // The position moves with the velocity of the frame before.
        p->_pos.x += p->_vel.x * dt;
        p->_pos.y += p->_vel.y * dt;
        p->_pos.z += p->_vel.z * dt;
        const float grow = p->_velFactor * dt;
        p->_vel.x += p->_vel.x * grow;
        p->_vel.y += p->_vel.y * grow;
        p->_vel.z += p->_vel.z * grow;
        p->_color.r += p->_colorDelta.r * dt;
        p->_color.g += p->_colorDelta.g * dt;
        p->_color.b += p->_colorDelta.b * dt;
        p->_color.a += p->_colorDelta.a * dt;
        p->_size += p->_sizeDelta * dt;
        p->_age += dt;
        if (p->_color.a > 0.0f) {
            _particles[kept++] = p;
        } else {
            delete p;
            --_numParticles;
        }
    }
    _particles.resize(kept);
}

void ParticleSystem::destroyFront(int n) {
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(n, 0)), _particles.size());
    for (std::size_t i = 0; i < count; ++i) {
        delete _particles[i];
    }
    _particles.erase(_particles.begin(), _particles.begin() + static_cast<std::ptrdiff_t>(count));
    _numParticles -= static_cast<int>(count);
}

void ParticleSystem::draw() {
    drawShapes();
    drawParticles();
}

void ParticleSystem::drawParticles() const {
    if (_particles.empty()) {
        return;
    }
    Particle::batch().draw(_particles);
}

}  // namespace Vortel
