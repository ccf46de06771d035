#include "platform/errorbox.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// The process showing a box, while it does; 0 otherwise. Read in the process SDL forks for
// the box, where only a copy of it is left.
volatile sig_atomic_t boxShower = 0;

// Runs in every child forked while a box shows, among them the one that shows it: SDL waits
// for that one, so a program ended by a signal would leave it behind, still showing the box.
void dieWithBoxShower() {
    if (boxShower == 0) {
        return;
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The program may have ended before the line above could take effect.
    if (getppid() != static_cast<pid_t>(boxShower)) {
        _exit(1);
    }
}

void endProgram(int) {
    _exit(1);
}

// While it lives, the signal ends the program with status 1 (SDL's own handler would only ask
// the game to quit, and the game no longer listens). A signal the program was started to
// ignore stays ignored, as for any program run in the background.
class EndingSignal {
public:
    explicit EndingSignal(int signal) : _signal(signal), _previous(), _replaced(false) {
        struct sigaction ending = {};
        ending.sa_handler = endProgram;
        sigemptyset(&ending.sa_mask);
        _replaced = sigaction(signal, nullptr, &_previous) == 0 && _previous.sa_handler != SIG_IGN &&
                    sigaction(signal, &ending, nullptr) == 0;
    }
    ~EndingSignal() {
        if (_replaced) {
            sigaction(_signal, &_previous, nullptr);
        }
    }
    EndingSignal(const EndingSignal&) = delete;
    EndingSignal& operator=(const EndingSignal&) = delete;

private:
    const int _signal;
    struct sigaction _previous;
    bool _replaced;
};

}  // namespace

void showErrorBox(const char* text, SDL_Window* owner) {
    static const int forkHandlerSet = pthread_atfork(nullptr, nullptr, dieWithBoxShower);
    static_cast<void>(forkHandlerSet);
    boxShower = static_cast<sig_atomic_t>(getpid());
    {
        const EndingSignal terminate(SIGTERM);
        const EndingSignal interrupt(SIGINT);
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Runtime error", text, owner);
    }
    boxShower = 0;
}
