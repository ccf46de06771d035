#ifndef QUELLARIS_PLATFORM_OPENGLAPP_H
#define QUELLARIS_PLATFORM_OPENGLAPP_H

#include <memory>
#include <string>

#include "platform/eventsource.h"
#include "platform/glwindow.h"
#include "platform/sdlvideo.h"
#include "platform/timer.h"
#include "platform/winapi.h"

// The application shell: one window with its GL context, the message pump and the frame loop
// with frame time, total time and frames per second. The game derives from it and overrides
// the four hooks. The GL context stays current from construction until destruction, so the
// game's last frame, its close() and its destructor may still draw and free GL objects.
class OpenglApp : public WindowProcedure {
public:
    // Throws std::runtime_error when the window or the display mode cannot be had.
    OpenglApp(const std::string& title, int width, int height, bool fullscreen);
    virtual ~OpenglApp();
    OpenglApp(const OpenglApp&) = delete;
    OpenglApp& operator=(const OpenglApp&) = delete;

    // One frame of work; false ends the main loop. The base clears the window to black.
    virtual bool frame();
    // Once, after the main loop.
    virtual void close();
    // Once, before the first frame.
    virtual void init();
    // First look at every message reaching the window; true means handled.
    virtual bool message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void mainLoop();

    bool fullscreen() const { return _fullscreen; }
    // Throws std::runtime_error when the display mode cannot be changed.
    void fullscreen(bool on);

    // Whether the key of this virtual-key code is down at this moment.
    bool keyDown(int virtualKey) const;

    LRESULT winProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    SDL_Window* sdlWindow() const { return _glWindow.window(); }

protected:
    // Takes its messages from the given queue instead of SDL's.
    OpenglApp(const std::string& title, int width, int height, bool fullscreen,
              std::unique_ptr<EventSource> events);

    virtual void swapBuffers();
    // The display-mode change itself; false when the mode cannot be had, the window then
    // staying in the mode it was in.
    virtual bool switchDisplayMode(bool on);

    double _frameTime;
    double _totalTime;
    const HWND _hwnd;
    int _windowWidth;
    int _windowHeight;
    const int _width;
    const int _height;
    Timer _fpsTimer;
    double _fps;
    int _frameCount;
    bool _fullscreen;

private:
    // False once the quit message has been taken.
    bool pumpMessages();
    void countFrame();
    void destroyWindow();

    SdlVideo _video;
    GlWindow _glWindow;
    WindowHandle _window;
    std::unique_ptr<EventSource> _events;
};

#endif
