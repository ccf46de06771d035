#ifndef QUELLARIS_TESTS_GL_FIXTURE_H
#define QUELLARIS_TESTS_GL_FIXTURE_H

#include <string>

#include <gtest/gtest.h>

struct SDL_Window;

namespace testsupport {

// A hidden 800 x 600 window with a compatibility GL context, current while it lives.
class GlContext {
public:
    GlContext();
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool valid() const { return _context != nullptr; }
    const std::string& error() const { return _error; }
    SDL_Window* window() const { return _window; }

private:
    SDL_Window* _window;
    void* _context;
    std::string _error;
};

// Test fixture for suites named "...GL": skips the test, saying why, when no context can be made.
class GlFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    GlContext* gl = nullptr;
};

}  // namespace testsupport

#endif
