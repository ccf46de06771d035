#ifndef QUELLARIS_PLATFORM_EVENTSOURCE_H
#define QUELLARIS_PLATFORM_EVENTSOURCE_H

#include "platform/winapi.h"

// The queue of window messages the main loop takes from. After a quit has been posted the
// queue hands out WM_QUIT once the messages it already holds are taken.
class EventSource {
public:
    virtual ~EventSource() = default;

    // Whether a message is waiting; does not take it.
    virtual bool peekMessage() = 0;
    // Takes the waiting message; only after peekMessage() said there is one.
    virtual MSG getMessage() = 0;
    virtual void postQuitMessage() = 0;
};

#endif
