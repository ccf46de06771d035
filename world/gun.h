#ifndef QUELLARIS_WORLD_GUN_H
#define QUELLARIS_WORLD_GUN_H

#include <vector>

#include "platform/math.h"

namespace Vortel {

// The player's weapon: ammunition, alternating barrels, single shots or automatic fire at a
// repeat delay that power-ups shorten, and a decaying recoil per barrel. It makes no
// bullets: the play frame reads _shots every frame, handles them and sets it back to 0.
// State lives in public fields that the game reads and writes directly.
class Gun {
public:
    struct Shake {
        Vector3<float> offset;  // recoil displacement
        float rotate = 0.0f;    // recoil rotation
    };

    static constexpr int DEFAULT_BARRELS = 2;

    Gun();

    // Pressed: with automatic fire the next animate fires; without it one shot now.
    // Released: automatic fire stops.
    void trigger(bool down);
    // Recoil decay, then at most one automatic shot: a long frame fires no missed shots.
    void animate(double dt);
    // One shot now, whatever the trigger and the timer say.
    void fire();

    int ammo() const { return _ammo; }
    void ammo(int n) { _ammo = n; }
    void addAmmo(int n) { _ammo += n; }

    // Takes effect on the delay in force at the next resetPowerups.
    void fireDelayMinMax(float min, float max);
    // Each power-up takes the delay 1/1.1 of the way closer to the shortest one.
    void fireDelayPowerup();
    void resetPowerups();

    // At least one barrel; the recoil table grows to match.
    void virtualGunsCount(int n);
    int virtualGunsCount() const { return _virtualGuns; }
    // Recoil of barrel i; an index past the last barrel reads the last one.
    Vector3<float>& virtualShakeTranslate(int i);
    float virtualShakeRotate(int i) const;

    int _currentGun;
    int _virtualGuns;
    std::vector<Shake> _shakes;
    double _repeatTimer;
    bool _triggerDown;
    bool _automatic;
    double _fireDelayMin;
    double _fireDelayMax;
    double _fireDelay;
    int _powerups;
    int _shots;
    int _ammo;

private:
    // Fires when there is ammunition; an empty gun is set to exactly 0.
    void shootIfLoaded();
    void shoot();
    std::size_t barrelIndex(int i) const;
};

}  // namespace Vortel

#endif
