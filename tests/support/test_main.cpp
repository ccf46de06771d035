// The main of every test binary: it gives the tests the environment they expect when run by
// hand as well as under CTest, then runs them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void setDefault(const char* name, const char* value) {
    constexpr int keepExisting = 0;
    setenv(name, value, keepExisting);
}

// Tests write their fixture files into the working directory. CTest runs many test processes
// at once in the same folder, so each process works in a scratch folder of its own, removed
// afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        if (std::getenv("QUELLARIS_TEST_SCRATCH") == nullptr) {
            return;
        }
        std::string pattern = "scratch.XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        _parent = std::filesystem::current_path();
        _path = _parent / pattern;
        std::filesystem::current_path(_path);
    }
    ~ScratchFolder() {
        if (_path.empty()) {
            return;
        }
        std::error_code ignored;
        std::filesystem::current_path(_parent, ignored);
        std::filesystem::remove_all(_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path _parent;
    std::filesystem::path _path;
};

}  // namespace

int main(int argc, char** argv) {
    setDefault("SDL_VIDEODRIVER", "offscreen");
    setDefault("ALSOFT_DRIVERS", "null");
    setDefault("QUELLARIS_SOURCE_DIR", QUELLARIS_SOURCE_DIR);
    ::testing::InitGoogleTest(&argc, argv);
    const ScratchFolder scratch;
    return RUN_ALL_TESTS();
}
