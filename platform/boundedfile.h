#ifndef QUELLARIS_PLATFORM_BOUNDEDFILE_H
#define QUELLARIS_PLATFORM_BOUNDEDFILE_H

#include <cstddef>
#include <string>

// Reads a whole file into memory, but never more than a limit: a link to an endless device
// or a huge file in place of a small text must cost neither all memory nor all time.
//
// True with the file's bytes in contents. False (contents then undefined) when the path
// cannot be opened, cannot be read (a folder opens but gives a read error) or holds more
// than limit bytes.
bool readBoundedFile(const std::string& path, std::size_t limit, std::string& contents);

#endif
