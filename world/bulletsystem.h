#ifndef QUELLARIS_WORLD_BULLETSYSTEM_H
#define QUELLARIS_WORLD_BULLETSYSTEM_H

#include <list>

#include "platform/math.h"
#include "platform/matrix.h"
#include "world/particlesystem.h"

namespace Vortel {

class Mesh;

// The visible tracers: every bullet is three coincident particles that fly straight, drawn
// as a mesh pointing along their flight, and removed once older than their life time. The
// system itself never finishes.
class BulletSystem : public ParticleSystem {
public:
    static constexpr int PARTICLES_PER_BULLET = 3;

    explicit BulletSystem(int max);

    void bulletTextureId(int id) { _bulletTemplate.front().texId = id; }
    void bulletMesh(Mesh* mesh) { _bulletMesh = mesh; }
    void up(const Vector3<int>& v) { _up = Vector3<float>(v); }

    // A bullet at pos flying with velocity, for life seconds. A zero velocity gives no
    // direction to fly or point in, so it adds nothing.
    void addBullet(const Vector3<float>& pos, const Vector3<float>& velocity, float life);

    void animate(double dt) override;
    void draw() override;

    // The frame a bullet's mesh is drawn in: column 0 the side (flight x up), column 1 up,
    // column 2 the flight direction, translation the bullet's position. A flight along up
    // (or no up at all) takes the world axis least along the flight, squared up against it,
    // as its up instead; a bullet at rest points along z.
    Matrix bulletMatrix(const Particle& bullet) const;

    const Particle::CreateData& bulletTemplate() const { return _bulletTemplate.front(); }
    const Vector3<float>& up() const { return _up; }

protected:
    std::list<Particle::CreateData> _bulletTemplate;
    Mesh* _bulletMesh;
    Vector3<float> _up;
};

}  // namespace Vortel

#endif
