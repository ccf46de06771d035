#include "platform/game_openglextensions.h"

#include <SDL_video.h>

#include <cstring>
#include <stdexcept>

namespace glext {

PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB = nullptr;
PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB = nullptr;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
PFNGLGENFRAMEBUFFERSPROC glGenFramebuffers = nullptr;
PFNGLDELETEFRAMEBUFFERSPROC glDeleteFramebuffers = nullptr;
PFNGLBINDFRAMEBUFFERPROC glBindFramebuffer = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DPROC glFramebufferTexture2D = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFERPROC glFramebufferRenderbuffer = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSPROC glCheckFramebufferStatus = nullptr;
PFNGLGENRENDERBUFFERSPROC glGenRenderbuffers = nullptr;
PFNGLDELETERENDERBUFFERSPROC glDeleteRenderbuffers = nullptr;
PFNGLBINDRENDERBUFFERPROC glBindRenderbuffer = nullptr;
PFNGLRENDERBUFFERSTORAGEPROC glRenderbufferStorage = nullptr;
PFNGLBLITFRAMEBUFFERPROC glBlitFramebuffer = nullptr;

namespace {

const char* const noMultitexturing = "Cannot run - graphics card doesn't support multitexturing";

template <typename Function>
bool fetch(Function& pointer, const char* name) {
    pointer = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
    return pointer != nullptr;
}

// Calls step(pointer, name) for every framebuffer entry point.
template <typename Step>
void eachFramebufferEntry(Step step) {
    step(glext::glGenFramebuffers, "glGenFramebuffers");
    step(glext::glDeleteFramebuffers, "glDeleteFramebuffers");
    step(glext::glBindFramebuffer, "glBindFramebuffer");
    step(glext::glFramebufferTexture2D, "glFramebufferTexture2D");
    step(glext::glFramebufferRenderbuffer, "glFramebufferRenderbuffer");
    step(glext::glCheckFramebufferStatus, "glCheckFramebufferStatus");
    step(glext::glGenRenderbuffers, "glGenRenderbuffers");
    step(glext::glDeleteRenderbuffers, "glDeleteRenderbuffers");
    step(glext::glBindRenderbuffer, "glBindRenderbuffer");
    step(glext::glRenderbufferStorage, "glRenderbufferStorage");
    step(glext::glBlitFramebuffer, "glBlitFramebuffer");
}

}  // namespace

void checkMultitextureSupport(const char* extensions) {
    // A plain substring search: a longer extension name that begins with one of these passes too.
    if (extensions == nullptr || std::strstr(extensions, "GL_ARB_multitexture") == nullptr) {
        throw std::runtime_error(noMultitexturing);
    }
    if (std::strstr(extensions, "GL_EXT_texture_env_combine") == nullptr) {
        throw std::runtime_error(
            "Cannot run - graphics card doesn't support multitexturing (texture_env_combine)");
    }
}

void setupMultitexturing() {
    checkMultitextureSupport(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    fetch(glMultiTexCoord1fARB, "glMultiTexCoord1fARB");
    fetch(glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
    fetch(glMultiTexCoord3fARB, "glMultiTexCoord3fARB");
    fetch(glMultiTexCoord4fARB, "glMultiTexCoord4fARB");
    fetch(glActiveTextureARB, "glActiveTextureARB");
    fetch(glClientActiveTextureARB, "glClientActiveTextureARB");
    if (glMultiTexCoord1fARB == nullptr || glMultiTexCoord2fARB == nullptr || glMultiTexCoord3fARB == nullptr ||
        glMultiTexCoord4fARB == nullptr || glActiveTextureARB == nullptr || glClientActiveTextureARB == nullptr) {
        throw std::runtime_error(noMultitexturing);
    }
}

bool setupFramebuffers() {
    const char* const extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    bool all = extensions != nullptr && std::strstr(extensions, "GL_ARB_framebuffer_object") != nullptr;
    if (all) {
        eachFramebufferEntry([&all](auto& pointer, const char* name) { all = fetch(pointer, name) && all; });
    }
    // All or none: the layer that draws with them checks only that they are there.
    if (!all) {
        eachFramebufferEntry([](auto& pointer, const char*) { pointer = nullptr; });
    }
    return all;
}

}  // namespace glext
