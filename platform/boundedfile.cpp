#include "platform/boundedfile.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool readBoundedFile(const std::string& path, std::size_t limit, std::string& contents) {
    contents.clear();
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (got > limit - contents.size()) {
            return false;
        }
        contents.append(buffer, got);
    }
    return std::ferror(file.get()) == 0;
}
