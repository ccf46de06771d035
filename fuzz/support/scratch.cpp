#include "fuzz/support/scratch.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fuzzsupport {

namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        const char* const tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quellaris-fuzz.XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            fail("cannot make the scratch folder " + pattern);
        }
        _path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return _path; }

private:
    std::string _path;
};

const ScratchFolder& folder() {
    static const ScratchFolder scratch;
    return scratch;
}

}  // namespace

std::string scratchPath(const std::string& name) {
    return folder().path() + "/" + name;
}

std::string writeScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchPath(name);
    std::FILE* const file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        fail("cannot write the scratch file " + path);
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) {
        fail("cannot write the scratch file " + path);
    }
    return path;
}

void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz target: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzzsupport
