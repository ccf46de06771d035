#include "world/starfield.h"

#include <list>

#include "platform/crand.h"

namespace Vortel {

namespace {

// A fresh coordinate on a face of the cube: 32 / 32767 per step of rand().
float onFace() {
    return static_cast<float>(crand::rand()) * 0.0009765923f - Starfield::HALF_EDGE;
}

}  // namespace

Starfield::Starfield(const Vector3<float>& origin, const Vector3<float>& drift, float starParam, int count,
                     int texture)
    : ParticleSystem(), _drift(drift), _starParam(starParam) {
    _maxParticles = MAX_STARS;
    _origin = origin;
    _starTemplate.count = count;
    _starTemplate.posRange = Vector3<float>(HALF_EDGE, HALF_EDGE, HALF_EDGE);
    _starTemplate.sizeBase = 0.3f;
    _starTemplate.sizeRange = 0.1f;
    _starTemplate.colorBase = RGBA<float>(0.0f, 0.0f, 0.0f, 0.33f);
    _starTemplate.colorRange = RGBA<float>(0.1f, 0.1f, 0.1f, 0.06f);
    _starTemplate.origin = &_origin;
    _starTemplate.texId = texture;
    createStars(count);
}

void Starfield::animate(double dt) {
    ParticleSystem::animate(dt);
    const float t = static_cast<float>(dt);
    for (Particle* const star : _particles) {
        Vector3<float>& p = star->_pos;
        wrap(p);
        p.x += _drift.x * t;
        p.y += _drift.y * t;
        p.z += _drift.z * t;
    }
}

void Starfield::wrap(Vector3<float>& p) {
    if (p.x > HALF_EDGE) {
        p.x = -HALF_EDGE;
        p.y = onFace();
        p.z = onFace();
    }
    if (p.x < -HALF_EDGE) {
        p.x = HALF_EDGE;
        p.y = onFace();
        p.z = onFace();
    }
    if (p.y > HALF_EDGE) {
        p.y = -HALF_EDGE;
        p.x = onFace();
        p.z = onFace();
    }
    if (p.y < -HALF_EDGE) {
        p.y = HALF_EDGE;
        p.x = onFace();
        p.z = onFace();
    }
    if (p.z > HALF_EDGE) {
        p.z = -HALF_EDGE;
        p.x = onFace();
        p.y = onFace();
    }
    if (p.z < -HALF_EDGE) {
        p.z = HALF_EDGE;
        p.x = onFace();
        p.y = onFace();
    }
}

void Starfield::createStars(int n) {
    _starTemplate.count = n;
    createParticles(std::list<Particle::CreateData>(1, _starTemplate));
}

void Starfield::destroyStars(int n) {
    destroyFront(n);
}

void Starfield::starCount(int n) {
    if (n == 0) {
        destroyParticles();
        return;
    }
    const int d = n - _numParticles;
    if (d > 0) {
        createStars(d);
    } else if (d < 0) {
        destroyStars(-d);
    }
}

void Starfield::color(const RGBA<float>& c, const RGBA<float>& spread) {
    const RGBA<float> half(spread.r / 2.0f, spread.g / 2.0f, spread.b / 2.0f, spread.a / 2.0f);
    for (Particle* const star : _particles) {
        const float r = Particle::ranged(c.r, half.r);
        const float g = Particle::ranged(c.g, half.g);
        const float b = Particle::ranged(c.b, half.b);
        const float a = Particle::ranged(c.a, half.a);
        star->_color = RGBA<float>(r, g, b, a);
    }
    _starTemplate.colorBase = c;
    _starTemplate.colorRange = spread;
}

}  // namespace Vortel
