#include "platform/standardstreams.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool isOpen(int descriptor) {
    return fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}

// Where /dev/null cannot be opened (a bare container), a folder opened for reading still
// holds the place: every write to it fails, and nothing else can take the descriptor.
int openPlaceholder() {
    const int null = open("/dev/null", O_RDWR | O_NOCTTY);
    return null >= 0 ? null : open("/", O_RDONLY | O_DIRECTORY);
}

}  // namespace

void openClosedStandardDescriptors() {
    // Lowest first: open() takes the lowest free descriptor, so each lands where it is missing.
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (isOpen(descriptor)) {
            continue;
        }
        const int placeholder = openPlaceholder();
        if (placeholder > descriptor) {
            dup2(placeholder, descriptor);
            close(placeholder);
        }
    }
}

void survivePipesWithoutReader() {
    std::signal(SIGPIPE, SIG_IGN);
}
