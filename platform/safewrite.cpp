#include "platform/safewrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

bool failWith(std::string* reason, const std::string& text) {
    if (reason != nullptr) {
        *reason = text;
    }
    return false;
}

bool failWithErrno(std::string* reason, int error) {
    return failWith(reason, std::strerror(error));
}

// Writes a new file with fill, then flushes it to disk and closes it. A file it could not
// finish is removed again; a path it could not open is left alone. fill leaves errno set
// when it fails.
template <class Fill>
bool writeFile(const std::string& path, Fill fill, std::string* reason) {
    std::FILE* const file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return failWithErrno(reason, errno);
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

// The regular file that a save of path replaces: path itself, or the file a link at path
// leads to. Anything else must not be replaced by a regular file: a link to a device would
// turn the machine's device into a small file of ours.
bool fileToReplace(const std::string& path, std::string& file, std::string* reason) {
    std::error_code error;
    const fs::file_status own = fs::symlink_status(path, error);
    if (error && error != std::errc::no_such_file_or_directory) {
        return failWith(reason, error.message());
    }
    if (!fs::is_symlink(own)) {
        if (fs::exists(own) && !fs::is_regular_file(own)) {
            return failWith(reason, "not a regular file");
        }
        file = path;
        return true;
    }
    const fs::file_status target = fs::status(path, error);
    if (!fs::exists(target)) {
        return failWith(reason, "link leads to no file");
    }
    if (!fs::is_regular_file(target)) {
        return failWith(reason, "link leads to no regular file");
    }
    file = fs::canonical(path, error).string();
    return !error || failWith(reason, error.message());
}

// Replaces the file that a save of path replaces by a new one that fill writes.
template <class Fill>
bool replaceFile(const std::string& path, Fill fill, std::string* reason) {
    std::string file;
    if (!fileToReplace(path, file, reason)) {
        return false;
    }
    const std::string temporary = file + ".tmp";
    if (!writeFile(temporary, fill, reason)) {
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
    return replaceFile(path, fill, reason);
}

bool safeCopy(const std::string& from, const std::string& to, std::string* reason) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen(from.c_str(), "rb"), std::fclose);
    if (!source) {
        return failWithErrno(reason, errno);
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
    return replaceFile(to, fill, reason);
}

void removeLeftTemporary(const std::string& path) {
    const std::string temporary = path + ".tmp";
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(temporary, error))) {
        fs::remove(temporary, error);
    }
}
