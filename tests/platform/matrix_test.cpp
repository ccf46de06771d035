#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/math.h"
#include "platform/matrix.h"
#include "tests/support/helpers.h"

namespace {

using testsupport::expectNear;

void expectIdentity(const Matrix& m, double tolerance) {
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 4; ++c) {
            EXPECT_NEAR(m(r, c), r == c ? 1.0 : 0.0, tolerance) << "row " << r << " column " << c;
        }
    }
}

Matrix translationBy(float x, float y, float z) {
    Matrix m;
    m.translation(Vector3<float>(x, y, z));
    return m;
}

Matrix rotationAbout(const Vector3<float>& axis, float angle) {
    Matrix m;
    m.rotation(Quaternion(axis, angle));
    return m;
}

}  // namespace

TEST(MatrixTest, DefaultIsIdentityAndStorageIsColumnOrder) {
    expectIdentity(Matrix(), 0.0);

    double values[16];
    for (int i = 0; i < 16; ++i) {
        values[i] = i;
    }
    const Matrix m(values);
    // Row 2, column 4 is element 1 + 4 * 3.
    EXPECT_EQ(m(2, 4), 13.0);
    EXPECT_EQ(m(4, 1), 3.0);
    EXPECT_EQ(m.data()[7], 7.0);
}

TEST(MatrixTest, LoadPutsTheThirdArgumentInTheFirstColumn) {
    const Vector3<float> a(1, 2, 3);
    const Vector3<float> b(4, 5, 6);
    const Vector3<float> c(7, 8, 9);
    const Vector3<float> d(10, 11, 12);
    Matrix m;
    m.scaling(Vector3<float>(5, 5, 5));
    m.load(a, b, c, d);
    EXPECT_EQ(m(1, 1), c.x);
    EXPECT_EQ(m(3, 1), c.z);
    EXPECT_EQ(m(2, 2), b.y);
    EXPECT_EQ(m(1, 3), a.x);
    EXPECT_EQ(m(3, 4), d.z);
    for (int c4 = 1; c4 <= 3; ++c4) {
        EXPECT_EQ(m(4, c4), 0.0);
    }
    EXPECT_EQ(m(4, 4), 1.0);

    const Matrix built(a, b, c, d);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(built.data()[i], m.data()[i]);
    }
}

TEST(MatrixTest, ProductAppliesTheLeftOperandFirst) {
    const Matrix t1 = translationBy(1, 2, 3);
    const Matrix t2 = translationBy(-4, 0.5f, 10);
    expectNear((t1 * t2) * Vector3<float>(0, 0, 0), Vector3<float>(-3, 2.5f, 13));

    // A quarter turn about z, then a move along x, and the other way round.
    const Matrix turn = rotationAbout(Vector3<float>(0, 0, 1), static_cast<float>(TRUE_PI<double> / 2));
    const Matrix move = translationBy(5, 0, 0);
    expectNear((turn * move) * Vector3<float>(1, 0, 0), Vector3<float>(5, 1, 0));
    expectNear((move * turn) * Vector3<float>(1, 0, 0), Vector3<float>(0, 6, 0));

    // Two rotations: about x first, then about y.
    const Matrix q1 = rotationAbout(Vector3<float>(1, 0, 0), static_cast<float>(TRUE_PI<double> / 2));
    const Matrix q2 = rotationAbout(Vector3<float>(0, 1, 0), static_cast<float>(TRUE_PI<double> / 2));
    // (0, 1, 0) -> about x -> (0, 0, 1) -> about y -> (1, 0, 0).
    expectNear((q1 * q2) * Vector3<float>(0, 1, 0), Vector3<float>(1, 0, 0));
}

TEST(MatrixTest, InverseUndoesRandomInvertibleMatrices) {
    std::mt19937 engine(7);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    for (int trial = 0; trial < 200; ++trial) {
        double values[16];
        for (double& v : values) {
            v = value(engine);
        }
        // Strong diagonal keeps the matrix well away from singular.
        for (int i = 0; i < 4; ++i) {
            values[5 * i] += values[5 * i] < 0 ? -13.0 : 13.0;
        }
        const Matrix m(values);
        const Matrix inverse = !m;
        expectIdentity(m * inverse, 1e-9);
        expectIdentity(inverse * m, 1e-9);
        EXPECT_EQ(m.data()[6], values[6]) << "the inverse must leave its operand alone";
    }
}

TEST(MatrixTest, InverseOfRigidTransformMovesBack) {
    const Matrix m = rotationAbout(Vector3<float>(1, 2, 3), 0.8f) * translationBy(4, -5, 6);
    const Vector3<float> p(0.3f, -2, 7);
    expectNear(!m * (m * p), p);
}

TEST(MatrixTest, InverseOfSingularMatrixIsIdentity) {
    Matrix flat;
    flat.scaling(Vector3<float>(1, 0, 1));
    expectIdentity(!flat, 0.0);

    double rankOne[16];
    for (int i = 0; i < 16; ++i) {
        rankOne[i] = (i % 4 + 1) * (i / 4 + 1);
    }
    expectIdentity(!Matrix(rankOne), 0.0);

    // A tiny but non-zero determinant whose inverse would overflow.
    Matrix tiny;
    tiny(4, 4) = 1e-310;
    const Matrix inverse = !tiny;
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(inverse.data()[i]));
    }
}

TEST(MatrixTest, TransposeSwapsRowsAndColumns) {
    Matrix m = translationBy(1, 2, 3);
    m(2, 3) = 9;
    const Matrix original = m;
    m.transpose();
    EXPECT_EQ(m(4, 1), 1.0);
    EXPECT_EQ(m(4, 3), 3.0);
    EXPECT_EQ(m(3, 2), 9.0);
    EXPECT_EQ(m(1, 4), 0.0);
    m.transpose().transpose().transpose();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m.data()[i], original.data()[i]);
    }
}

TEST(MatrixTest, PointsAndDirections) {
    Matrix m = translationBy(1, 2, 3);
    m(4, 4) = 4;  // no division by the bottom row
    m(4, 1) = 2;
    const Vector3<float> v(1, 1, 1);
    expectNear(m * v, Vector3<float>(2, 3, 4));
    expectNear(m.mult(v, 0), v);
    expectNear(m.mult(v, 2), Vector3<float>(3, 5, 7));

    Matrix halved = translationBy(2, 4, 6);
    halved /= 2;
    EXPECT_EQ(halved(1, 4), 1.0);
    EXPECT_EQ(halved(1, 1), 0.5);
    EXPECT_EQ(halved(4, 4), 0.5);
}

TEST(MatrixTest, SettersReplaceEveryValue) {
    Matrix m = translationBy(7, 7, 7);
    m.scaling(Vector3<float>(2, 3, 4));
    expectNear(m * Vector3<float>(1, 1, 1), Vector3<float>(2, 3, 4));

    m.shear(1, 2, 3, 4, 5, 6);
    // x + 1y + 2z, y + 3x + 4z, z + 5x + 6y.
    expectNear(m * Vector3<float>(1, 10, 100), Vector3<float>(211, 413, 165));

    m.translation(Vector3<float>(1, 2, 3));
    m.rotation(Vector3<float>(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(m(1, 4), 0.0);
    EXPECT_EQ(m(4, 4), 1.0);
}

TEST(MatrixTest, AngleRotationsAreOrthonormalAndFollowTheirAxes) {
    Matrix m;
    m.rotation(Vector3<float>(0.4f, -1.1f, 2.5f));
    // Rotation: transpose is the inverse and lengths are kept.
    Matrix t = m;
    t.transpose();
    expectIdentity(m * t, 1e-12);
    const Vector3<float> moved = m * Vector3<float>(3, 4, 12);
    EXPECT_NEAR(std::sqrt(moved.x * moved.x + moved.y * moved.y + moved.z * moved.z), 13.0f, 1e-5f);

    // The x and z angles turn the same way as a quaternion about that axis; the y angle
    // turns the other way.
    const float angle = 0.7f;
    const Vector3<float> p(1, 2, 3);
    m.rotation(Vector3<float>(angle, 0, 0));
    expectNear(m * p, rotationAbout(Vector3<float>(1, 0, 0), angle) * p);
    m.rotation(Vector3<float>(0, 0, angle));
    expectNear(m * p, rotationAbout(Vector3<float>(0, 0, 1), angle) * p);
    m.rotation(Vector3<float>(0, angle, 0));
    expectNear(m * p, rotationAbout(Vector3<float>(0, 1, 0), -angle) * p);
}
