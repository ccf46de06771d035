#include <gtest/gtest.h>

#include <cmath>

#include "platform/math.h"
#include "platform/matrix.h"
#include "platform/quaternion.h"

namespace {

void expectQuaternion(const Quaternion& q, float x, float y, float z, float w) {
    EXPECT_NEAR(q.x, x, 1e-6f);
    EXPECT_NEAR(q.y, y, 1e-6f);
    EXPECT_NEAR(q.z, z, 1e-6f);
    EXPECT_NEAR(q.w, w, 1e-6f);
}

}  // namespace

TEST(QuaternionTest, AxisAngleIsNormalisedAsAWhole) {
    // Length of (0, 0, 2, 0) is 2.
    expectQuaternion(Quaternion(Vector3<float>(0, 0, 2), TRUE_PI<float>), 0, 0, 1, 0);
    expectQuaternion(Quaternion(Vector3<float>(0, 1, 0), TRUE_PI<float> / 2), 0, std::sqrt(0.5f), 0, std::sqrt(0.5f));
    expectQuaternion(Quaternion(Vector3<float>(0, 0, 0), 0), 0, 0, 0, 1);

    Quaternion q(1, 2, 3, 4);
    q.set(Vector3<float>(3, 0, 4), 1.3f);
    EXPECT_NEAR(q.magnitude(), 1.0f, 1e-6f);
}

TEST(QuaternionTest, NormScalesToUnitLength) {
    Quaternion q(0, 3, 0, 4);
    EXPECT_FLOAT_EQ(q.magnitude(), 5.0f);
    q.norm();
    expectQuaternion(q, 0, 0.6f, 0, 0.8f);

    // Nothing to scale: it stays zero rather than turning into NaN.
    Quaternion zero(0, 0, 0, 0);
    zero.norm();
    expectQuaternion(zero, 0, 0, 0, 0);
}

TEST(QuaternionTest, RotationFollowsTheRightHandRule) {
    Matrix m;
    m.rotation(Quaternion(Vector3<float>(0, 1, 0), TRUE_PI<float> / 2));
    const Vector3<float> turned = m * Vector3<float>(1, 0, 0);
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.z, -1.0f, 1e-6f);

    // Half a turn about the diagonal swaps x and y and negates z.
    m.rotation(Quaternion(Vector3<float>(1, 1, 0), TRUE_PI<float>));
    const Vector3<float> swapped = m * Vector3<float>(1, 2, 3);
    EXPECT_NEAR(swapped.x, 2.0f, 1e-5f);
    EXPECT_NEAR(swapped.y, 1.0f, 1e-5f);
    EXPECT_NEAR(swapped.z, -3.0f, 1e-5f);
}
