#ifndef QUELLARIS_WORLD_BOTEXPLOSION_H
#define QUELLARIS_WORLD_BOTEXPLOSION_H

#include <list>

#include "platform/math.h"
#include "world/explosion.h"

namespace Vortel {

class Mesh;

// A destroyed chaser's explosion: the sparks plus a red ring round the blast that grows by
// one unit of scale per second and fades with the square of its scale.
class BotExplosion : public Explosion {
public:
    BotExplosion(const std::list<Particle::CreateData>& templates, const Vector3<float>& center);

    void ringMesh(Mesh& mesh) { _ringMesh = &mesh; }

    void animate(double dt) override;
    // The ring; with one the particles that follow are blended additively, without one the
    // blend state is left alone.
    void drawShapes() override;

    float ringScale() const { return _ringScale; }
    RGBA<float> ringColor() const;

protected:
    Mesh* _ringMesh;
    float _ringScale;
};

}  // namespace Vortel

#endif
