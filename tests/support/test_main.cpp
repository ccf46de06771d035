// The main of every test binary: it gives the tests the environment they expect when run by
// hand as well as under CTest, then runs them.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void setDefault(const char* name, const char* value) {
    constexpr int keepExisting = 0;
    setenv(name, value, keepExisting);
}

}  // namespace

int main(int argc, char** argv) {
    setDefault("SDL_VIDEODRIVER", "offscreen");
    setDefault("ALSOFT_DRIVERS", "null");
    setDefault("QUELLARIS_SOURCE_DIR", QUELLARIS_SOURCE_DIR);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
