#ifndef QUELLARIS_PLATFORM_RADVECTOR2_H
#define QUELLARIS_PLATFORM_RADVECTOR2_H

// A polar 2D vector: a length and an angle in radians from +x towards +y.
// Sprites keep their velocity in this form.
template <typename T>
struct RadVector2 {
    T length;
    T angle;

    constexpr RadVector2(T length_, T angle_) : length(length_), angle(angle_) {}
};

#endif
