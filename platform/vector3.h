#ifndef QUELLARIS_PLATFORM_VECTOR3_H
#define QUELLARIS_PLATFORM_VECTOR3_H

// A plain 3D vector passed by value. Vector3<int> addresses playfield cells,
// Vector3<float> holds world positions and directions.
template <typename T>
struct Vector3 {
    T x;
    T y;
    T z;

    constexpr Vector3() : x(0), y(0), z(0) {}
    constexpr Vector3(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}

    // Converting between element types: float to int truncates toward zero.
    template <typename U>
    constexpr explicit Vector3(const Vector3<U>& other)
        : x(static_cast<T>(other.x)), y(static_cast<T>(other.y)), z(static_cast<T>(other.z)) {}

    void set(T x_, T y_, T z_) {
        x = x_;
        y = y_;
        z = z_;
    }

    constexpr bool operator==(const Vector3& other) const {
        return x == other.x && y == other.y && z == other.z;
    }
    constexpr bool operator!=(const Vector3& other) const { return !(*this == other); }

    // The six unit directions of the grid.
    static const Vector3 X_PLUS;
    static const Vector3 X_MINUS;
    static const Vector3 Y_PLUS;
    static const Vector3 Y_MINUS;
    static const Vector3 Z_PLUS;
    static const Vector3 Z_MINUS;
};

// constexpr constructors make these constant-initialised: nothing runs before main.
template <typename T> const Vector3<T> Vector3<T>::X_PLUS(1, 0, 0);
template <typename T> const Vector3<T> Vector3<T>::X_MINUS(-1, 0, 0);
template <typename T> const Vector3<T> Vector3<T>::Y_PLUS(0, 1, 0);
template <typename T> const Vector3<T> Vector3<T>::Y_MINUS(0, -1, 0);
template <typename T> const Vector3<T> Vector3<T>::Z_PLUS(0, 0, 1);
template <typename T> const Vector3<T> Vector3<T>::Z_MINUS(0, 0, -1);

#endif
