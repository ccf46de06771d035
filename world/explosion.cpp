#include "world/explosion.h"

namespace Vortel {

Explosion::Explosion(const std::list<Particle::CreateData>& templates, const Vector3<float>& center)
    : ParticleSystem(templates, MAX_PARTICLES, DURATION), _blastCenter(center) {}

void Explosion::animate(double dt) {
    ParticleSystem::animate(dt);
}

}  // namespace Vortel
