#include "platform/pickraygenerator.h"

#include <cmath>

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/matrix.h"

double PickRayGenerator::_mvmatrix[16] = {};
double PickRayGenerator::_projmatrix[16] = {};
int PickRayGenerator::_vport[4] = {};

void PickRayGenerator::readMatrices() {
    glGetDoublev(GL_MODELVIEW_MATRIX, _mvmatrix);
    glGetDoublev(GL_PROJECTION_MATRIX, _projmatrix);
    glGetIntegerv(GL_VIEWPORT, _vport);
}

Ray3<float> PickRayGenerator::generateInWorldSpace(const Vector3<float>& eye, const Vector2<int>& mouse) {
    readMatrices();
    // Should the matrices be singular, GLU leaves the point unset; starting from the eye
    // gives a ray without direction instead of one built from garbage.
    GLdouble farPoint[3] = {eye.x, eye.y, eye.z};
    gluUnProject(mouse.x, mouse.y, 1.0, _mvmatrix, _projmatrix, _vport, &farPoint[0], &farPoint[1], &farPoint[2]);

    Vector3<float> direction(static_cast<float>(farPoint[0] - eye.x), static_cast<float>(farPoint[1] - eye.y),
                             static_cast<float>(farPoint[2] - eye.z));
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z);
    if (length > 0.0f) {
        direction.set(direction.x / length, direction.y / length, direction.z / length);
    }
    return Ray3<float>{eye, direction};
}

Ray3<float> PickRayGenerator::generateInLocalSpace(const Vector2<int>& /*mouse*/) {
    readMatrices();
    const Matrix inverse = !Matrix(_mvmatrix);
    const Vector3<float> origin = inverse * Vector3<float>(0, 0, 0);
    // (0, 0, -1) as a point lies one step along the view from the origin; the ray's
    // direction is the step, not the point.
    const Vector3<float> ahead = inverse * Vector3<float>(0, 0, -1);
    return Ray3<float>{origin, Vector3<float>(ahead.x - origin.x, ahead.y - origin.y, ahead.z - origin.z)};
}
