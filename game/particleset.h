#ifndef QUELLARIS_GAME_PARTICLESET_H
#define QUELLARIS_GAME_PARTICLESET_H

#include "platform/math.h"
#include "world/particle.h"

namespace Vortel {

// One set of sparks of an effect as it was tuned: all a particle template holds but where the
// effect stands, how dense the player wants effects and the texture's id. The sparks start at
// one point and fly off in every direction.
struct ParticleSet {
    int count;
    const char* texture;
    float speedRange;
    float velocityRate;
    float sizeBase;
    float sizeRange;
    float sizeRateRange;
    RGBA<float> color;
    RGBA<float> colorRange;
    RGBA<float> colorRate;
    RGBA<float> colorRateRange;
};

// The template of the set at position, its count scaled by density (0 .. 1) and truncated.
Particle::CreateData particleTemplate(const ParticleSet& set, const Vector3<float>& position, float density,
                                      int texId);

}  // namespace Vortel

#endif
