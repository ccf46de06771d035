#include "engine2d/sprite.h"

#include <algorithm>
#include <cmath>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"

namespace Stelkor {

Sprite::Sprite()
    : _pos(0, 0),
      _vel(0, 0),
      _color(1, 1, 1, 1),
      _rotation(0),
      _spin(0),
      _scale(1, 1),
      _scaleVel(0, 0),
      _acceleration(0),
      _visible(true),
      drawImageFirst(false),
      _image(nullptr),
      _parent(nullptr),
      _paused(false),
      _age(0),
      _distance(0) {}

Sprite::~Sprite() {
    deleteChildren();
    parent(nullptr);
}

Sprite& Sprite::pos(float x, float y) {
    _pos.set(x, y);
    return *this;
}

Sprite& Sprite::posBy(const Vector2<float>& d) {
    _pos = _pos + d;
    return *this;
}

Sprite& Sprite::posBy(float dx, float dy) {
    return posBy(Vector2<float>(dx, dy));
}

Sprite& Sprite::vel(float length, float angle) {
    _vel = RadVector2<float>(length, angle);
    return *this;
}

Sprite& Sprite::velBy(const RadVector2<float>& d) {
    _vel.length += d.length;
    _vel.angle += d.angle;
    return *this;
}

void Sprite::parent(Sprite* p) {
    if (_parent) {
        std::list<Sprite*>& siblings = _parent->_children;
        const std::list<Sprite*>::iterator me = std::find(siblings.begin(), siblings.end(), this);
        if (me != siblings.end()) {
            siblings.erase(me);
        }
    }
    _parent = p;
    if (p) {
        p->_children.push_back(this);
    }
}

// Each child is unlinked before it is deleted, so its own detaching finds nothing to erase.
void Sprite::deleteChildren() {
    while (!_children.empty()) {
        Sprite* const child = _children.front();
        _children.pop_front();
        child->_parent = nullptr;
        delete child;
    }
}

void Sprite::animateLocal(double dt) {
    const float t = static_cast<float>(dt);
    if (_spin != 0) {
        _rotation += t * _spin;
    }
    if (_scaleVel.x != 0 || _scaleVel.y != 0) {
        _scale.x = std::max(0.0f, _scale.x + _scaleVel.x * t);
        _scale.y = std::max(0.0f, _scale.y + _scaleVel.y * t);
    }
    _vel.length = std::max(0.0f, _vel.length + t * _acceleration);
    const float step = t * _vel.length;
    _pos.x += step * std::cos(_vel.angle);
    _pos.y += step * std::sin(_vel.angle);

    _posAbs = _pos;
    _age += t;
    _distance += step;
    if (_parent) {
        _posAbs = _pos + _parent->_posAbs;
    }
    for (Sprite* child : _children) {
        child->animate(dt);
    }
}

void Sprite::drawLocal(bool) {
    if (!_visible) {
        return;
    }
    if (drawImageFirst) {
        drawImage();
    }
    for (Sprite* child : _children) {
        child->draw();
    }
    if (!drawImageFirst) {
        drawImage();
    }
}

void Sprite::drawImage() const {
    if (!_image || !_image->bitmap()) {
        return;
    }
    Renderer2D* const renderer = _image->bitmap()->renderer();
    renderer->color(_color);
    renderer->drawImage(*_image, _posAbs, _rotation, _scale.x, _scale.y);
}

void Sprite::animate(double dt) {
    animateLocal(dt);
}

void Sprite::draw() {
    drawLocal();
}

Sprite* Sprite::duplicate() const {
    Sprite* const copy = new Sprite;
    copyTo(copy);
    return copy;
}

void Sprite::copyTo(Sprite* target) const {
    // Onto itself or an ancestor, the copy would delete this sprite while reading it.
    for (const Sprite* s = this; s != nullptr; s = s->_parent) {
        if (s == target) {
            return;
        }
    }
    target->_pos = _pos;
    target->_vel = _vel;
    target->_acceleration = _acceleration;
    target->_image = _image;
    target->_color = _color;
    target->_visible = _visible;
    target->_rotation = _rotation;
    target->_spin = _spin;
    target->_scale = _scale;
    target->_scaleVel = _scaleVel;
    target->drawImageFirst = drawImageFirst;
    target->_paused = _paused;

    target->deleteChildren();
    for (const Sprite* child : _children) {
        child->duplicate()->parent(target);
    }
}

}  // namespace Stelkor
