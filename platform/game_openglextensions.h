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

}  // namespace glext

#endif
