#include <gtest/gtest.h>

#include <cmath>

#include "world/gun.h"

using Vortel::Gun;

TEST(GunTest, StartsWithTwoBarrelsNoAmmunitionAndAutomaticFire) {
    const Gun gun;
    EXPECT_EQ(gun.virtualGunsCount(), 2);
    EXPECT_EQ(gun._shakes.size(), 2u);
    EXPECT_EQ(gun.ammo(), 0);
    EXPECT_TRUE(gun._automatic);
    EXPECT_DOUBLE_EQ(gun._fireDelayMin, 0.04);
    EXPECT_DOUBLE_EQ(gun._fireDelay, 0.15);
}

TEST(GunTest, AutomaticFireStartsAtTheNextStepAndRepeatsAtTheDelay) {
    Gun gun;
    gun.ammo(100);
    gun.trigger(true);
    EXPECT_EQ(gun._shots, 0);
    EXPECT_TRUE(gun._triggerDown);

    gun.animate(0.01);
    EXPECT_EQ(gun._shots, 1);
    gun.animate(0.10);
    EXPECT_EQ(gun._shots, 1);
    gun.animate(0.05);  // 0.15 s since the shot
    EXPECT_EQ(gun._shots, 2);
    gun.animate(1.0);  // a long frame fires once, not the shots it missed
    EXPECT_EQ(gun._shots, 3);
    EXPECT_EQ(gun.ammo(), 97);

    gun.trigger(false);
    gun.animate(1.0);
    EXPECT_EQ(gun._shots, 3);
}

TEST(GunTest, SingleShotsFireOncePerPress) {
    Gun gun;
    gun._automatic = false;
    gun.ammo(2);
    gun.trigger(true);
    EXPECT_EQ(gun._shots, 1);
    EXPECT_FALSE(gun._triggerDown);
    gun.animate(1.0);
    EXPECT_EQ(gun._shots, 1);
    gun.trigger(false);
    gun.trigger(true);
    gun.trigger(true);
    EXPECT_EQ(gun._shots, 2);
    EXPECT_EQ(gun.ammo(), 0);
}

TEST(GunTest, AnEmptyGunFiresNothingAndReadsZero) {
    Gun gun;
    gun.ammo(-5);
    gun.trigger(true);
    gun.animate(0.2);
    gun.animate(0.2);
    EXPECT_EQ(gun._shots, 0);
    EXPECT_EQ(gun.ammo(), 0);
    gun.ammo(-1);
    gun.fire();
    EXPECT_EQ(gun._shots, 0);
    EXPECT_EQ(gun.ammo(), 0);
    gun.addAmmo(3);
    gun.fire();
    EXPECT_EQ(gun.ammo(), 2);
}

TEST(GunTest, BarrelsAlternateAndEachShotKicksItsOwnRecoil) {
    Gun gun;
    gun.ammo(3);
    gun.fire();
    EXPECT_EQ(gun._currentGun, 1);
    gun.fire();
    EXPECT_EQ(gun._currentGun, 0);
    gun.fire();
    EXPECT_EQ(gun._currentGun, 1);
    EXPECT_EQ(gun._shots, 3);
    EXPECT_EQ(gun.virtualShakeTranslate(1), Vector3<float>(0.0f, 0.0f, -0.3f));
    EXPECT_FLOAT_EQ(gun.virtualShakeRotate(0), -1.0f);
    // An index past the last barrel reads the last one.
    EXPECT_EQ(&gun.virtualShakeTranslate(7), &gun.virtualShakeTranslate(1));
}

TEST(GunTest, RecoilDecaysToAThousandthPerSecondUntilItComesToRest) {
    Gun gun;
    gun.ammo(1);
    gun.fire();
    gun.animate(0.5);
    const float f = static_cast<float>(std::pow(0.001, 0.5));
    EXPECT_FLOAT_EQ(gun.virtualShakeTranslate(1).z, -0.3f * f);
    EXPECT_FLOAT_EQ(gun.virtualShakeRotate(1), -1.0f * f);

    // Once at or above its rest value it stays put until the next shot.
    gun._shakes[1].offset.z = -0.01f;
    gun._shakes[1].rotate = -0.1f;
    gun.animate(1.0);
    EXPECT_FLOAT_EQ(gun.virtualShakeTranslate(1).z, -0.01f);
    EXPECT_FLOAT_EQ(gun.virtualShakeRotate(1), -0.1f);
    gun._shakes[1].offset.z = -0.011f;
    gun.animate(1.0);
    EXPECT_FLOAT_EQ(gun.virtualShakeTranslate(1).z, -0.011f * 0.001f);
}

TEST(GunTest, PowerupsShortenTheDelayTowardsTheShortest) {
    Gun gun;
    gun.fireDelayPowerup();
    EXPECT_NEAR(gun._fireDelay, 0.04 + 0.11 / 1.1, 1e-7);
    gun.fireDelayPowerup();
    EXPECT_NEAR(gun._fireDelay, 0.04 + 0.11 / (1.1 * 1.1), 1e-7);
    for (int i = 0; i < 200; ++i) {
        gun.fireDelayPowerup();
    }
    EXPECT_NEAR(gun._fireDelay, 0.04, 1e-7);

    // New bounds take effect at the reset.
    gun.fireDelayMinMax(0.05f, 0.2f);
    EXPECT_NEAR(gun._fireDelay, 0.04, 1e-7);
    gun.resetPowerups();
    EXPECT_EQ(gun._powerups, 0);
    EXPECT_DOUBLE_EQ(gun._fireDelay, static_cast<double>(0.2f));
}

TEST(GunTest, MoreBarrelsGetARecoilRecordEach) {
    Gun gun;
    gun.virtualGunsCount(4);
    ASSERT_EQ(gun._shakes.size(), 4u);
    gun.ammo(4);
    for (int i = 0; i < 4; ++i) {
        gun.fire();
    }
    EXPECT_EQ(gun._currentGun, 0);
    EXPECT_FLOAT_EQ(gun.virtualShakeRotate(3), -1.0f);
    EXPECT_FLOAT_EQ(gun.virtualShakeRotate(2), -1.0f);

    gun.virtualGunsCount(0);
    EXPECT_EQ(gun.virtualGunsCount(), 1);
    EXPECT_EQ(gun._currentGun, 0);
    gun.fire();
    EXPECT_EQ(gun._currentGun, 0);
    EXPECT_EQ(&gun.virtualShakeTranslate(-3), &gun.virtualShakeTranslate(0));
}
