#ifndef QUELLARIS_PLATFORM_PICKRAYGENERATOR_H
#define QUELLARIS_PLATFORM_PICKRAYGENERATOR_H

#include "platform/ray3.h"
#include "platform/vector2.h"
#include "platform/vector3.h"

// Turns a window position into a ray through GL's current matrices. The matrices and the
// viewport read back at the last ray are kept for callers that project more points.
class PickRayGenerator {
public:
    PickRayGenerator() = delete;

    // The ray from eye through the window point on the far plane, with a unit direction.
    // The window y counts upwards from the bottom of the viewport.
    static Ray3<float> generateInWorldSpace(const Vector3<float>& eye, const Vector2<int>& mouse);
    // The view axis in the modelview's local space: from the eye along -z. The window point
    // is not used.
    static Ray3<float> generateInLocalSpace(const Vector2<int>& mouse);

    static double* mvmatrix() { return _mvmatrix; }
    static double* projmatrix() { return _projmatrix; }
    static int* vport() { return _vport; }

private:
    static void readMatrices();

    static double _mvmatrix[16];
    static double _projmatrix[16];
    static int _vport[4];
};

#endif
