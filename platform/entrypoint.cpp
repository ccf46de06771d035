#include "platform/entrypoint.h"

#include <cstdio>
#include <exception>

#include "platform/errorbox.h"
#include "platform/openglapp.h"

namespace {

void reportRuntimeError(const std::string& text, const OpenglApp* app) {
    // Written out first: where no box can be shown, or it never gets dismissed, the text is kept.
    std::fprintf(stderr, "Runtime error: %s\n", text.c_str());
    std::fflush(stderr);
    showErrorBox(text.c_str(), app != nullptr ? app->sdlWindow() : nullptr);
}

}  // namespace

int runApplication(const AppFactory& makeApp, const std::string& cause) {
    std::unique_ptr<OpenglApp> app;
    int status = 0;
    try {
        app = makeApp();
        app->mainLoop();
    } catch (const std::exception& error) {
        reportRuntimeError(cause.empty() ? error.what() : cause + "\n\n" + error.what(), app.get());
        // A script or launcher that started the game must be able to tell that it failed.
        status = 1;
    }
    app.reset();
    return status;
}
