#ifndef QUELLARIS_PLATFORM_OPENGLAPP_H
#define QUELLARIS_PLATFORM_OPENGLAPP_H

#include <memory>
#include <string>

#include "platform/eventsource.h"
#include "platform/glwindow.h"
#include "platform/picturefit.h"
#include "platform/picturescaler.h"
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

    // The longest frame time a pass of the main loop hands the game, in seconds. Frames the
    // game really takes are far shorter (a software renderer's are about 40 ms).
    static constexpr double MAX_FRAME_TIME = 0.25;

    // init(), then passes of the loop until one ends it, then close().
    void mainLoop();

    bool fullscreen() const { return _fullscreen; }
    // Full screen takes a display mode of the picture's own size where the display has one,
    // else the desktop's own mode, on which the picture is shown scaled up (see picture()).
    // Back in a window the picture is 1:1 again. Throws std::runtime_error when neither way to
    // full screen, or the way back, can be had; the window stays in the mode it was in.
    void fullscreen(bool on);
    // Where the picture of _width x _height stands on the window: 1:1 but in full screen on
    // a desktop of another size.
    const PictureFit& picture() const { return _pointerFit; }

    // Whether the key of this virtual-key code is down at this moment.
    bool keyDown(int virtualKey) const;

    LRESULT winProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    SDL_Window* sdlWindow() const { return _glWindow.window(); }

protected:
    // One pass of the main loop: at most nine messages, the frame time, frame() and the
    // buffer swap. False once the loop is to end: frame() returned false or the quit message
    // came (the pass still runs to its end).
    bool loopPass();

    // Takes its messages from the given queue instead of SDL's.
    OpenglApp(const std::string& title, int width, int height, bool fullscreen,
              std::unique_ptr<EventSource> events);

    // Shows the picture, scaled first when full screen scales it.
    virtual void swapBuffers();
    // The display-mode change itself; false when the mode cannot be had, the window then
    // staying in the mode it was in.
    virtual bool switchDisplayMode(bool on);
    // The first way to full screen: a display mode of exactly the picture's size.
    virtual bool switchToPictureSizedMode();

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
    // Measures the window after a change of mode: where the picture stands on it and how
    // mouse motion compares with the picture's pixels.
    void fitPicture();

    SdlVideo _video;
    GlWindow _glWindow;
    WindowHandle _window;
    std::unique_ptr<EventSource> _events;
    // The picture's place in the window's mouse positions, and in its drawable's pixels.
    PictureFit _pointerFit;
    PictureFit _drawableFit;
    bool _scaled;
    PictureScaler _scaler;
};

#endif
