/* Frame-time logger: preloaded into the game (LD_PRELOAD), it wraps SDL_GL_SwapWindow and appends
 * one line per swap to the file named by SWAPLOG_FILE: the wall clock in nanoseconds since 1970
 * at the moment the swap returned, the clock of `date +%s%N`, so that a script can line the
 * frames up with what it did to the game. The game itself is not changed, so what it measures
 * is the game as a player runs it.
 *
 * Without SWAPLOG_FILE, or if the file cannot be opened, the swaps pass through unlogged. Each line
 * is one write() to a descriptor opened with O_APPEND, so a reader (or a second process logging
 * to the same file) never sees half a line. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

typedef void (*SwapFunction)(void *window);

static SwapFunction realSwap(void)
{
    static SwapFunction real;
    if (!real)
        real = (SwapFunction)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    return real;
}

/* -1 until the first swap opens the file, -2 when there is nothing to log to. */
static int logFile = -1;

static int openLog(void)
{
    if (logFile == -1) {
        const char *path = getenv("SWAPLOG_FILE");
        logFile = path && *path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -2;
        if (logFile < 0)
            logFile = -2;
    }
    return logFile;
}

void SDL_GL_SwapWindow(void *window)
{
    SwapFunction real = realSwap();
    if (real)
        real(window);
    const int fd = openLog();
    if (fd < 0)
        return;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    char line[32];
    const int length = snprintf(line, sizeof line, "%lld\n",
                                (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    if (length > 0 && write(fd, line, (size_t)length) < 0)
        logFile = -2; /* a full disk must not cost the game its frames */
}
