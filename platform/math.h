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

#endif
