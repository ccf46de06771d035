#include "world/cuberenderer.h"

#include <GL/gl.h>

#include "world/cubefaces.h"

namespace Vortel {

namespace {

const unsigned int SHADE_SLOTS = 3;

void glColorBytes(const RGBA<unsigned char>& c) {
    glColor4f(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f);
}

}  // namespace

CubeRenderer::CubeRenderer(const std::string& meshFolder) : _normalSize(2.5f) {
    _activeShades[0].set(255, 0, 0, 255);
    _activeShades[1].set(255, 0, 255, 255);
    _activeShades[2].set(0, 0, 255, 255);
    _cubeBevel.load(meshFolder + "/cube_bevel.obj");
    _sphere.load(meshFolder + "/sphere.obj");
    _cube.load(meshFolder + "/cube.obj");
}

void CubeRenderer::color(unsigned int slot, const RGBA<unsigned char>& c) {
    if (slot < SHADE_SLOTS) {
        _activeShades[slot] = c;
    }
}

void CubeRenderer::color(unsigned int slot, const RGBA<float>& c) {
    color(slot, CubeColors::toBytes(c));
}

void CubeRenderer::activeColorTriplet(unsigned char index) {
    const colorTriplet& triplet = _colors.triplet(index);
    for (unsigned int k = 0; k < SHADE_SLOTS; ++k) {
        _activeShades[k] = triplet.shadeBytes[k];
    }
}

// The client arrays are saved and restored around the draw, so whatever a mesh or the 2D
// renderer left enabled neither leaks into this draw nor is changed by it.
void CubeRenderer::drawArray(bool reset) {
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    const CubeBatch::Vertex* const first = _batch.vertices();
    const GLsizei stride = sizeof(CubeBatch::Vertex);
    glVertexPointer(3, GL_FLOAT, stride, first->position);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, first->color);
    glNormalPointer(GL_FLOAT, stride, first->normal);
    glDrawArrays(GL_QUADS, 0, _batch.vertexCount());
    glPopClientAttrib();
    if (reset) {
        _batch.clear();
    }
}

void CubeRenderer::drawColoredCube(const AABB3<float>& box, unsigned char triplet) const {
    const colorTriplet& colors = _colors.triplet(triplet);
    const float xs[2] = {box.min.x, box.max.x};
    const float ys[2] = {box.min.y, box.max.y};
    const float zs[2] = {box.min.z, box.max.z};
    glBegin(GL_QUADS);
    for (const CubeFace& face : CUBE_FACES) {
        const RGBA<float>& shade = colors.shadeFloats[face.shade];
        glColor4f(shade.r, shade.g, shade.b, shade.a);
        glNormal3f(face.normal[0] * _normalSize, face.normal[1] * _normalSize, face.normal[2] * _normalSize);
        for (const unsigned char corner : face.corners) {
            glVertex3f(xs[corner & CORNER_MAX_X], ys[(corner & CORNER_MAX_Y) >> 1], zs[(corner & CORNER_MAX_Z) >> 2]);
        }
    }
    glEnd();
}

// With flat shading the last vertex of each triangle gives its colour: the z faces take
// shade 0, the y faces shade 1 and the x faces shade 2.
void CubeRenderer::drawCubeGL() const {
    const float h = 0.5f;
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(-h, -h, -h);
    glColorBytes(_activeShades[0]);
    glVertex3f(-h, h, -h);
    glVertex3f(h, h, -h);
    glVertex3f(h, -h, -h);
    glColorBytes(_activeShades[1]);
    glVertex3f(h, -h, h);
    glVertex3f(-h, -h, h);
    glColorBytes(_activeShades[2]);
    glVertex3f(-h, h, h);
    glVertex3f(-h, h, -h);
    glEnd();

    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(h, h, h);
    glColorBytes(_activeShades[0]);
    glVertex3f(-h, h, h);
    glVertex3f(-h, -h, h);
    glVertex3f(h, -h, h);
    glColorBytes(_activeShades[2]);
    glVertex3f(h, -h, -h);
    glVertex3f(h, h, -h);
    glColorBytes(_activeShades[1]);
    glVertex3f(-h, h, -h);
    glVertex3f(-h, h, h);
    glEnd();
}

unsigned int CubeRenderer::createCachedCube() const {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    drawCubeGL();
    glEndList();
    return list;
}

void CubeRenderer::drawCachedCube(const Vector3<int>& cell, float scale, unsigned int list) const {
    glPushMatrix();
    glTranslatef(cell.x + 0.5f, cell.y + 0.5f, cell.z + 0.5f);
    glScalef(scale, scale, scale);
    glCallList(list);
    glPopMatrix();
}

void CubeRenderer::drawCachedCube(unsigned int list) const {
    glCallList(list);
}

void CubeRenderer::drawCube(const Vector3<int>& cell) const {
    glPushMatrix();
    glTranslatef(static_cast<float>(cell.x), static_cast<float>(cell.y), static_cast<float>(cell.z));
    drawCubeGL();
    glPopMatrix();
}

// Keeps the translation of the model-view matrix and drops its rotation and scale, so the
// square faces the viewer wherever the cell lies.
void CubeRenderer::drawBillboard(const Vector3<int>& cell) const {
    const float size = 1.2f;
    glColor4f(0.0f, 0.4f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(cell.x + 0.5f, cell.y + 0.5f, cell.z + 0.5f);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            m[4 * column + row] = column == row ? 1.0f : 0.0f;
        }
    }
    glLoadMatrixf(m);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-size, -size, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(size, -size, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(size, size, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-size, size, 0.0f);
    glEnd();
    glPopMatrix();
}

}  // namespace Vortel
