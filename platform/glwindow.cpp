#include "platform/glwindow.h"

#include <GL/gl.h>

#include <algorithm>
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

// Where a window of this size should start on one axis of the bounds: as near to the wanted
// place as lets its frame lie on them, and where the whole will not fit, from their start, so
// that the title bar is the part on the screen.
int fitOnBounds(int wanted, int size, int frameBefore, int frameAfter, int start, int extent) {
    const int lowest = start + frameBefore;
    const int highest = start + extent - frameAfter - size;
    return std::max(lowest, std::min(wanted, highest));
}

}  // namespace

GlWindow::GlWindow(const std::string& title, int width, int height, bool unseen)
    : _window(), _context(nullptr), _unseen(unseen), _placeKnown(false), _place() {
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
    rememberPlace();
    // The mode shows the display from its corner; a desktop without a window manager leaves
    // the window where it stood on the larger desktop, partly off the screen, so it is put
    // there first. A window manager (its frame tells that one is there) makes the window full
    // screen itself and puts it back where it stood when it leaves full screen; moved first,
    // the window would come back in the corner, its title bar above the screen, and the
    // window manager may take the move windowed() then asks for as none.
    if (!framed()) {
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
    }
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
    rememberPlace();
    // A desktop without a window manager leaves the window as it is when it is only asked for
    // full screen, so the window is made to cover the display first: at the display's corner,
    // of the display's size. A window manager makes it full screen itself (see above).
    if (!framed()) {
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
        SDL_SetWindowSize(window, bounds.w, bounds.h);
    }
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
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (display < 0 || SDL_GetDisplayBounds(display, &bounds) != 0) {
        return true;
    }
    Place place = _place;
    if (!_placeKnown) {
        place.x = bounds.x + (bounds.w - width) / 2;
        place.y = bounds.y + (bounds.h - height) / 2;
    }
    // A window manager draws the frame again only after this and tells its size later still,
    // so the frame reads as none here; the one the window had before stands for it.
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
    const bool frameRead = top + left + bottom + right > 0;
    if (frameRead) {
        place.top = top;
        place.left = left;
        place.bottom = bottom;
        place.right = right;
    }
    const int x = fitOnBounds(place.x, width, place.left, place.right, bounds.x, bounds.w);
    const int y = fitOnBounds(place.y, height, place.top, place.bottom, bounds.y, bounds.h);
    // SDL places the client area by the frame it has read; a window manager takes the place
    // it is given as its frame's corner, so without a frame read that corner is given.
    SDL_SetWindowPosition(window, frameRead ? x : x - place.left, frameRead ? y : y - place.top);
    return true;
}

bool GlWindow::framed() const {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    SDL_GetWindowBordersSize(_window.get(), &top, &left, &bottom, &right);
    return top + left + bottom + right > 0;
}

void GlWindow::rememberPlace() {
    SDL_Window* const window = _window.get();
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) {
        return;
    }
    SDL_GetWindowPosition(window, &_place.x, &_place.y);
    // Where it fails, SDL reads the frame as none.
    SDL_GetWindowBordersSize(window, &_place.top, &_place.left, &_place.bottom, &_place.right);
    _placeKnown = true;
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
    // Where nothing is shown, the software GL never waits for a frame to go to a screen: the
    // game would queue frames faster than the GL's threads draw them, without bound, and its
    // end would wait for all of them.
    if (_unseen) {
        glFinish();
    }
}

void GlWindow::hide() {
    SDL_HideWindow(_window.get());
}
