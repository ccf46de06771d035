#include "world/sparklayer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/game_openglextensions.h"

namespace Vortel {

namespace {

// The depth copy must have the picture's own depth format, or the GL refuses to copy it.
GLenum depthFormatOfPicture() {
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    switch (bits) {
    case 16: return GL_DEPTH_COMPONENT16;
    case 24: return GL_DEPTH_COMPONENT24;
    case 32: return GL_DEPTH_COMPONENT32;
    default: return 0;
    }
}

}  // namespace

SparkLayer::~SparkLayer() {
    release();
}

bool SparkLayer::make(int width, int height) {
    release();
    const GLenum depthFormat = depthFormatOfPicture();
    if (depthFormat == 0) {
        return false;
    }
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glGenTextures(1, &_color);
    glBindTexture(GL_TEXTURE_2D, _color);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width / 2, height / 2, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));

    glext::glGenRenderbuffers(1, &_depth);
    glext::glBindRenderbuffer(GL_RENDERBUFFER, _depth);
    glext::glRenderbufferStorage(GL_RENDERBUFFER, depthFormat, width / 2, height / 2);
    glext::glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glext::glGenFramebuffers(1, &_framebuffer);
    glext::glBindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
    glext::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, _color, 0);
    glext::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, _depth);
    const bool complete = glext::glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    _width = width;
    _height = height;
    // The GL refuses to copy depth between formats it does not count as the same: try the
    // copy once here, with no error pending that would read as its own.
    for (int pending = 0; pending < 16 && glGetError() != GL_NO_ERROR; ++pending) {
    }
    bool copied = false;
    if (complete) {
        copyDepth();
        copied = glGetError() == GL_NO_ERROR;
    }
    glext::glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(_previous));
    if (!copied) {
        release();
    }
    return copied;
}

void SparkLayer::copyDepth() const {
    glext::glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(_previous));
    glext::glBindFramebuffer(GL_DRAW_FRAMEBUFFER, _framebuffer);
    glext::glBlitFramebuffer(_viewport[0], _viewport[1], _viewport[0] + _width, _viewport[1] + _height, 0, 0,
                             _width / 2, _height / 2, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
}

bool SparkLayer::prepare() {
    if (_failed || glext::glBindFramebuffer == nullptr) {
        return false;
    }
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &_previous);
    glGetIntegerv(GL_VIEWPORT, _viewport);
    const int width = _viewport[2];
    const int height = _viewport[3];
    // At an odd size the layer's pixels would not be exactly twice the picture's, and the
    // sparks' sizes measured in each would not meet.
    if (width < 2 || height < 2 || width % 2 != 0 || height % 2 != 0) {
        return false;
    }
    if ((width != _width || height != _height) && !make(width, height)) {
        _failed = true;
        return false;
    }
    return true;
}

bool SparkLayer::begin() {
    if (!prepare()) {
        return false;
    }
    copyDepth();
    glext::glBindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
    glViewport(0, 0, _width / 2, _height / 2);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    return true;
}

void SparkLayer::end(bool add) {
    glext::glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(_previous));
    glViewport(_viewport[0], _viewport[1], _viewport[2], _viewport[3]);
    if (!add) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT |
                 GL_TRANSFORM_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, _color);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void SparkLayer::release() {
    if (_framebuffer != 0) {
        glext::glDeleteFramebuffers(1, &_framebuffer);
    }
    if (_depth != 0) {
        glext::glDeleteRenderbuffers(1, &_depth);
    }
    if (_color != 0) {
        glDeleteTextures(1, &_color);
    }
    _framebuffer = 0;
    _depth = 0;
    _color = 0;
    _width = 0;
    _height = 0;
}

}  // namespace Vortel
