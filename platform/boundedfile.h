#ifndef QUELLARIS_PLATFORM_BOUNDEDFILE_H
#define QUELLARIS_PLATFORM_BOUNDEDFILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

struct stat;

// How the game opens and reads the files it is given: only regular files, never waiting on
// what stands in their place, and never more than a limit.

// What kept a file from being read: callers tell a file that is not there (a quiet first
// start for some) from one that is there but cannot be read, and say why.
struct ReadFailure {
    // Nothing at the path: no such file, a link that leads nowhere or a folder on the way
    // missing.
    bool missing = false;
    // A folder at the path, which some readers take as an empty file.
    bool folder = false;
    // Why, in a few words: "No such file or directory", "Permission denied", "a named pipe,
    // not a regular file", "larger than 256 KiB".
    std::string reason;
};

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens path (links followed) for reading in binary mode; only a regular file is handed
// back, null otherwise, with failure (when given) saying why: a named pipe with no writer
// would hold the game for ever, and a device or socket is no file of the game's. What is
// plainly no file is refused unopened; what takes a file's place between that look and the
// open (a named pipe, a device) is opened without waiting, and refused before a byte is read.
FileHandle openRegularFile(const std::string& path, ReadFailure* failure = nullptr);

// Reads a whole regular file into memory, but never more than limit bytes: a link to an
// endless device or a huge file in place of a small text must cost neither all memory nor
// all time. True with the file's bytes in contents. False (contents then undefined, failure
// saying why) when the path cannot be opened as above, cannot be read or holds more than
// limit bytes.
bool readBoundedFile(const std::string& path, std::size_t limit, std::string& contents,
                     ReadFailure* failure = nullptr);

// What tells a file from one put in its place since it was looked at: a save renames a new
// file (another inode) over it, a write in place changes its size or its time of last write.
// Its permissions, owner and times of reading are no part of it: a file the player only
// looked at or chmodded is still the same file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch

    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

FileIdentity identityOf(const struct stat& status);

// The identity of the regular file at path (links followed); none where no regular file is.
std::optional<FileIdentity> regularFileAt(const std::string& path);

// "256 KiB" for a limit in whole KiB, else the bytes.
std::string sizeText(std::size_t bytes);

#endif
