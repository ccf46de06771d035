#include "world/botexplosion.h"

#include <GL/gl.h>

#include "world/mesh.h"

namespace Vortel {

BotExplosion::BotExplosion(const std::list<Particle::CreateData>& templates, const Vector3<float>& center)
    : Explosion(templates, center), _ringMesh(nullptr), _ringScale(1.0f) {
    _duration = 3.0;
}

void BotExplosion::animate(double dt) {
    Explosion::animate(dt);
    _ringScale += static_cast<float>(dt);
}

RGBA<float> BotExplosion::ringColor() const {
    return RGBA<float>(1.0f, 0.0f, 0.0f, 0.9f / (_ringScale * _ringScale));
}

void BotExplosion::drawShapes() {
    if (_ringMesh != nullptr) {
        glPushMatrix();
        glTranslatef(_blastCenter.x, _blastCenter.y, _blastCenter.z);
        glTranslatef(_origin.x, _origin.y, _origin.z);
        glScalef(_ringScale, _ringScale, _ringScale);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        const RGBA<float> c = ringColor();
        glColor4f(c.r, c.g, c.b, c.a);
        glDisable(GL_TEXTURE_2D);
        _ringMesh->drawVertArray(true);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_TEXTURE_2D);
        glPopMatrix();
    }
}

}  // namespace Vortel
