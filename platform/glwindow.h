#ifndef QUELLARIS_PLATFORM_GLWINDOW_H
#define QUELLARIS_PLATFORM_GLWINDOW_H

#include <memory>
#include <string>

#include <SDL_video.h>

// The application's one window with its OpenGL context: a compatibility context (the game
// draws with the fixed pipeline) with 8-bit RGB, a 16-bit depth buffer and double buffering,
// made current at construction and kept current until the window goes.
class GlWindow {
public:
    // Windowed, of the given client size, not resizable. Throws when no window can be made.
    // Unseen: the video driver shows nothing, so no screen paces the swaps.
    GlWindow(const std::string& title, int width, int height, bool unseen);
    ~GlWindow();
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;

    SDL_Window* window() const { return _window.get(); }

    // Full screen in a real display mode of exactly this size, the picture from the screen's
    // corner. False when the display has no such mode (the window is left as it is) or refuses
    // it (the window is then a window again).
    bool fullscreenInMode(int width, int height);
    // Full screen over the whole desktop, in the desktop's own mode. False when the display
    // refuses it, or when what it gives is smaller than width x height (a picture of that size
    // would not fit on it); the window is then a window again.
    bool fullscreenOnDesktop(int width, int height);
    // Back to a window of this client size where the window stood before full screen (centred
    // on the display where it never stood as a window), moved as far as needed to have its
    // frame, title bar first, on the display. False when the display refuses the change.
    bool windowed(int width, int height);

    // The window's size in the units of its mouse positions, and in drawable pixels.
    void clientSize(int& width, int& height) const;
    void drawableSize(int& width, int& height) const;

    // Size of the window with its frame; the client size where the frame is unknown.
    void outerSize(int& width, int& height) const;

    // Shows the frame drawn; unseen, waits until it is drawn.
    void swapBuffers();
    void hide();

private:
    // Where a window stands: its client area's corner on the desktop and its frame's width on
    // each side (all 0 where no window manager draws one).
    struct Place {
        int x = 0;
        int y = 0;
        int top = 0;
        int left = 0;
        int bottom = 0;
        int right = 0;
    };

    // Whether a window manager draws a frame round the window, as far as it has told yet.
    bool framed() const;
    // Keeps where the window stands while it is a window, for windowed() to put it back.
    void rememberPlace();

    struct WindowDeleter {
        void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    };

    std::unique_ptr<SDL_Window, WindowDeleter> _window;
    SDL_GLContext _context;
    const bool _unseen;
    bool _placeKnown;
    Place _place;
};

#endif
