#include "platform/boundedfile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(ReadFailure* failure, const std::string& reason, bool missing = false, bool folder = false) {
    if (failure != nullptr) {
        failure->missing = missing;
        failure->folder = folder;
        failure->reason = reason;
    }
    return false;
}

// What stands at a path in place of a regular file, as the player would look for it.
std::string notRegular(mode_t mode) {
    if (S_ISFIFO(mode)) {
        return "a named pipe, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "a socket, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device, not a regular file";
    }
    return "not a regular file";
}

// False, saying what stands there, for anything but a regular file.
bool isRegularFile(const struct stat& status, ReadFailure* failure) {
    if (S_ISREG(status.st_mode)) {
        return true;
    }
    const bool folder = S_ISDIR(status.st_mode);
    return fail(failure, folder ? "a folder, not a file" : notRegular(status.st_mode), false, folder);
}

// The first of the path's folders that is something else: where the player put a file, the
// file is named, not a missing folder.
std::string notAFolderOnTheWay(const std::string& path) {
    std::filesystem::path folder;
    for (const std::filesystem::path& part : std::filesystem::path(path).parent_path()) {
        folder /= part;
        struct stat status = {};
        if (stat(folder.c_str(), &status) == 0 && !S_ISDIR(status.st_mode)) {
            return "its folder " + folder.string() + " is " + (S_ISREG(status.st_mode) ? "a file" : "no folder");
        }
    }
    return std::strerror(ENOTDIR);
}

// Why open() failed; for a file whose folder is not there, that folder.
std::string whyNotOpened(const std::string& path, int error) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (error == ENOENT && !folder.empty() && !std::filesystem::exists(folder, ignored)) {
        return "its folder " + folder.string() + " is missing";
    }
    if (error == ENOTDIR) {
        return notAFolderOnTheWay(path);
    }
    return std::strerror(error);
}

}  // namespace

FileHandle openRegularFile(const std::string& path, ReadFailure* failure) {
    FileHandle none(nullptr, std::fclose);
    // What is plainly no file is not even opened: opening a device can set it going.
    struct stat status = {};
    if (stat(path.c_str(), &status) == 0 && !isRegularFile(status, failure)) {
        return none;
    }
    // Something may have taken the file's place since: it is opened without blocking, so a
    // named pipe opens at once instead of waiting for a writer (a socket does not open at
    // all), and looked at again through what was opened.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        // ENXIO comes from a socket and from a device with no driver behind it: what stands
        // there now says which.
        const bool told = error == ENXIO && stat(path.c_str(), &status) == 0 && !isRegularFile(status, failure);
        if (!told) {
            fail(failure, whyNotOpened(path, error), error == ENOENT);
        }
        return none;
    }
    const bool looked = fstat(descriptor, &status) == 0;
    if (!looked) {
        fail(failure, std::strerror(errno));
    }
    if (!looked || !isRegularFile(status, failure)) {
        close(descriptor);
        return none;
    }
    const int flags = fcntl(descriptor, F_GETFL);
    std::FILE* const file =
        flags >= 0 && fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0 ? fdopen(descriptor, "rb") : nullptr;
    if (file == nullptr) {
        fail(failure, std::strerror(errno));
        close(descriptor);
        return none;
    }
    return FileHandle(file, std::fclose);
}

bool readBoundedFile(const std::string& path, std::size_t limit, std::string& contents, ReadFailure* failure) {
    contents.clear();
    const FileHandle file = openRegularFile(path, failure);
    if (!file) {
        return false;
    }
    char buffer[65536];
    std::size_t got = 0;
    errno = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (got > limit - contents.size()) {
            return fail(failure, "larger than " + sizeText(limit));
        }
        contents.append(buffer, got);
    }
    if (std::ferror(file.get()) != 0) {
        return fail(failure, errno != 0 ? std::strerror(errno) : "read error");
    }
    return true;
}

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size && modified == other.modified;
}

FileIdentity identityOf(const struct stat& status) {
    FileIdentity identity;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return identity;
}

std::optional<FileIdentity> regularFileAt(const std::string& path) {
    struct stat status = {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return identityOf(status);
}

std::string sizeText(std::size_t bytes) {
    if (bytes >= 1024 && bytes % 1024 == 0) {
        const std::size_t kib = bytes / 1024;
        return kib % 1024 == 0 ? std::to_string(kib / 1024) + " MiB" : std::to_string(kib) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}
