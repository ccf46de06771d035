#include "game/particleset.h"

namespace Vortel {

Particle::CreateData particleTemplate(const ParticleSet& set, const Vector3<float>& position, float density,
                                      int texId) {
    Particle::CreateData t;
    t.count = static_cast<int>(density * static_cast<float>(set.count));
    t.posBase = position;
    t.dirRange = Vector3<float>(1.0f, 1.0f, 1.0f);
    t.speedRange = set.speedRange;
    t.velFactor = set.velocityRate;
    t.sizeBase = set.sizeBase;
    t.sizeRange = set.sizeRange;
    t.sizeDeltaRange = set.sizeRateRange;
    t.colorBase = set.color;
    t.colorRange = set.colorRange;
    t.colorDeltaBase = set.colorRate;
    t.colorDeltaRange = set.colorRateRange;
    t.texId = texId;
    return t;
}

}  // namespace Vortel
