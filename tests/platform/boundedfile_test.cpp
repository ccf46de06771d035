#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/boundedfile.h"

namespace fs = std::filesystem;

namespace {

// What the test does to one path while the opener is at work on it: swaps the stand-in into
// its place just after the opener's first look, and counts the opens of it.
struct Watch {
    std::string path;
    std::string standIn;  // empty: nothing is swapped
    std::atomic<int> opens{0};
};

std::atomic<Watch*> watched{nullptr};

template <class Function>
Function realFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int realOpen(const char* path, int flags, mode_t mode = 0) {
    static const auto real = realFunction<int (*)(const char*, int, ...)>("open");
    return real(path, flags, mode);
}

}  // namespace

// Every call of stat and open in this test program comes here first: for the watched path the
// test acts between the opener's look and its open, and sees whether it opened at all.
extern "C" int stat(const char* path, struct stat* status) noexcept {
    static const auto real = realFunction<int (*)(const char*, struct stat*)>("stat");
    const int result = real(path, status);
    Watch* const watch = watched.load();
    if (watch != nullptr && !watch->standIn.empty() && watch->path == path) {
        rename(watch->standIn.c_str(), path);
        watch->standIn.clear();
    }
    return result;
}

extern "C" int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    // O_TMPFILE holds O_DIRECTORY's bit: only the whole of it brings a mode.
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    Watch* const watch = watched.load();
    if (watch != nullptr && watch->path == path) {
        ++watch->opens;
    }
    return realOpen(path, flags, mode);
}

namespace {

// An opener that waits on a named pipe with no writer would wait for ever: after a few seconds
// this opens the pipe's other end, which lets such an opener go, and says it had to.
class PipeWatchdog {
public:
    explicit PipeWatchdog(const std::string& path)
        : _thread([this, path] {
              std::unique_lock<std::mutex> lock(_mutex);
              if (_cv.wait_for(lock, std::chrono::seconds(3), [this] { return _done; })) {
                  return;
              }
              const int writer = realOpen(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
              if (writer >= 0) {
                  _released = true;
                  close(writer);
              }
          }) {}
    ~PipeWatchdog() { stop(); }
    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;

    // True when the opener had to be let go.
    bool stop() {
        {
            const std::lock_guard<std::mutex> lock(_mutex);
            _done = true;
        }
        _cv.notify_one();
        if (_thread.joinable()) {
            _thread.join();
        }
        return _released;
    }

private:
    std::mutex _mutex;
    std::condition_variable _cv;
    bool _done = false;
    bool _released = false;
    std::thread _thread;
};

}  // namespace

// A named pipe or a device at a file's path, there from the start or put in the file's place
// between the opener's look and its open: the opener refuses it, saying what it is, without
// waiting on it. What is plainly no file at the look is not even opened.
TEST(OpenRegularFile, RefusesAPipeOrADeviceThereAtTheLookOrSwappedInAfterIt) {
    enum Kind { PIPE, DEVICE };
    const struct {
        const char* name;
        Kind kind;
        bool swapped;
        const char* reason;
    } cases[] = {
        {"pipe at the look", PIPE, false, "a named pipe, not a regular file"},
        {"device at the look", DEVICE, false, "a device, not a regular file"},
        {"pipe after the look", PIPE, true, "a named pipe, not a regular file"},
        {"device after the look", DEVICE, true, "a device, not a regular file"},
    };
    const fs::path dir = fs::current_path() / "boundedfile_swap";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string path = (dir / "file").string();
        const std::string other = (dir / "other").string();
        if (c.kind == PIPE) {
            ASSERT_EQ(mkfifo(other.c_str(), 0644), 0);
        } else {
            fs::create_symlink("/dev/zero", other);
        }
        if (c.swapped) {
            std::ofstream(path) << "a regular file at the look\n";
        } else {
            fs::rename(other, path);
        }
        Watch watch;
        watch.path = path;
        watch.standIn = c.swapped ? other : "";
        std::optional<PipeWatchdog> watchdog;
        if (c.kind == PIPE) {
            watchdog.emplace(path);
        }

        ReadFailure failure;
        watched.store(&watch);
        const FileHandle file = openRegularFile(path, &failure);
        watched.store(nullptr);

        EXPECT_FALSE(watchdog && watchdog->stop()) << "the opener waited on the pipe";
        EXPECT_TRUE(watch.standIn.empty()) << "the opener did not look before it opened";
        EXPECT_FALSE(file) << "opened as a regular file";
        EXPECT_EQ(failure.reason, c.reason);
        EXPECT_FALSE(failure.missing);
        EXPECT_EQ(watch.opens.load(), c.swapped ? 1 : 0);
    }
    fs::remove_all(dir);
}
