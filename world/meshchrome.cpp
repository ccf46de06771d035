#include "world/meshchrome.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/game_openglextensions.h"

namespace Vortel {

namespace {

// The float environment calls take the enumerants as floats.
constexpr GLfloat ENV_MODULATE = static_cast<GLfloat>(GL_MODULATE);
constexpr GLfloat ENV_COMBINE = static_cast<GLfloat>(GL_COMBINE_EXT);
constexpr GLfloat ENV_ADD = static_cast<GLfloat>(GL_ADD);

const float* vertexAt(const std::vector<float>& array, int v) {
    return array.data() + Mesh::FLOATS_PER_VERTEX * v;
}

}  // namespace

MeshChrome::MeshChrome() : Mesh(), _chromeTexId(0), _texturesEnabled(true) {}

MeshChrome::MeshChrome(const std::string& path) : Mesh(path), _chromeTexId(0), _texturesEnabled(true) {}

void MeshChrome::draw() {
    if (_texturesEnabled) {
        setUpTextured();
    } else {
        setUpUntextured();
    }
    submitTriangles();
    restoreState();
}

void MeshChrome::setUpTextured() const {
    glDisable(GL_LIGHTING);

    glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_texId));
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, ENV_MODULATE);

    // The reflection is added to the modulated base colour.
    glext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_chromeTexId));
    glTexEnvf(GL_TEXTURE_ENV, GL_COMBINE_RGB_EXT, ENV_MODULATE);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, ENV_COMBINE);
    glTexEnvf(GL_TEXTURE_ENV, GL_COMBINE_RGB_EXT, ENV_ADD);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

void MeshChrome::setUpUntextured() const {
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    glext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
}

// Unit 1 gets no coordinates of its own: they are generated from the normals. The triangles
// go out as one array draw, not three calls a vertex: a frame draws every chaser in each of
// the 27 copies of the field. The normal and unit 0's coordinate are left as the last vertex
// gave them, as drawing vertex by vertex would.
void MeshChrome::submitTriangles() const {
    if (_vertCount == 0) {
        return;
    }
    const float* const first = _vertArray.data();
    const GLsizei stride = FLOATS_PER_VERTEX * static_cast<GLsizei>(sizeof(float));
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    glDisableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, first);
    glNormalPointer(GL_FLOAT, stride, first + 2);
    glVertexPointer(3, GL_FLOAT, stride, first + 5);
    glDrawArrays(GL_TRIANGLES, 0, _vertCount);
    glPopClientAttrib();
    const float* const last = vertexAt(_vertArray, _vertCount - 1);
    glNormal3fv(last + 2);
    glext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, last[0], last[1]);
}

// Unit 1 is still the active one here, so its texturing and generation go off first.
void MeshChrome::restoreState() const {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, ENV_MODULATE);
}

void MeshChrome::createDisplayList() {
    _displayList = glGenLists(1);
    glNewList(_displayList, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (int v = 0; v < _vertCount; ++v) {
        const float* vertex = vertexAt(_vertArray, v);
        glNormal3fv(vertex + 2);
        glVertex3fv(vertex + 5);
    }
    glEnd();
    glEndList();
}

void MeshChrome::createVertArray() {
    // Null before the entry points are fetched (a mesh built without a context).
    if (glext::glClientActiveTextureARB != nullptr) {
        glext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    }
    Mesh::createVertArray();
}

void MeshChrome::drawVertArray() {
    Mesh::drawVertArray(false);
}

}  // namespace Vortel
