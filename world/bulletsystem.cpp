#include "world/bulletsystem.h"

#include <GL/gl.h>

#include <cmath>

#include "world/mesh.h"

namespace Vortel {

namespace {

float length(const Vector3<float>& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

Vector3<float> scaled(const Vector3<float>& v, float s) {
    return Vector3<float>(v.x * s, v.y * s, v.z * s);
}

Vector3<float> cross(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// The unit axis with the smallest share of d: never parallel to a non-zero d.
Vector3<float> leastAlignedAxis(const Vector3<float>& d) {
    const float ax = std::fabs(d.x);
    const float ay = std::fabs(d.y);
    const float az = std::fabs(d.z);
    if (ax <= ay && ax <= az) {
        return Vector3<float>(1.0f, 0.0f, 0.0f);
    }
    if (ay <= az) {
        return Vector3<float>(0.0f, 1.0f, 0.0f);
    }
    return Vector3<float>(0.0f, 0.0f, 1.0f);
}

// Below this the side vector is too short to give the mesh a sound frame.
const float DEGENERATE_SIDE = 1e-6f;

}  // namespace

BulletSystem::BulletSystem(int max) : ParticleSystem(), _bulletTemplate(1), _bulletMesh(nullptr) {
    Particle::CreateData& t = _bulletTemplate.front();
    t.count = PARTICLES_PER_BULLET;
    t.sizeBase = 0.1f;
    t.colorBase = RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f);
    _maxParticles = max;
    _time = NEVER_ENDS;
}

void BulletSystem::addBullet(const Vector3<float>& pos, const Vector3<float>& velocity, float life) {
    const float speed = length(velocity);
    if (speed == 0.0f) {
        return;
    }
    Particle::CreateData& t = _bulletTemplate.front();
    t.speedBase = speed;
    t.dirBase = scaled(velocity, 1.0f / speed);
    t.posBase = pos;
    t.lifeTime = life;
    createParticles(_bulletTemplate);
}

void BulletSystem::animate(double dt) {
    ParticleSystem::animate(dt);
    removeParticles([](const Particle& p) { return p._lifeTime < p._age; });
}

Matrix BulletSystem::bulletMatrix(const Particle& bullet) const {
    const float speed = length(bullet._vel);
    const Vector3<float> d = speed > 0.0f ? scaled(bullet._vel, 1.0f / speed) : Vector3<float>(0.0f, 0.0f, 1.0f);
    Vector3<float> up = _up;
    Vector3<float> side = cross(d, up);
    if (length(side) < DEGENERATE_SIDE) {
        // The stand-in axis is only roughly across the flight: square it up, or a diagonal
        // flight would shear and shrink the mesh.
        side = cross(d, leastAlignedAxis(d));
        side = scaled(side, 1.0f / length(side));
        up = cross(side, d);
    }
    // Matrix::load fills column 0 from its third argument and column 2 from its first.
    Matrix m;
    m.load(d, up, side, bullet._pos);
    return m;
}

void BulletSystem::draw() {
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_CULL_FACE);
    glLineWidth(1.0f);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_bulletTemplate.front().texId));
    for (const Particle* const p : _particles) {
        glPushMatrix();
        glMultMatrixd(bulletMatrix(*p).data());
        if (_bulletMesh != nullptr) {
            _bulletMesh->draw();
        }
        glPopMatrix();
    }
    glLineWidth(1.0f);
    glEnable(GL_CULL_FACE);
}

}  // namespace Vortel
