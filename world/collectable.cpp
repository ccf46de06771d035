#include "world/collectable.h"

#include <GL/gl.h>

#include <algorithm>

#include "world/mesh.h"

namespace Vortel {

namespace {

// The pick-up grows from nothing to this share of a cell in as many seconds.
const double FULL_SCALE = 0.7;
const double DEGREES_PER_SECOND = 90.0;

}  // namespace

Collectable::Collectable()
    : _scoreAmount(0),
      _bombAmount(0),
      _ammoAmount(0),
      _shieldAmount(0),
      _amountScale(0.0f),
      _cell(0, 0, 0),
      _mesh(nullptr),
      _lifeTime(5.0),
      _fadeTime(1.0),
      _age(0.0),
      _alpha(1.0f) {}

Collectable::Collectable(Mesh& mesh) : Collectable() { _mesh = &mesh; }

Collectable::~Collectable() {}

void Collectable::animate(double dt) {
    _age += dt;
    const double fadeStart = _lifeTime - _fadeTime;
    if (_age < fadeStart) {
        _alpha = 1.0f;
    } else if (_age < _lifeTime) {
        // Reached only with a fade of positive length; at the end of the life the fade
        // gives 0, so a fade of no length cannot divide by zero.
        _alpha = static_cast<float>(1.0 - (_age - fadeStart) / _fadeTime);
    } else {
        _alpha = 0.0f;
    }
}

float Collectable::scale() const { return static_cast<float>(std::min(_age, FULL_SCALE)); }

float Collectable::spin() const { return static_cast<float>(DEGREES_PER_SECOND * _age); }

void Collectable::draw() {
    if (_mesh == nullptr) {
        return;
    }
    glPushMatrix();
    glTranslatef(static_cast<float>(_cell.x), static_cast<float>(_cell.y), static_cast<float>(_cell.z));
    glTranslatef(0.5f, 0.5f, 0.5f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glRotatef(spin(), 1.0f, 1.0f, 0.0f);
    const float s = scale();
    glScalef(s, s, s);
    glColor4f(1.0f, 1.0f, 1.0f, _alpha);
    _mesh->drawVertArray(true);
    glPopMatrix();
}

void Collectable::affectPlayer(Player&) {}

void Collectable::drawCube() const {
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(-0.5f, -0.5f, -0.5f);
    glVertex3f(-0.5f, 0.5f, -0.5f);
    glVertex3f(0.5f, 0.5f, -0.5f);
    glVertex3f(0.5f, -0.5f, -0.5f);
    glVertex3f(0.5f, -0.5f, 0.5f);
    glVertex3f(-0.5f, -0.5f, 0.5f);
    glVertex3f(-0.5f, 0.5f, 0.5f);
    glVertex3f(-0.5f, 0.5f, -0.5f);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(0.5f, 0.5f, 0.5f);
    glVertex3f(-0.5f, 0.5f, 0.5f);
    glVertex3f(-0.5f, -0.5f, 0.5f);
    glVertex3f(0.5f, -0.5f, 0.5f);
    glVertex3f(0.5f, -0.5f, -0.5f);
    glVertex3f(0.5f, 0.5f, -0.5f);
    glVertex3f(-0.5f, 0.5f, -0.5f);
    glVertex3f(-0.5f, 0.5f, 0.5f);
    glEnd();
}

}  // namespace Vortel
