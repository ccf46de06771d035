#include "world/gun.h"

#include <algorithm>
#include <cmath>

namespace Vortel {

namespace {

const Vector3<float> RECOIL_OFFSET(0.0f, 0.0f, -0.3f);
const float RECOIL_ROTATE = -1.0f;
// Recoil at or above these is left alone until the next shot.
const float OFFSET_REST = -0.01f;
const float ROTATE_REST = -0.1f;
// The share of the recoil that remains after one second.
const double RECOIL_KEPT_PER_SECOND = 0.001;
const float POWERUP_BASE = 1.1f;

}  // namespace

Gun::Gun()
    : _currentGun(0),
      _virtualGuns(DEFAULT_BARRELS),
      _shakes(DEFAULT_BARRELS),
      _repeatTimer(0.0),
      _triggerDown(false),
      _automatic(true),
      _fireDelayMin(0.04),
      _fireDelayMax(0.15),
      _fireDelay(0.15),
      _powerups(0),
      _shots(0),
      _ammo(0) {}

void Gun::trigger(bool down) {
    if (!down) {
        _triggerDown = false;
        return;
    }
    _repeatTimer = 0.0;
    if (_automatic) {
        _triggerDown = true;
        return;
    }
    shootIfLoaded();
    _triggerDown = false;
}

void Gun::animate(double dt) {
    _repeatTimer -= dt;

    const float kept = static_cast<float>(std::pow(RECOIL_KEPT_PER_SECOND, dt));
    for (Shake& s : _shakes) {
        if (s.offset.z < OFFSET_REST) {
            s.offset.x *= kept;
            s.offset.y *= kept;
            s.offset.z *= kept;
        }
        if (s.rotate < ROTATE_REST) {
            s.rotate *= kept;
        }
    }

    if (_triggerDown && _automatic && _repeatTimer <= 0.0) {
        shootIfLoaded();
        _repeatTimer = _fireDelay;
    }
}

void Gun::fire() {
    shootIfLoaded();
}

void Gun::shootIfLoaded() {
    if (_ammo < 1) {
        _ammo = 0;
        return;
    }
    shoot();
}

void Gun::shoot() {
    ++_currentGun;
    if (_currentGun > _virtualGuns - 1) {
        _currentGun = 0;
    }
    Shake& s = _shakes[barrelIndex(_currentGun)];
    s.offset = RECOIL_OFFSET;
    ++_shots;
    --_ammo;
    s.rotate = RECOIL_ROTATE;
}

void Gun::fireDelayMinMax(float min, float max) {
    _fireDelayMin = min;
    _fireDelayMax = max;
}

void Gun::fireDelayPowerup() {
    ++_powerups;
    const float scale = std::pow(POWERUP_BASE, static_cast<float>(-_powerups));
    _fireDelay = _fireDelayMin + (_fireDelayMax - _fireDelayMin) * scale;
}

void Gun::resetPowerups() {
    _powerups = 0;
    _fireDelay = _fireDelayMax;
}

void Gun::virtualGunsCount(int n) {
    _virtualGuns = std::max(n, 1);
    if (_currentGun > _virtualGuns - 1) {
        _currentGun = _virtualGuns - 1;
    }
    if (_shakes.size() < static_cast<std::size_t>(_virtualGuns)) {
        _shakes.resize(static_cast<std::size_t>(_virtualGuns));
    }
}

Vector3<float>& Gun::virtualShakeTranslate(int i) {
    return _shakes[barrelIndex(i)].offset;
}

float Gun::virtualShakeRotate(int i) const {
    return _shakes[barrelIndex(i)].rotate;
}

std::size_t Gun::barrelIndex(int i) const {
    return static_cast<std::size_t>(std::clamp(i, 0, _virtualGuns - 1));
}

}  // namespace Vortel
