#ifndef QUELLARIS_PLATFORM_GAME_OPENGLEXTENSIONS_H
#define QUELLARIS_PLATFORM_GAME_OPENGLEXTENSIONS_H

#include <GL/gl.h>
#include <GL/glext.h>

// The multitexture entry points the chrome meshes draw with. The system GL headers may declare
// functions of the same names, so ours live in a namespace of their own: call them as
// glext::glActiveTextureARB(...). Null until setupMultitexturing() has run.
namespace glext {

extern PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB;
extern PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB;
extern PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB;
extern PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB;
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;

// Throws std::runtime_error naming the missing support when the extension string (null when
// there is no context) lacks multitexturing or texture combining.
void checkMultitextureSupport(const char* extensions);

// Checks the current context and fetches the entry points; a missing entry point counts as
// missing support. Needs a current GL context.
void setupMultitexturing();

// Framebuffer objects, for drawing into a texture of the game's own. Null until
// setupFramebuffers() has found them all; the game draws without them where they are missing.
extern PFNGLGENFRAMEBUFFERSPROC glGenFramebuffers;
extern PFNGLDELETEFRAMEBUFFERSPROC glDeleteFramebuffers;
extern PFNGLBINDFRAMEBUFFERPROC glBindFramebuffer;
extern PFNGLFRAMEBUFFERTEXTURE2DPROC glFramebufferTexture2D;
extern PFNGLFRAMEBUFFERRENDERBUFFERPROC glFramebufferRenderbuffer;
extern PFNGLCHECKFRAMEBUFFERSTATUSPROC glCheckFramebufferStatus;
extern PFNGLGENRENDERBUFFERSPROC glGenRenderbuffers;
extern PFNGLDELETERENDERBUFFERSPROC glDeleteRenderbuffers;
extern PFNGLBINDRENDERBUFFERPROC glBindRenderbuffer;
extern PFNGLRENDERBUFFERSTORAGEPROC glRenderbufferStorage;
extern PFNGLBLITFRAMEBUFFERPROC glBlitFramebuffer;

// Fetches the framebuffer entry points where the current context offers framebuffer
// objects; true when all of them are there, else all are null. Needs a current GL context.
bool setupFramebuffers();

}  // namespace glext

#endif
