#ifndef QUELLARIS_PLATFORM_ERRORBOX_H
#define QUELLARIS_PLATFORM_ERRORBOX_H

// The "Runtime error" box, shown as the program ends on an error. SDL shows it from a process
// of its own and waits for it; here that process is tied to the program, so that neither can
// outlive the other unseen.

struct SDL_Window;

// Shows the text with only an OK button, on the owner window when there is one, and returns
// once it is dismissed or cannot be shown. A SIGTERM or SIGINT while it shows (one the program
// was not started to ignore) ends the program at once with status 1; the box goes with it,
// whatever ends the program.
void showErrorBox(const char* text, SDL_Window* owner);

#endif
