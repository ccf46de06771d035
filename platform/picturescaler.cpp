#include "platform/picturescaler.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/game_openglextensions.h"

namespace {

int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) {
        p *= 2;
    }
    return p;
}

// The game may leave any of these on at the end of a frame; the copy must be drawn plain.
const GLenum switchedOff[] = {
    GL_DEPTH_TEST,   GL_LIGHTING,     GL_FOG,          GL_BLEND,        GL_ALPHA_TEST,
    GL_CULL_FACE,    GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_COLOR_LOGIC_OP, GL_TEXTURE_GEN_S,
    GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_1D,
    GL_COLOR_MATERIAL, GL_POLYGON_STIPPLE,
};

}  // namespace

PictureScaler::~PictureScaler() {
    release();
}

void PictureScaler::release() {
    if (_texture != 0) {
        const GLuint name = _texture;
        glDeleteTextures(1, &name);
        _texture = 0;
    }
}

void PictureScaler::makeTexture(const PictureFit& fit) {
    // Power-of-two sides, which every GL can hold, with room for the picture and one more row
    // and column; only the picture's corner is shown.
    _textureWidth = powerOfTwoAtLeast(fit.pictureWidth() + 1);
    _textureHeight = powerOfTwoAtLeast(fit.pictureHeight() + 1);
    GLuint name = 0;
    glGenTextures(1, &name);
    _texture = name;
    glBindTexture(GL_TEXTURE_2D, _texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // The framebuffer's own layout, four bytes a pixel, so that the copy needs no conversion.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, _textureWidth, _textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

void PictureScaler::present(const PictureFit& fit) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    // The texture unit the game last chose is part of the state just saved; the copy is drawn
    // on the first unit, with the second one off.
    if (glext::glActiveTextureARB != nullptr) {
        glext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_CUBE_MAP);
        glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    if (_texture == 0) {
        makeTexture(fit);
    }
    glBindTexture(GL_TEXTURE_2D, _texture);
    const int width = fit.pictureWidth();
    const int height = fit.pictureHeight();
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    // The picture's last column and row once more beside it, so that the filter blends the
    // picture's edges with themselves and not with the texture's unused rest.
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, width, 0, width - 1, 0, 1, height);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, height, 0, height - 1, width, 1);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, width, height, width - 1, height - 1, 1, 1);

    for (const GLenum capability : switchedOff) {
        glDisable(capability);
    }
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    const int screenWidth = fit.screenWidth();
    const int screenHeight = fit.screenHeight();
    glViewport(0, 0, screenWidth, screenHeight);
    const Quib::AABB2<int> box = fit.boxFromBottom();
    if (box.size() != Vector2<int>(screenWidth, screenHeight)) {
        // The bars; a picture that fills the screen covers all of it.
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, screenWidth, 0.0, screenHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const float s = static_cast<float>(width) / static_cast<float>(_textureWidth);
    const float t = static_cast<float>(height) / static_cast<float>(_textureHeight);
    const float x0 = static_cast<float>(box.min.x);
    const float y0 = static_cast<float>(box.min.y);
    const float x1 = static_cast<float>(box.max.x);
    const float y1 = static_cast<float>(box.max.y);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x0, y0);
    glTexCoord2f(s, 0.0f);
    glVertex2f(x1, y0);
    glTexCoord2f(s, t);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, t);
    glVertex2f(x0, y1);
    glEnd();

    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}
