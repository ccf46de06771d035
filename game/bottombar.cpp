#include "game/bottombar.h"

#include <GL/gl.h>

#include <cmath>

#include "engine2d/renderer2d.h"

namespace Vortel {

BottomBar::BottomBar(Stelkor::Renderer2D& renderer) : _renderer(&renderer) {}

void BottomBar::set(float h, float s, RGBA<float> c) {
    _targetHeight = h;
    _fade.clear();
    _time = 0.0;
    if (!(s > 0.0f && std::isfinite(s))) {
        // No speed to travel at: the journey time would be 0 / 0 or never end.
        _height = h;
        _speed = 0.0f;
        _color = c;
        _fade.addEntry(0.0f, c);
        return;
    }
    _speed = _height > h ? -s : s;
    // Two stops at time 0 when the bar is already at h: the later-added one, c, wins there.
    _fade.addEntry(0.0f, _color);
    _fade.addEntry(std::fabs(_height - h) / s, c);
    settleIfArrived();
    _color = _fade.value(0.0f);
}

void BottomBar::animate(double dt) {
    if (!settleIfArrived() && _speed != 0.0f) {
        _height += static_cast<float>(_speed * dt);
    }
    _time += dt;
    _color = _fade.value(static_cast<float>(_time));
}

void BottomBar::draw() const {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    _renderer->color(_color);
    const Quib::AABB2<int>& viewport = _renderer->vport();
    const float width = static_cast<float>(viewport.max.x - viewport.min.x);
    _renderer->drawBox(Quib::AABB2<float>(0.0f, 0.0f, width, _height), true, false);
}

bool BottomBar::settleIfArrived() {
    if ((_speed < 0.0f && _height <= _targetHeight) || (_speed > 0.0f && _height >= _targetHeight)) {
        _height = _targetHeight;
        _speed = 0.0f;
        return true;
    }
    return false;
}

}  // namespace Vortel
