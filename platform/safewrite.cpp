#include "platform/safewrite.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/boundedfile.h"

namespace {

namespace fs = std::filesystem;

void say(std::string* reason, const std::string& text) {
    if (reason != nullptr) {
        *reason = text;
    }
}

bool failWith(std::string* reason, const std::string& text) {
    say(reason, text);
    return false;
}

bool failWithErrno(std::string* reason, int error) {
    return failWith(reason, error != 0 ? std::strerror(error) : "write failed");
}

// The folder a file is in, as the player would look for it.
std::string folderOf(const std::string& file) {
    const fs::path folder = fs::path(file).parent_path();
    std::error_code error;
    const fs::path current = folder.empty() ? fs::current_path(error) : folder;
    return error ? std::string(".") : current.string();
}

// A temporary that could not be made: where the folder refuses it, the folder is named.
bool failWithFolder(std::string* reason, const std::string& file, int error) {
    const bool refused = error == EACCES || error == EPERM || error == EROFS;
    return failWith(reason, refused ? "cannot write in the folder " + folderOf(file) + ": " + std::strerror(error)
                                    : std::strerror(error));
}

// What the new file takes over from the one it replaces (or a copy from what it copies).
struct Kept {
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};

Kept keptFrom(const struct stat& status) {
    Kept kept;
    kept.mode = status.st_mode & 0777;
    kept.owner = status.st_uid;
    kept.group = status.st_gid;
    return kept;
}

// The name of a save's temporary: the file's, the process's and the save's numbers, ".tmp".
// Other games saving the same file have other process numbers, so no two saves share one.
std::string temporaryName(const std::string& file, unsigned int save) {
    return file + "." + std::to_string(getpid()) + "-" + std::to_string(save) + ".tmp";
}

// Whether found (a name in the file's folder) is a temporary of a save of the file called name:
// "name.<digits>-<digits>.tmp", or "name.tmp" as older versions of the game named theirs.
bool isTemporaryOf(const std::string& name, const std::string& found) {
    const std::string tail = ".tmp";
    if (found == name + tail) {
        return true;
    }
    if (found.size() <= name.size() + 1 + tail.size() || found.compare(0, name.size() + 1, name + ".") != 0 ||
        found.compare(found.size() - tail.size(), tail.size(), tail) != 0) {
        return false;
    }
    const std::string numbers = found.substr(name.size() + 1, found.size() - name.size() - 1 - tail.size());
    const std::size_t dash = numbers.find('-');
    return dash != std::string::npos && dash > 0 && dash + 1 < numbers.size() &&
           numbers.find_first_not_of("0123456789", 0) == dash &&
           numbers.find_first_not_of("0123456789", dash + 1) == std::string::npos;
}

// Removes the temporary at path when no save holds it. Only a regular file is opened (a device
// could start doing something), never through a link, and only the file that was locked is
// removed.
void removeIfLeft(const std::string& path) {
    struct stat named = {};
    if (lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) {
        return;
    }
    const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    struct stat opened = {};
    if (fstat(descriptor, &opened) == 0 && S_ISREG(opened.st_mode) && flock(descriptor, LOCK_EX | LOCK_NB) == 0 &&
        lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
        unlink(path.c_str());
    }
    close(descriptor);
}

// A save's own temporary beside the file it replaces. It is made new under a name no other
// save uses and locked for as long as the save holds it, so a start's clean-up in another game
// leaves it alone; it is removed again unless it was renamed over the file.
class Temporary {
public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() {
        if (_descriptor >= 0) {
            if (!_renamed) {
                unlink(_path.c_str());
            }
            close(_descriptor);
        }
    }

    // A temporary that is to keep a mode is made private: only once it has its owner and its
    // mode may others open it. One that takes the usual mode has nothing more to keep.
    bool create(const std::string& file, bool keepsMode, std::string* reason) {
        static std::atomic<unsigned int> saves{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string path = temporaryName(file, saves++);
            // O_EXCL makes a new file or fails: what stands there, a link included, is never
            // written through.
            const int descriptor =
                open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, keepsMode ? 0600 : 0666);
            if (descriptor < 0) {
                if (errno == EEXIST) {
                    continue;  // left by a game of the same number that was killed
                }
                return failWithFolder(reason, file, errno);
            }
            // A clean-up that came between the open and the lock removed the file while it held
            // the lock; a file still named once the lock is ours is ours to write. Where the
            // disk takes no locks, no clean-up can take one either and the file stays.
            int locked = -1;
            do {
                locked = flock(descriptor, LOCK_EX);
            } while (locked != 0 && errno == EINTR);
            struct stat status = {};
            if (fstat(descriptor, &status) != 0 || status.st_nlink == 0) {
                close(descriptor);
                continue;
            }
            _descriptor = descriptor;
            _path = path;
            return true;
        }
        return failWith(reason, "no name free for a temporary beside " + file);
    }

    // The owner and group where the game may give them, then the mode, before a byte is
    // written.
    bool keep(const Kept* kept, std::string* reason) {
        if (kept == nullptr) {
            return true;
        }
        struct stat status = {};
        if (fstat(_descriptor, &status) != 0) {
            return failWithErrno(reason, errno);
        }
        if (status.st_uid != kept->owner || status.st_gid != kept->group) {
            // Only root may give a file away, and not on every disk (an owner the user
            // namespace does not map, a file system without owners); a player may still give
            // it a group they belong to. Where neither can be, the file stays the game's own,
            // which costs less than a save that fails for good: neither result stops the save.
            const bool ownerGiven = fchown(_descriptor, kept->owner, kept->group) == 0;
            const bool groupGiven = ownerGiven || fchown(_descriptor, static_cast<uid_t>(-1), kept->group) == 0;
            static_cast<void>(groupGiven);
        }
        // After the owner: a change of owner clears some mode bits.
        return fchmod(_descriptor, kept->mode) == 0 || failWithErrno(reason, errno);
    }

    // Writes the file with fill, flushes it to disk and closes the stream. fill leaves errno
    // set when it fails. The stream has a descriptor of its own, so the lock stays.
    template <class Fill>
    bool write(Fill fill, std::string* reason) {
        const int own = fcntl(_descriptor, F_DUPFD_CLOEXEC, 0);
        std::FILE* const file = own >= 0 ? fdopen(own, "wb") : nullptr;
        if (file == nullptr) {
            const int error = errno;
            if (own >= 0) {
                close(own);
            }
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
        return (written && closed) || failWithErrno(reason, error);
    }

    bool renameOver(const std::string& file, std::string* reason) {
        if (std::rename(_path.c_str(), file.c_str()) != 0) {
            return failWithErrno(reason, errno);
        }
        _renamed = true;
        return true;
    }

    // Gives the temporary the name unless something stands there: false, errno EEXIST, then.
    bool renameToNew(const std::string& name) {
        if (renameat2(AT_FDCWD, _path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
            _renamed = true;
            return true;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            return false;
        }
        // A disk that cannot rename without replacing: a second name for the file is never
        // made where one stands, and the temporary's own name goes when it is closed.
        return link(_path.c_str(), name.c_str()) == 0;
    }

private:
    int _descriptor = -1;
    std::string _path;
    bool _renamed = false;
};

// Until the folder is synced the rename may be lost in a power cut or a crash, leaving the old
// file or none. A disk that cannot sync a folder, or a folder the game may not read, is left as
// it is: nothing more can be done there. Otherwise a folder that did not sync is told in
// reason; the file is in place all the same.
void syncFolder(const std::string& file, std::string* reason) {
    const fs::path folder = fs::path(file).parent_path();
    const int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = descriptor < 0 ? errno : 0;
    if (descriptor >= 0) {
        if (fsync(descriptor) != 0 && errno != EINVAL && errno != EOPNOTSUPP) {
            error = errno;
        }
        close(descriptor);
    }
    if (error != 0 && error != EACCES) {
        say(reason, "the folder " + folderOf(file) + " did not sync (" + std::strerror(error) +
                        "): the new file may not survive a power cut");
    }
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

// Writes a temporary beside file with fill, with what kept gives (none: the usual mode).
template <class Fill>
bool writeTemporary(Temporary& temporary, const std::string& file, Fill fill, const Kept* kept,
                    std::string* reason) {
    return temporary.create(file, kept != nullptr, reason) && temporary.keep(kept, reason) &&
           temporary.write(fill, reason);
}

// Replaces the file that a save of path replaces by a new one that fill writes. The new file
// takes what the file it replaces has: a file the player keeps private stays private, and
// stays the player's when the game runs as root.
template <class Fill>
bool replaceFile(const std::string& path, Fill fill, std::string* reason) {
    std::string file;
    bool missingAllowed = true;
    if (!fileToReplace(path, file, missingAllowed, reason)) {
        return false;
    }
    Kept replaced;
    const Kept* kept = nullptr;
    struct stat status = {};
    if (stat(file.c_str(), &status) == 0) {
        replaced = keptFrom(status);
        kept = &replaced;
    }
    Temporary temporary;
    if (!writeTemporary(temporary, file, fill, kept, reason)) {
        return false;
    }
    // Looked at again just before the rename: the write and its sync can take a while.
    if (!replaceable(file, missingAllowed, reason) || !temporary.renameOver(file, reason)) {
        return false;
    }
    say(reason, "");
    syncFolder(file, reason);
    return true;
}

// The name of the copy kept as the number-th: to, then to.2, to.3 and so on.
std::string keptName(const std::string& to, int number) {
    return number == 1 ? to : to + "." + std::to_string(number);
}

}  // namespace

bool safeWrite(const std::string& path, const std::string& bytes, std::string* reason) {
    const auto fill = [&bytes](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    };
    return replaceFile(path, fill, reason);
}

KeepOutcome keepCopy(const std::string& from, const FileIdentity& found, const std::string& to, std::string& keptAs,
                     std::string* reason) {
    // The file copied is the one opened, looked at through what was opened: a file saved over
    // it after the look cannot be copied in its place.
    ReadFailure unread;
    const FileHandle source = openRegularFile(from, &unread);
    if (!source) {
        if (unread.missing) {
            return KeepOutcome::Changed;
        }
        failWith(reason, unread.reason);
        return KeepOutcome::Failed;
    }
    struct stat status = {};
    if (fstat(fileno(source.get()), &status) != 0) {
        failWithErrno(reason, errno);
        return KeepOutcome::Failed;
    }
    if (identityOf(status) != found) {
        return KeepOutcome::Changed;
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
    // A copy is as private as what it copies, and belongs to the same player.
    const Kept kept = keptFrom(status);
    Temporary temporary;
    if (!writeTemporary(temporary, to, fill, &kept, reason)) {
        return KeepOutcome::Failed;
    }
    constexpr int names = 1000;
    for (int number = 1; number <= names; ++number) {
        const std::string name = keptName(to, number);
        if (temporary.renameToNew(name)) {
            keptAs = name;
            say(reason, "");
            syncFolder(name, reason);
            return KeepOutcome::Kept;
        }
        if (errno != EEXIST) {
            failWithErrno(reason, errno);
            return KeepOutcome::Failed;
        }
    }
    failWith(reason, "every name from " + to + " to " + keptName(to, names) + " is taken");
    return KeepOutcome::Failed;
}

void removeLeftTemporaries(const std::string& path) {
    // A save through a link writes its temporary beside the file the link leads to.
    std::error_code error;
    const bool linked = fs::is_symlink(fs::symlink_status(path, error));
    const fs::path file = linked ? fs::canonical(path, error) : fs::path(path);
    if (linked && error) {
        return;  // a link that leads nowhere has had no save
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string name = file.filename().string();
    std::error_code listing;
    for (fs::directory_iterator entry(folder, listing), end; !listing && entry != end; entry.increment(listing)) {
        if (isTemporaryOf(name, entry->path().filename().string())) {
            removeIfLeft(entry->path().string());
        }
    }
}
