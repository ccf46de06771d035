#include "platform/safewrite.h"

#include <cstdio>

#include <unistd.h>

namespace {

// Writes the whole text to a new file, flushed to disk and closed. A file it could not
// finish is removed again; a path it could not open is left alone.
bool writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* const file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0;
    written = written && fsync(fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool safeWrite(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    if (!writeFile(temporary, bytes)) {
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
