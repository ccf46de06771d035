#include "platform/openglapp.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "platform/sdleventsource.h"
#include "platform/virtualkeys.h"

OpenglApp::OpenglApp(const std::string& title, int width, int height, bool fullscreen)
    : OpenglApp(title, width, height, fullscreen, std::make_unique<SdlEventSource>()) {}

OpenglApp::OpenglApp(const std::string& title, int width, int height, bool fullscreen,
                     std::unique_ptr<EventSource> events)
    : _frameTime(0.0),
      _totalTime(0.0),
      _hwnd(&_window),
      _windowWidth(width),
      _windowHeight(height),
      _width(width),
      _height(height),
      _fpsTimer(),
      _fps(0.0),
      _frameCount(0),
      _fullscreen(fullscreen),
      _video(),
      _glWindow(title, width, height, _video.showsNothing()),
      _window(),
      _events(std::move(events)),
      _pointerFit(width, height),
      _drawableFit(width, height),
      _scaled(false),
      _scaler() {
    if (fullscreen && !_glWindow.fullscreenInMode(width, height) && !_glWindow.fullscreenOnDesktop(width, height)) {
        throw std::runtime_error("Cannot change display resolution");
    }
    _glWindow.outerSize(_windowWidth, _windowHeight);
    _window.window = _glWindow.window();
    _window.procedure = this;
    fitPicture();
}

OpenglApp::~OpenglApp() {
    _window.procedure = nullptr;
}

bool OpenglApp::frame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void OpenglApp::close() {}

void OpenglApp::init() {}

bool OpenglApp::message(HWND, UINT, WPARAM, LPARAM) {
    return false;
}

void OpenglApp::mainLoop() {
    init();
    _fpsTimer.reset(0.0);
    while (loopPass()) {
    }
    close();
}

bool OpenglApp::loopPass() {
    const bool quitAsked = !pumpMessages();
    _fpsTimer.tick();
    // A gap longer than any frame the game takes is the process standing still (stopped and
    // continued, held in a debugger, a frozen machine): the world goes on from where it
    // stood instead of flying all that time at once.
    _frameTime = std::min(_fpsTimer.delta, MAX_FRAME_TIME);
    // Nor do the frames per second count the time that was not flown.
    _fpsTimer.elapsed -= _fpsTimer.delta - _frameTime;
    _totalTime += _frameTime;
    countFrame();
    const bool goOn = frame();
    swapBuffers();
    return goOn && !quitAsked;
}

bool OpenglApp::pumpMessages() {
    // At most nine messages between two frames, so a flood of input cannot stall the game.
    int budget = 10;
    while (_events->peekMessage()) {
        if (--budget == 0) {
            break;
        }
        const MSG msg = _events->getMessage();
        if (msg.message == WM_QUIT) {
            return false;
        }
        SendMessage(_hwnd, msg.message, msg.wParam, msg.lParam);
    }
    return true;
}

void OpenglApp::countFrame() {
    ++_frameCount;
    if (_fpsTimer.elapsed > 1.0) {
        _fps = _frameCount / _fpsTimer.elapsed;
        _frameCount = 0;
        _fpsTimer.reset(0.0);
    }
}

void OpenglApp::fullscreen(bool on) {
    if (on == _fullscreen) {
        return;
    }
    // The flag follows the mode actually reached, so a failed switch leaves it telling the truth.
    const bool switched = switchDisplayMode(on);
    fitPicture();
    if (!switched) {
        throw std::runtime_error(on ? "Cannot change to fullscreen" : "Cannot change to windowed");
    }
    _fullscreen = on;
    _glWindow.outerSize(_windowWidth, _windowHeight);
    _frameTime = 0.0;
}

bool OpenglApp::switchDisplayMode(bool on) {
    if (!on) {
        return _glWindow.windowed(_width, _height);
    }
    return switchToPictureSizedMode() || _glWindow.fullscreenOnDesktop(_width, _height);
}

bool OpenglApp::switchToPictureSizedMode() {
    return _glWindow.fullscreenInMode(_width, _height);
}

void OpenglApp::fitPicture() {
    int width = 0;
    int height = 0;
    _glWindow.drawableSize(width, height);
    _scaled = width != _width || height != _height;
    if (!_scaled) {
        // A window, or a display mode of the picture's size: nothing to map or scale.
        _drawableFit = PictureFit(_width, _height);
        _pointerFit = PictureFit(_width, _height);
        _window.pictureScale = 1.0f;
        return;
    }
    _drawableFit = PictureFit(_width, _height, width, height);
    _glWindow.clientSize(width, height);
    _pointerFit = PictureFit(_width, _height, width, height);
    _window.pictureScale = _pointerFit.scale();
}

bool OpenglApp::keyDown(int virtualKey) const {
    SDL_PumpEvents();
    int count = 0;
    const Uint8* const state = SDL_GetKeyboardState(&count);
    // Several keys may share a code (both shift keys, both enter keys).
    for (int scancode = 0; scancode < count; ++scancode) {
        if (state[scancode] != 0 &&
            virtualkeys::fromSdlKey(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode))) == virtualKey) {
            return true;
        }
    }
    return false;
}

namespace {

bool carriesMousePosition(UINT msg) {
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return true;
    default: return false;
    }
}

}  // namespace

LRESULT OpenglApp::winProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (_scaled && carriesMousePosition(msg)) {
        // The game hears of the mouse in its picture's pixels, wherever the picture stands.
        int x = static_cast<std::int16_t>(LOWORD(lParam));
        int y = static_cast<std::int16_t>(HIWORD(lParam));
        _pointerFit.toPicture(x, y);
        lParam = MAKELPARAM(x, y);
    }
    if (message(hwnd, msg, wParam, lParam)) {
        return 0;
    }
    switch (msg) {
    case WM_DESTROY:
        _events->postQuitMessage();
        break;
    case WM_PAINT:
        _frameTime = 0.0;
        if (!frame()) {
            destroyWindow();
        }
        swapBuffers();
        break;
    case WM_CLOSE:
        destroyWindow();
        break;
    default:
        break;
    }
    return 0;
}

void OpenglApp::swapBuffers() {
    if (_scaled) {
        _scaler.present(_drawableFit);
    }
    _glWindow.swapBuffers();
}

void OpenglApp::destroyWindow() {
    if (_window.procedure == nullptr) {
        return;
    }
    // The window only disappears from the screen: the last pass of the main loop, close() and
    // the game's destructor still draw into its context.
    _glWindow.hide();
    SendMessage(_hwnd, WM_DESTROY, 0, 0);
    _window.procedure = nullptr;
}
