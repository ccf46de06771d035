#include "platform/safewrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/boundedfile.h"

namespace {

namespace fs = std::filesystem;

bool failWith(std::string* reason, const std::string& text) {
    if (reason != nullptr) {
        *reason = text;
    }
    return false;
}

bool failWithErrno(std::string* reason, int error) {
    return failWith(reason, error != 0 ? std::strerror(error) : "write failed");
}

// Removes path when it is a regular file; anything else there is not ours to remove.
void removeRegularFile(const std::string& path) {
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(path, error))) {
        fs::remove(path, error);
    }
}

// Writes a new file with fill, then flushes it to disk and closes it. A file it could not
// finish is removed again. fill leaves errno set when it fails. With a mode the file gets
// exactly those permissions before a byte is written, else the usual ones of a new file.
template <class Fill>
bool writeFile(const std::string& path, Fill fill, const mode_t* mode, std::string* reason) {
    // A temporary a kill left is ours to replace. Anything else there (a folder, a link, a
    // device, a pipe) is never opened: a link would have our bytes written into whatever it
    // leads to, and a pipe would hold the save for ever.
    removeRegularFile(path);
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return failWith(reason, errno == EEXIST ? path + " is in the way" : std::strerror(errno));
    }
    if (mode != nullptr && fchmod(descriptor, *mode) != 0) {
        const int error = errno;
        close(descriptor);
        std::remove(path.c_str());
        return failWithErrno(reason, error);
    }
    std::FILE* const file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        const int error = errno;
        close(descriptor);
        std::remove(path.c_str());
        return failWithErrno(reason, error);
    }
    int error = 0;
    bool written = fill(file);
    written = written && std::fflush(file) == 0;
    written = written && fsync(fileno(file)) == 0;
    if (!written) {
        error = errno;
    }
    const bool closed = std::fclose(file) == 0;
    if (written && !closed) {
        error = errno;
    }
    if (!written || !closed) {
        std::remove(path.c_str());
        return failWithErrno(reason, error);
    }
    return true;
}

// Whether a save may put a regular file at path: only over a regular file, or where nothing is
// when missing is allowed. Anything else must not be replaced: a device would become a small
// file of ours.
bool replaceable(const std::string& path, bool missingAllowed, std::string* reason) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (!fs::exists(status)) {
        if (error && error != std::errc::no_such_file_or_directory) {
            return failWith(reason, error.message());
        }
        return missingAllowed || failWith(reason, "link leads to no file");
    }
    if (!fs::is_regular_file(status)) {
        return failWith(reason, missingAllowed ? "not a regular file" : "link leads to no regular file");
    }
    return true;
}

// The regular file that a save of path replaces: path itself, or the file a link at path
// leads to. The link is resolved first and what it led to is then looked at without following
// anything, so a link turned to a device between the two cannot have the device replaced.
bool fileToReplace(const std::string& path, std::string& file, bool& missingAllowed, std::string* reason) {
    std::error_code error;
    missingAllowed = !fs::is_symlink(fs::symlink_status(path, error));
    if (missingAllowed) {
        file = path;
    } else {
        file = fs::canonical(path, error).string();
        if (error) {
            return failWith(reason, error == std::errc::no_such_file_or_directory ? "link leads to no file"
                                                                                 : error.message());
        }
    }
    return replaceable(file, missingAllowed, reason);
}

// Replaces the file that a save of path replaces by a new one that fill writes. The new file
// has the permissions given, else those of the file it replaces: a file the player keeps
// private stays private.
template <class Fill>
bool replaceFile(const std::string& path, Fill fill, const mode_t* mode, std::string* reason) {
    std::string file;
    bool missingAllowed = true;
    if (!fileToReplace(path, file, missingAllowed, reason)) {
        return false;
    }
    mode_t kept = 0;
    if (mode == nullptr) {
        struct stat status = {};
        if (stat(file.c_str(), &status) == 0) {
            kept = status.st_mode & 0777;
            mode = &kept;
        }
    }
    const std::string temporary = file + ".tmp";
    if (!writeFile(temporary, fill, mode, reason)) {
        return false;
    }
    // Looked at again just before the rename: the write and its sync can take a while.
    if (!replaceable(file, missingAllowed, reason)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        return failWithErrno(reason, error);
    }
    return true;
}

}  // namespace

bool safeWrite(const std::string& path, const std::string& bytes, std::string* reason) {
    const auto fill = [&bytes](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    };
    return replaceFile(path, fill, nullptr, reason);
}

bool safeCopy(const std::string& from, const std::string& to, std::string* reason) {
    ReadFailure unread;
    const FileHandle source = openRegularFile(from, &unread);
    if (!source) {
        return failWith(reason, unread.reason);
    }
    // Piece by piece, so a copy costs no memory whatever the size of the file.
    const auto fill = [&source](std::FILE* file) {
        char piece[65536];
        std::size_t got = 0;
        while ((got = std::fread(piece, 1, sizeof piece, source.get())) > 0) {
            if (std::fwrite(piece, 1, got, file) != got) {
                return false;
            }
        }
        return std::ferror(source.get()) == 0;
    };
    // A copy is as private as what it copies.
    struct stat status = {};
    if (fstat(fileno(source.get()), &status) != 0) {
        return failWithErrno(reason, errno);
    }
    const mode_t mode = status.st_mode & 0777;
    return replaceFile(to, fill, &mode, reason);
}

void removeLeftTemporary(const std::string& path) {
    removeRegularFile(path + ".tmp");
}
