#ifndef QUELLARIS_WORLD_STARFIELD_H
#define QUELLARIS_WORLD_STARFIELD_H

#include "platform/math.h"
#include "world/particlesystem.h"

namespace Vortel {

// The drifting background stars: still particles inside a cube of edge 32 round the
// field's origin. The whole field drifts; a star that leaves the cube comes back in at the
// opposite face at a fresh random spot on it. Stars never fade, so only starCount removes
// them.
class Starfield : public ParticleSystem {
public:
    static constexpr int MAX_STARS = 2000;
    static constexpr float HALF_EDGE = 16.0f;

    Starfield(const Vector3<float>& origin, const Vector3<float>& drift, float starParam, int count, int texture);

    void animate(double dt) override;

    // n stars more, up to the limit (which, as for every system, lets one more through).
    void createStars(int n);
    // Up to n stars from the front of the list.
    void destroyStars(int n);
    // Creates or removes stars until the field holds n; 0 removes them all.
    void starCount(int n);
    // Every star takes a colour within c +- spread / 2 per channel, alpha too; stars made
    // later are drawn within c +- spread.
    void color(const RGBA<float>& c, const RGBA<float>& spread);

    const Vector3<float>& drift() const { return _drift; }
    float starParam() const { return _starParam; }
    const Particle::CreateData& starTemplate() const { return _starTemplate; }

protected:
    // Brings a star that has left the cube back in at the opposite face.
    static void wrap(Vector3<float>& p);

    Vector3<float> _drift;
    float _starParam;
    Particle::CreateData _starTemplate;
};

}  // namespace Vortel

#endif
