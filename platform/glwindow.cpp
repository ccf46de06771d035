#include "platform/glwindow.h"

#include <stdexcept>

namespace {

void requestContextFormat() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

}  // namespace

GlWindow::GlWindow(const std::string& title, int width, int height) : _window(), _context(nullptr) {
    requestContextFormat();
    _window.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                   height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN));
    if (!_window) {
        throw std::runtime_error("Couldn't create main window");
    }
    // A missing context is not fatal here: the extension check at start-up reports it.
    _context = SDL_GL_CreateContext(_window.get());
    if (_context != nullptr) {
        SDL_GL_MakeCurrent(_window.get(), _context);
    }
}

GlWindow::~GlWindow() {
    if (_context != nullptr) {
        SDL_GL_MakeCurrent(_window.get(), nullptr);
        SDL_GL_DeleteContext(_context);
    }
}

bool GlWindow::fullscreenInMode(int width, int height) {
    SDL_Window* const window = _window.get();
    // Only a display mode of exactly this size will do; a larger one would leave the game in
    // a corner of the screen.
    const SDL_DisplayMode wanted = {SDL_PIXELFORMAT_RGB888, width, height, 0, nullptr};
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (display < 0 || SDL_GetClosestDisplayMode(display, &wanted, &mode) == nullptr || mode.w != width ||
        mode.h != height || SDL_GetDisplayBounds(display, &bounds) != 0) {
        return false;
    }
    // The mode shows the display from its corner; a desktop without a window manager leaves
    // the window where it stood on the larger desktop, partly off the screen, so it is put
    // there first, without a frame. A window manager then makes it full screen.
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    if (SDL_SetWindowDisplayMode(window, &mode) != 0 || SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
        windowed(width, height);
        return false;
    }
    return true;
}

bool GlWindow::fullscreenOnDesktop(int width, int height) {
    SDL_Window* const window = _window.get();
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (display < 0 || SDL_GetDisplayBounds(display, &bounds) != 0) {
        return false;
    }
    // A desktop without a window manager leaves the window as it is when it is only asked for
    // full screen, so the window is made to cover the display first: without a frame, at the
    // display's corner, of the display's size. A window manager then makes it full screen.
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        windowed(width, height);
        return false;
    }
    int drawableWidth = 0;
    int drawableHeight = 0;
    drawableSize(drawableWidth, drawableHeight);
    if (drawableWidth < width || drawableHeight < height) {
        windowed(width, height);
        return false;
    }
    return true;
}

bool GlWindow::windowed(int width, int height) {
    SDL_Window* const window = _window.get();
    if (SDL_SetWindowFullscreen(window, 0) != 0) {
        return false;
    }
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, width, height);
    int top = 0;
    int left = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr) != 0) {
        top = 0;
        left = 0;
    }
    // The frame, not the client area, goes to the desktop's corner, so the caption stays visible.
    SDL_SetWindowPosition(window, left, top);
    return true;
}

void GlWindow::clientSize(int& width, int& height) const {
    SDL_GetWindowSize(_window.get(), &width, &height);
}

void GlWindow::drawableSize(int& width, int& height) const {
    SDL_GL_GetDrawableSize(_window.get(), &width, &height);
}

void GlWindow::outerSize(int& width, int& height) const {
    SDL_GetWindowSize(_window.get(), &width, &height);
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    if (SDL_GetWindowBordersSize(_window.get(), &top, &left, &bottom, &right) == 0) {
        width += left + right;
        height += top + bottom;
    }
}

void GlWindow::swapBuffers() {
    SDL_GL_SwapWindow(_window.get());
}

void GlWindow::hide() {
    SDL_HideWindow(_window.get());
}
