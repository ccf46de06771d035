#ifndef QUELLARIS_WORLD_EXPLOSION_H
#define QUELLARIS_WORLD_EXPLOSION_H

#include <list>

#include "platform/math.h"
#include "world/particlesystem.h"

namespace Vortel {

// A burst of sparks that ends three seconds after it was made. The templates carry the
// blast position in their position base; the system's own origin stays at zero until the
// owner moves it (when the view wraps round the playfield).
class Explosion : public ParticleSystem {
public:
    static constexpr int MAX_PARTICLES = 1000;
    static constexpr int DURATION = 3;

    Explosion(const std::list<Particle::CreateData>& templates, const Vector3<float>& center);

    void animate(double dt) override;

    const Vector3<float>& blastCenter() const { return _blastCenter; }

protected:
    Vector3<float> _blastCenter;
};

}  // namespace Vortel

#endif
