#ifndef QUELLARIS_PLATFORM_MATH_H
#define QUELLARIS_PLATFORM_MATH_H

// The value types that the whole game passes around.
#include "platform/aabb2.h"
#include "platform/aabb3.h"
#include "platform/radvector2.h"
#include "platform/ray3.h"
#include "platform/rgba.h"
#include "platform/triangle.h"
#include "platform/vector2.h"
#include "platform/vector3.h"

// Pi in the precision of the angle it turns: TRUE_PI<float> or TRUE_PI<double>. The 2D library's
// Stelkor::PI is a deliberately rounded 3.14 and is not this.
template <typename T>
constexpr T TRUE_PI = static_cast<T>(3.14159265358979323846);

#endif
