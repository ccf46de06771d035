#include <gtest/gtest.h>

#include <cmath>

#include "platform/matrix.h"
#include "tests/world/particlepool.h"
#include "world/bulletsystem.h"

using Vortel::BulletSystem;
using Vortel::Particle;

namespace {

class BulletSystemTest : public particlepool::PoolTest {};

Vector3<float> column(const Matrix& m, int c) {
    return Vector3<float>(static_cast<float>(m(1, c)), static_cast<float>(m(2, c)), static_cast<float>(m(3, c)));
}

void expectVector(const Vector3<float>& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
}

float dot(const Vector3<float>& a, const Vector3<float>& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

TEST_F(BulletSystemTest, ABulletIsThreeParticlesFlyingAlongItsVelocity) {
    BulletSystem bullets(30);
    bullets.bulletTextureId(5);
    bullets.addBullet(Vector3<float>(1.0f, 2.0f, 3.0f), Vector3<float>(0.0f, 0.0f, 80.0f), 0.7f);
    ASSERT_EQ(bullets.numParticles(), 3);
    for (const Particle* p : bullets.particles()) {
        EXPECT_EQ(p->_pos, Vector3<float>(1.0f, 2.0f, 3.0f));
        EXPECT_EQ(p->_vel, Vector3<float>(0.0f, 0.0f, 80.0f));
        EXPECT_FLOAT_EQ(p->_lifeTime, 0.7f);
        EXPECT_FLOAT_EQ(p->_size, 0.1f);
        EXPECT_EQ(p->_color, RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f));
        EXPECT_EQ(p->_texId, 5);
    }
    const Particle::CreateData& t = bullets.bulletTemplate();
    EXPECT_FLOAT_EQ(t.speedBase, 80.0f);
    EXPECT_EQ(t.dirBase, Vector3<float>(0.0f, 0.0f, 1.0f));

    bullets.animate(0.5);
    expectVector(bullets.particles().front()->_pos, 1.0f, 2.0f, 43.0f);
}

TEST_F(BulletSystemTest, BulletsGoOnceOlderThanTheirLifeAndTheSystemNeverFinishes) {
    BulletSystem bullets(30);
    bullets.addBullet(Vector3<float>(), Vector3<float>(80.0f, 0.0f, 0.0f), 0.75f);
    bullets.animate(0.5);
    bullets.addBullet(Vector3<float>(), Vector3<float>(80.0f, 0.0f, 0.0f), 0.75f);
    bullets.animate(0.25);  // the first bullet is exactly 0.75 s old: still there
    EXPECT_EQ(bullets.numParticles(), 6);
    bullets.animate(0.25);
    EXPECT_EQ(bullets.numParticles(), 3);
    bullets.animate(100.0);
    EXPECT_EQ(bullets.numParticles(), 0);
    EXPECT_FALSE(bullets.finished());
    EXPECT_EQ(Particle::particleCount(), 0);
}

TEST_F(BulletSystemTest, TheLimitCapsBulletsAndAZeroVelocityAddsNone) {
    BulletSystem bullets(4);
    for (int i = 0; i < 5; ++i) {
        bullets.addBullet(Vector3<float>(), Vector3<float>(0.0f, 1.0f, 0.0f), 1.0f);
    }
    EXPECT_EQ(bullets.numParticles(), 5);  // the limit plus one, as for every system

    BulletSystem still(30);
    still.addBullet(Vector3<float>(1.0f, 1.0f, 1.0f), Vector3<float>(), 1.0f);
    EXPECT_EQ(still.numParticles(), 0);
}

TEST_F(BulletSystemTest, TheMeshFrameHasTheSideUpAndFlightAsItsColumns) {
    BulletSystem bullets(30);
    bullets.up(Vector3<int>(0, 1, 0));
    bullets.addBullet(Vector3<float>(4.0f, 5.0f, 6.0f), Vector3<float>(2.0f, 0.0f, 0.0f), 1.0f);
    const Matrix m = bullets.bulletMatrix(*bullets.particles().front());
    expectVector(column(m, 1), 0.0f, 0.0f, 1.0f);  // (1, 0, 0) x (0, 1, 0)
    expectVector(column(m, 2), 0.0f, 1.0f, 0.0f);
    expectVector(column(m, 3), 1.0f, 0.0f, 0.0f);
    expectVector(column(m, 4), 4.0f, 5.0f, 6.0f);
    EXPECT_DOUBLE_EQ(m(4, 4), 1.0);
}

TEST_F(BulletSystemTest, AFlightAlongUpStillGetsASoundFrame) {
    BulletSystem bullets(30);
    bullets.up(Vector3<int>(0, 0, 1));
    bullets.addBullet(Vector3<float>(), Vector3<float>(0.0f, 0.0f, -3.0f), 1.0f);
    const Matrix m = bullets.bulletMatrix(*bullets.particles().front());
    const Vector3<float> side = column(m, 1);
    const Vector3<float> up = column(m, 2);
    expectVector(column(m, 3), 0.0f, 0.0f, -1.0f);
    EXPECT_NEAR(dot(side, side), 1.0f, 1e-6f);
    EXPECT_NEAR(dot(up, up), 1.0f, 1e-6f);
    EXPECT_NEAR(dot(side, column(m, 3)), 0.0f, 1e-6f);
    EXPECT_NEAR(dot(up, column(m, 3)), 0.0f, 1e-6f);

    // No up at all is handled the same way.
    BulletSystem noUp(30);
    noUp.addBullet(Vector3<float>(), Vector3<float>(1.0f, 1.0f, 0.0f), 1.0f);
    const Matrix n = noUp.bulletMatrix(*noUp.particles().front());
    EXPECT_GT(dot(column(n, 1), column(n, 1)), 0.1f);

    // A diagonal flight without an up still gets an unsheared, unscaled frame.
    BulletSystem diagonal(30);
    diagonal.addBullet(Vector3<float>(), Vector3<float>(1.0f, 1.0f, 1.0f), 1.0f);
    const Matrix g = diagonal.bulletMatrix(*diagonal.particles().front());
    for (int a = 1; a <= 3; ++a) {
        for (int b = a; b <= 3; ++b) {
            EXPECT_NEAR(dot(column(g, a), column(g, b)), a == b ? 1.0f : 0.0f, 1e-6f) << a << ", " << b;
        }
    }
}
