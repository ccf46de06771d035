#include "platform/matrix.h"

#include <cmath>
#include <cstring>

namespace {

const double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

}  // namespace

Matrix::Matrix() {
    identity();
}

Matrix::Matrix(const double* values) {
    std::memcpy(_m, values, sizeof(_m));
}

Matrix::Matrix(const Vector3<float>& a, const Vector3<float>& b, const Vector3<float>& c, const Vector3<float>& d) {
    load(a, b, c, d);
}

void Matrix::load(const Vector3<float>& a, const Vector3<float>& b, const Vector3<float>& c, const Vector3<float>& d) {
    const Vector3<float>* columns[3] = {&c, &b, &a};
    for (int col = 0; col < 3; ++col) {
        _m[4 * col + 0] = columns[col]->x;
        _m[4 * col + 1] = columns[col]->y;
        _m[4 * col + 2] = columns[col]->z;
        _m[4 * col + 3] = 0.0;
    }
    _m[12] = d.x;
    _m[13] = d.y;
    _m[14] = d.z;
    _m[15] = 1.0;
}

void Matrix::identity() {
    std::memcpy(_m, kIdentity, sizeof(_m));
}

Matrix& Matrix::operator/=(double s) {
    for (double& value : _m) {
        value /= s;
    }
    return *this;
}

Matrix Matrix::operator!() const {
    // e(r, c) is row r, column c of this matrix.
    const auto e = [this](int r, int c) { return _m[4 * c + r]; };

    // 2 x 2 minors of the top two rows (s) and of the bottom two rows (c).
    const double s0 = e(0, 0) * e(1, 1) - e(1, 0) * e(0, 1);
    const double s1 = e(0, 0) * e(1, 2) - e(1, 0) * e(0, 2);
    const double s2 = e(0, 0) * e(1, 3) - e(1, 0) * e(0, 3);
    const double s3 = e(0, 1) * e(1, 2) - e(1, 1) * e(0, 2);
    const double s4 = e(0, 1) * e(1, 3) - e(1, 1) * e(0, 3);
    const double s5 = e(0, 2) * e(1, 3) - e(1, 2) * e(0, 3);
    const double c0 = e(2, 0) * e(3, 1) - e(3, 0) * e(2, 1);
    const double c1 = e(2, 0) * e(3, 2) - e(3, 0) * e(2, 2);
    const double c2 = e(2, 0) * e(3, 3) - e(3, 0) * e(2, 3);
    const double c3 = e(2, 1) * e(3, 2) - e(3, 1) * e(2, 2);
    const double c4 = e(2, 1) * e(3, 3) - e(3, 1) * e(2, 3);
    const double c5 = e(2, 2) * e(3, 3) - e(3, 2) * e(2, 3);

    // The adjugate (transposed cofactors), adj[r][c].
    const double adj[4][4] = {
        {e(1, 1) * c5 - e(1, 2) * c4 + e(1, 3) * c3, -e(0, 1) * c5 + e(0, 2) * c4 - e(0, 3) * c3,
         e(3, 1) * s5 - e(3, 2) * s4 + e(3, 3) * s3, -e(2, 1) * s5 + e(2, 2) * s4 - e(2, 3) * s3},
        {-e(1, 0) * c5 + e(1, 2) * c2 - e(1, 3) * c1, e(0, 0) * c5 - e(0, 2) * c2 + e(0, 3) * c1,
         -e(3, 0) * s5 + e(3, 2) * s2 - e(3, 3) * s1, e(2, 0) * s5 - e(2, 2) * s2 + e(2, 3) * s1},
        {e(1, 0) * c4 - e(1, 1) * c2 + e(1, 3) * c0, -e(0, 0) * c4 + e(0, 1) * c2 - e(0, 3) * c0,
         e(3, 0) * s4 - e(3, 1) * s2 + e(3, 3) * s0, -e(2, 0) * s4 + e(2, 1) * s2 - e(2, 3) * s0},
        {-e(1, 0) * c3 + e(1, 1) * c1 - e(1, 2) * c0, e(0, 0) * c3 - e(0, 1) * c1 + e(0, 2) * c0,
         -e(3, 0) * s3 + e(3, 1) * s1 - e(3, 2) * s0, e(2, 0) * s3 - e(2, 1) * s1 + e(2, 2) * s0},
    };

    // Expansion along the first column.
    const double det = e(0, 0) * adj[0][0] + e(1, 0) * adj[0][1] + e(2, 0) * adj[0][2] + e(3, 0) * adj[0][3];

    // A singular matrix has no inverse. Rather than hand out infinities that would spread
    // through every transform built on it, the inverse of a singular matrix is the identity.
    Matrix inverse;
    if (det == 0.0) {
        return inverse;
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const double value = adj[r][c] / det;
            if (!std::isfinite(value)) {
                return Matrix();
            }
            inverse._m[4 * c + r] = value;
        }
    }
    return inverse;
}

Matrix& Matrix::transpose() {
    for (int r = 0; r < 4; ++r) {
        for (int c = r + 1; c < 4; ++c) {
            const double upper = _m[4 * c + r];
            _m[4 * c + r] = _m[4 * r + c];
            _m[4 * r + c] = upper;
        }
    }
    return *this;
}

Matrix Matrix::operator*(const Matrix& other) const {
    Matrix result;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += other._m[4 * k + i] * _m[4 * j + k];
            }
            result._m[4 * j + i] = sum;
        }
    }
    return result;
}

Vector3<float> Matrix::operator*(const Vector3<float>& v) const {
    return mult(v, 1.0f);
}

Vector3<float> Matrix::mult(const Vector3<float>& v, float w) const {
    return Vector3<float>(static_cast<float>(_m[0] * v.x + _m[4] * v.y + _m[8] * v.z + _m[12] * w),
                          static_cast<float>(_m[1] * v.x + _m[5] * v.y + _m[9] * v.z + _m[13] * w),
                          static_cast<float>(_m[2] * v.x + _m[6] * v.y + _m[10] * v.z + _m[14] * w));
}

void Matrix::translation(const Vector3<float>& v) {
    identity();
    _m[12] = v.x;
    _m[13] = v.y;
    _m[14] = v.z;
}

void Matrix::scaling(const Vector3<float>& v) {
    identity();
    _m[0] = v.x;
    _m[5] = v.y;
    _m[10] = v.z;
}

void Matrix::rotation(const Vector3<float>& angles) {
    const double cx = std::cos(static_cast<double>(angles.x));
    const double sx = std::sin(static_cast<double>(angles.x));
    const double cy = std::cos(static_cast<double>(angles.y));
    const double sy = std::sin(static_cast<double>(angles.y));
    const double cz = std::cos(static_cast<double>(angles.z));
    const double sz = std::sin(static_cast<double>(angles.z));
    identity();
    _m[0] = cy * cz;
    _m[4] = -cy * sz;
    _m[8] = -sy;
    _m[1] = cx * sz - sx * sy * cz;
    _m[5] = cx * cz + sx * sy * sz;
    _m[9] = -sx * cy;
    _m[2] = cx * sy * cz + sx * sz;
    _m[6] = sx * cz - cx * sy * sz;
    _m[10] = cx * cy;
}

void Matrix::rotation(const Quaternion& q) {
    const double x = q.x;
    const double y = q.y;
    const double z = q.z;
    const double w = q.w;
    identity();
    _m[0] = 1 - 2 * (y * y + z * z);
    _m[4] = 2 * (x * y - w * z);
    _m[8] = 2 * (x * z + w * y);
    _m[1] = 2 * (x * y + w * z);
    _m[5] = 1 - 2 * (x * x + z * z);
    _m[9] = 2 * (y * z - w * x);
    _m[2] = 2 * (x * z - w * y);
    _m[6] = 2 * (y * z + w * x);
    _m[10] = 1 - 2 * (x * x + y * y);
}

void Matrix::shear(double s1, double s2, double s3, double s4, double s5, double s6) {
    identity();
    _m[4] = s1;
    _m[8] = s2;
    _m[1] = s3;
    _m[9] = s4;
    _m[2] = s5;
    _m[6] = s6;
}
