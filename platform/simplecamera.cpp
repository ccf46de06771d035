#include "platform/simplecamera.h"

#include <cmath>

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/matrix.h"
#include "platform/quaternion.h"

namespace {

Vector3<float> sub(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.x - b.x, a.y - b.y, a.z - b.z);
}

Vector3<float> add(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.x + b.x, a.y + b.y, a.z + b.z);
}

Vector3<float> scaled(const Vector3<float>& v, float s) {
    return Vector3<float>(v.x * s, v.y * s, v.z * s);
}

Vector3<float> cross(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float length(const Vector3<float>& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// A zero vector has no direction and stays zero, so a degenerate camera (eye on its target,
// up along the view) stands still instead of turning every coordinate into NaN.
Vector3<float> normalised(const Vector3<float>& v) {
    const float l = length(v);
    return l > 0.0f ? scaled(v, 1.0f / l) : v;
}

}  // namespace

SimpleCamera::SimpleCamera()
    : _pos(0, 0, 1), _target(0, 0, 0), _up(0, 1, 0), _near(2), _far(10000), _aspect(1.333f), _fov(45) {}

SimpleCamera::SimpleCamera(const Vector3<float>& pos, const Vector3<float>& target, const Vector3<float>& up,
                           float fov, float nearClip, float farClip, float aspect)
    : _pos(pos), _target(target), _up(up), _near(nearClip), _far(farClip), _aspect(aspect), _fov(fov) {}

void SimpleCamera::lookThru() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(_fov, _aspect, _near, _far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(_pos.x, _pos.y, _pos.z, _target.x, _target.y, _target.z, _up.x, _up.y, _up.z);
}

void SimpleCamera::up(const Vector3<float>& v) {
    _up = normalised(v);
}

void SimpleCamera::nearFarClip(float nearClip, float farClip) {
    _near = nearClip;
    _far = farClip;
}

void SimpleCamera::pan(const Vector2<float>& d) {
    const Vector3<float> side = normalised(cross(sub(_pos, _target), _up));
    const Vector3<float> move = add(scaled(_up, d.y), scaled(side, d.x));
    _pos = add(_pos, move);
    _target = add(_target, move);
}

void SimpleCamera::dolly(float amount) {
    const Vector3<float> toTarget = sub(_target, _pos);
    const Vector3<float> forward = normalised(toTarget);
    if (length(toTarget) < 1.0f) {
        _target = add(_pos, forward);
    }
    _pos = add(_pos, scaled(forward, amount));
}

void SimpleCamera::orbit(const Vector2<float>& a) {
    const Vector3<float> forward = normalised(sub(_target, _pos));
    const Vector3<float> side = normalised(cross(forward, _up));
    Matrix aboutUp;
    aboutUp.rotation(Quaternion(_up, a.x));
    Matrix aboutSide;
    aboutSide.rotation(Quaternion(side, a.y));
    const Vector3<float> offset = sub(_pos, _target);
    _pos = add(_target, (aboutUp * aboutSide) * offset);
}
