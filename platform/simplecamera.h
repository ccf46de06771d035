#ifndef QUELLARIS_PLATFORM_SIMPLECAMERA_H
#define QUELLARIS_PLATFORM_SIMPLECAMERA_H

#include "platform/vector2.h"
#include "platform/vector3.h"

// A look-at camera: it loads GL's projection and modelview matrices and can be panned,
// dollied and orbited round its target. Only lookThru() touches GL.
class SimpleCamera {
public:
    SimpleCamera();
    // Note the order: the field of view (degrees) comes first among the four numbers.
    SimpleCamera(const Vector3<float>& pos, const Vector3<float>& target, const Vector3<float>& up, float fov,
                 float nearClip, float farClip, float aspect);

    void lookThru() const;

    const Vector3<float>& pos() const { return _pos; }
    void pos(const Vector3<float>& v) { _pos = v; }
    const Vector3<float>& target() const { return _target; }
    void target(const Vector3<float>& v) { _target = v; }
    const Vector3<float>& up() const { return _up; }
    // Stored normalised.
    void up(const Vector3<float>& v);
    float fov() const { return _fov; }
    void fov(float degrees) { _fov = degrees; }
    float aspect() const { return _aspect; }
    void aspect(float widthOverHeight) { _aspect = widthOverHeight; }
    void nearFarClip(float nearClip, float farClip);
    float nearClip() const { return _near; }
    float farClip() const { return _far; }

    // Moves camera and target together: d.x along the side, d.y along up.
    void pan(const Vector2<float>& d);
    // Moves the camera towards its target, pushing a target closer than one unit ahead.
    void dolly(float amount);
    // Turns the camera round its target: a.x radians about up, then a.y about the side.
    void orbit(const Vector2<float>& a);

private:
    Vector3<float> _pos;
    Vector3<float> _target;
    Vector3<float> _up;
    float _near;
    float _far;
    float _aspect;
    float _fov;
};

#endif
