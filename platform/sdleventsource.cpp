#include "platform/sdleventsource.h"

#include "platform/virtualkeys.h"

namespace {

bool translateKey(const SDL_KeyboardEvent& key, MSG& message) {
    const int virtualKey = virtualkeys::fromSdlKey(key.keysym.sym);
    if (virtualKey == 0) {
        return false;
    }
    message.wParam = static_cast<WPARAM>(virtualKey);
    if (key.type == SDL_KEYDOWN) {
        message.message = WM_KEYDOWN;
        message.lParam = KEY_REPEAT_COUNT_ONE | (key.repeat != 0 ? KEY_WAS_DOWN : 0);
    } else {
        message.message = WM_KEYUP;
        message.lParam = KEY_REPEAT_COUNT_ONE | KEY_WAS_DOWN | KEY_GOING_UP;
    }
    return true;
}

bool translateButton(const SDL_MouseButtonEvent& button, MSG& message) {
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        message.message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        break;
    case SDL_BUTTON_RIGHT:
        message.message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        break;
    case SDL_BUTTON_MIDDLE:
        message.message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        break;
    default:
        return false;
    }
    message.wParam = 0;
    message.lParam = MAKELPARAM(button.x, button.y);
    return true;
}

// Only the latest position of a burst of motion matters to the game; taking the burst as one
// message keeps the nine-message budget of a frame for other input.
MSG coalescedMotion(const SDL_MouseMotionEvent& motion) {
    int x = motion.x;
    int y = motion.y;
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
           next.type == SDL_MOUSEMOTION) {
        SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION);
        x = next.motion.x;
        y = next.motion.y;
    }
    MSG message;
    message.message = WM_MOUSEMOVE;
    message.lParam = MAKELPARAM(x, y);
    return message;
}

}  // namespace

SdlEventSource::SdlEventSource() : _next(), _hasNext(false), _quitPosted(false) {}

bool SdlEventSource::peekMessage() {
    if (_hasNext || _quitPosted) {
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (translate(event, _next)) {
            _hasNext = true;
            return true;
        }
    }
    return false;
}

MSG SdlEventSource::getMessage() {
    if (_hasNext) {
        _hasNext = false;
        return _next;
    }
    _quitPosted = false;
    MSG quit;
    quit.message = WM_QUIT;
    return quit;
}

void SdlEventSource::postQuitMessage() {
    _quitPosted = true;
}

bool SdlEventSource::translate(const SDL_Event& event, MSG& message) {
    message = MSG();
    switch (event.type) {
    case SDL_QUIT:
        message.message = WM_CLOSE;
        return true;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            message.message = WM_CLOSE;
            return true;
        }
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            message.message = WM_PAINT;
            return true;
        }
        return false;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return translateKey(event.key, message);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return translateButton(event.button, message);
    case SDL_MOUSEMOTION:
        message = coalescedMotion(event.motion);
        return true;
    default:
        return false;
    }
}

