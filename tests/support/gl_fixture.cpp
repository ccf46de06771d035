#include "tests/support/gl_fixture.h"

#include <SDL.h>

namespace testsupport {

GlContext::GlContext() : _window(nullptr), _context(nullptr) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        _error = std::string("SDL video init failed: ") + SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    _window = SDL_CreateWindow("test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 800, 600,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (_window == nullptr) {
        _error = std::string("cannot create a GL window: ") + SDL_GetError();
        return;
    }
    _context = SDL_GL_CreateContext(_window);
    if (_context == nullptr) {
        _error = std::string("cannot create a GL context: ") + SDL_GetError();
    }
}

GlContext::~GlContext() {
    if (_context != nullptr) {
        SDL_GL_DeleteContext(_context);
    }
    if (_window != nullptr) {
        SDL_DestroyWindow(_window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GlFixture::SetUp() {
    gl = new GlContext();
    if (!gl->valid()) {
        GTEST_SKIP() << "no GL context can be made here (" << gl->error() << ")";
    }
}

void GlFixture::TearDown() {
    delete gl;
    gl = nullptr;
}

}  // namespace testsupport
