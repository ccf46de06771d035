#ifndef QUELLARIS_PLATFORM_SDLEVENTSOURCE_H
#define QUELLARIS_PLATFORM_SDLEVENTSOURCE_H

#include <SDL_events.h>

#include "platform/eventsource.h"

// SDL's event queue as window messages. Keys become WM_KEYDOWN / WM_KEYUP with their
// virtual-key code (bit 30 of lParam set on auto-repeat); mouse buttons and motion carry client
// x and y, y downward, and a run of motion events becomes one WM_MOUSEMOVE at the last
// position; an expose asks for a WM_PAINT; the close button and a quit request become
// WM_CLOSE. Events with no message are dropped.
class SdlEventSource : public EventSource {
public:
    SdlEventSource();

    bool peekMessage() override;
    MSG getMessage() override;
    void postQuitMessage() override;

    // The message an SDL event becomes, or false for none. A motion event also takes the
    // motion events queued straight after it.
    static bool translate(const SDL_Event& event, MSG& message);

private:
    MSG _next;
    bool _hasNext;
    bool _quitPosted;
};

#endif
