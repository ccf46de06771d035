#ifndef QUELLARIS_PLATFORM_ENTRYPOINT_H
#define QUELLARIS_PLATFORM_ENTRYPOINT_H

#include <functional>
#include <memory>
#include <string>

class OpenglApp;

using AppFactory = std::function<std::unique_ptr<OpenglApp>()>;

// The body of the program: makes the application, runs its main loop and deletes it. An
// exception from either step is written to stderr as "Runtime error: <text>" and shown in a
// "Runtime error" message box (on the application's window when there is one) before the
// application is deleted; a non-empty `cause`, what the player should know first, stands
// before the exception's text there, a blank line between them. Returns the program's exit
// code: 0 after a normal end, 1 after such a failure. A SIGTERM or SIGINT while the box shows
// ends the program there, also with 1.
int runApplication(const AppFactory& makeApp, const std::string& cause = "");

#endif
