#ifndef QUELLARIS_PLATFORM_RAY3_H
#define QUELLARIS_PLATFORM_RAY3_H

#include "platform/vector3.h"

// A ray for the hit tests; the direction need not be unit length.
template <typename T>
struct Ray3 {
    Vector3<T> origin;
    Vector3<T> direction;
};

#endif
