#include "world/bulletholes.h"

#include <GL/gl.h>

namespace Vortel {

namespace {

const float HALF_EDGE = 0.2f;

Vector3<float> scaled(const Vector3<float>& v, float s) { return Vector3<float>(v.x * s, v.y * s, v.z * s); }

Vector3<float> cross(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// p + sa * a + sb * b
Vector3<float> corner(const Vector3<float>& p, const Vector3<float>& a, float sa, const Vector3<float>& b, float sb) {
    return Vector3<float>(p.x + sa * a.x + sb * b.x, p.y + sa * a.y + sb * b.y, p.z + sa * a.z + sb * b.z);
}

}  // namespace

void BulletHoles::addHole(const Vector3<float>& pos, const Vector3<float>& normal, const Vector3<float>& dir) {
    _holes.push_back(Hole{pos, normal, dir});
}

void BulletHoles::corners(const Hole& hole, Vector3<float> out[4]) {
    const Vector3<float> a = scaled(hole.dir, HALF_EDGE);
    const Vector3<float> b = scaled(cross(hole.dir, hole.normal), HALF_EDGE);
    out[0] = corner(hole.pos, a, -1.0f, b, -1.0f);
    out[1] = corner(hole.pos, a, 1.0f, b, -1.0f);
    out[2] = corner(hole.pos, a, 1.0f, b, 1.0f);
    out[3] = corner(hole.pos, a, -1.0f, b, 1.0f);
}

void BulletHoles::draw() const {
    static const float TEX[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-3.0f, -4.0f);
    glPointSize(6.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDepthMask(GL_FALSE);
    glBegin(GL_QUADS);
    for (const Hole& hole : _holes) {
        Vector3<float> c[4];
        corners(hole, c);
        for (int i = 0; i < 4; ++i) {
            glTexCoord2f(TEX[i][0], TEX[i][1]);
            glVertex3f(c[i].x, c[i].y, c[i].z);
        }
    }
    glEnd();
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDepthMask(GL_TRUE);
}

}  // namespace Vortel
