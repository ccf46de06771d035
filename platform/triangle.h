#ifndef QUELLARIS_PLATFORM_TRIANGLE_H
#define QUELLARIS_PLATFORM_TRIANGLE_H

#include "platform/vector3.h"

// The three corners of a triangle for the ray tests, in winding order.
struct Triangle {
    Vector3<float> a;
    Vector3<float> b;
    Vector3<float> c;
};

#endif
