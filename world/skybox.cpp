#include "world/skybox.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

namespace Vortel {

namespace {

// A corner of a face: texture coordinate, then the sign of each vertex coordinate.
struct Corner {
    float s;
    float t;
    float x;
    float y;
    float z;
};

struct Face {
    int slot;
    Corner corners[4];
};

// Seen from the inside every face shows its picture upright and unmirrored: the four sides
// with +y up, the floor with -z up and the ceiling with +z up.
const Face kFaces[SkyBox::FACE_COUNT] = {
    {5, {{0, 0, -1, -1, -1}, {1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, -1, 1, -1}}},
    {4, {{1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}}},
    {1, {{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, -1, 1, 1}, {0, 0, -1, -1, 1}}},
    {0, {{0, 0, 1, -1, -1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}}},
    {3, {{0, 1, -1, -1, -1}, {0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}, {1, 1, 1, -1, -1}}},
    {2, {{0, 0, -1, 1, -1}, {1, 0, 1, 1, -1}, {1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}}},
};

// The 2D renderer remembers which texture it bound last and skips binding it again; putting
// the earlier binding back keeps that memory true after the box has bound its own.
class TextureBindingKeeper {
public:
    TextureBindingKeeper() : _previous(0) { glGetIntegerv(GL_TEXTURE_BINDING_2D, &_previous); }
    ~TextureBindingKeeper() { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_previous)); }
    TextureBindingKeeper(const TextureBindingKeeper&) = delete;
    TextureBindingKeeper& operator=(const TextureBindingKeeper&) = delete;

private:
    GLint _previous;
};

}  // namespace

SkyBox::SkyBox() : _textures(FACE_COUNT, 0) {}

SkyBox::SkyBox(int posX, int negX, int posY, int negY, int posZ, int negZ) : _textures(FACE_COUNT, 0) {
    assignTextures(posX, negX, posY, negY, posZ, negZ);
}

void SkyBox::assignTextures(int posX, int negX, int posY, int negY, int posZ, int negZ) {
    _textures = {posX, negX, posY, negY, posZ, negZ};
    const TextureBindingKeeper keeper;
    for (const int name : _textures) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(name));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
}

void SkyBox::draw(float size, const RGBA<float>& color) const {
    const TextureBindingKeeper keeper;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glColor4f(color.r, color.g, color.b, color.a);
    for (const Face& face : kFaces) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_textures[static_cast<std::size_t>(face.slot)]));
        glBegin(GL_QUADS);
        for (const Corner& c : face.corners) {
            glTexCoord2f(c.s, c.t);
            glVertex3f(c.x * size, c.y * size, c.z * size);
        }
        glEnd();
    }
}

}  // namespace Vortel
