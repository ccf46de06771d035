#ifndef QUELLARIS_PLATFORM_MATRIX_H
#define QUELLARIS_PLATFORM_MATRIX_H

#include "platform/quaternion.h"
#include "platform/vector3.h"

// A 4 x 4 transform laid out exactly as GL keeps its matrices (column order: row r,
// column c is m[4c + r]), so a matrix read back from GL is wrapped without reordering.
// The translation is m12, m13, m14.
class Matrix {
public:
    Matrix();
    // Sixteen doubles in column order, as glGetDoublev returns them.
    explicit Matrix(const double* values);
    // Columns 0, 1, 2 are c, b, a (note the reversed order) and column 3 is the translation d.
    Matrix(const Vector3<float>& a, const Vector3<float>& b, const Vector3<float>& c, const Vector3<float>& d);

    void load(const Vector3<float>& a, const Vector3<float>& b, const Vector3<float>& c, const Vector3<float>& d);

    // Row and column counted from 1.
    double& operator()(int row, int col) { return _m[(row - 1) + 4 * (col - 1)]; }
    double operator()(int row, int col) const { return _m[(row - 1) + 4 * (col - 1)]; }

    const double* data() const { return _m; }
    double* data() { return _m; }

    void identity();
    Matrix& operator/=(double s);
    Matrix operator!() const;
    Matrix& transpose();

    // (a * b) applied to a point applies a first and then b: the product is b.a in column terms.
    Matrix operator*(const Matrix& other) const;
    // Point transform; the bottom row is ignored (no perspective division).
    Vector3<float> operator*(const Vector3<float>& v) const;
    // As the point transform with the translation scaled by w: w = 0 turns a direction.
    Vector3<float> mult(const Vector3<float>& v, float w) const;

    // The setters below replace all sixteen values.
    void translation(const Vector3<float>& v);
    void scaling(const Vector3<float>& v);
    void rotation(const Vector3<float>& angles);
    void rotation(const Quaternion& q);
    // x gains s1.y + s2.z, y gains s3.x + s4.z, z gains s5.x + s6.y.
    void shear(double s1, double s2, double s3, double s4, double s5, double s6);

private:
    double _m[16];
};

#endif
