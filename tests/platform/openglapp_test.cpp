#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/entrypoint.h"
#include "platform/openglapp.h"
#include "tests/support/fake_input.h"

namespace {

using testsupport::FakeEventSource;

// Records every hook call and swap in order; frame() runs a script that decides whether to go on.
class ProbeApp : public OpenglApp {
public:
    explicit ProbeApp(std::unique_ptr<FakeEventSource> events)
        : OpenglApp("Quellaris", 800, 600, false, std::move(events)) {}

    void init() override { log.push_back("init"); }
    bool frame() override {
        log.push_back("frame");
        frameTimes.push_back(_frameTime);
        return script ? script(*this, static_cast<int>(frameTimes.size())) : true;
    }
    void close() override { log.push_back("close"); }
    bool message(HWND, UINT msg, WPARAM, LPARAM lParam) override {
        log.push_back("msg " + std::to_string(msg));
        params.push_back(lParam);
        return false;
    }
    void swapBuffers() override {
        log.push_back("swap");
        OpenglApp::swapBuffers();
    }

    Timer& fpsTimer() { return _fpsTimer; }
    double fps() const { return _fps; }
    double frameTime() const { return _frameTime; }
    void frameTime(double t) { _frameTime = t; }
    HWND hwnd() const { return _hwnd; }
    bool switchDisplayMode(bool on) override { return !failDisplaySwitch && OpenglApp::switchDisplayMode(on); }
    bool switchToPictureSizedMode() override { return !noPictureSizedMode && OpenglApp::switchToPictureSizedMode(); }

    bool failDisplaySwitch = false;
    // As on a desktop that lists no mode of the picture's size.
    bool noPictureSizedMode = false;
    std::vector<LPARAM> params;
    std::function<bool(ProbeApp&, int)> script;
    std::vector<std::string> log;
    std::vector<double> frameTimes;
};

struct Probe {
    Probe() {
        auto owned = std::make_unique<FakeEventSource>();
        events = owned.get();
        app = std::make_unique<ProbeApp>(std::move(owned));
    }
    FakeEventSource* events;
    std::unique_ptr<ProbeApp> app;
};

// The number of messages taken before each frame.
std::vector<int> messagesPerFrame(const std::vector<std::string>& log) {
    std::vector<int> counts;
    int count = 0;
    for (const std::string& entry : log) {
        if (entry.rfind("msg ", 0) == 0) {
            ++count;
        } else if (entry == "frame") {
            counts.push_back(count);
            count = 0;
        }
    }
    return counts;
}

std::vector<std::string> tail(const std::vector<std::string>& log, size_t n) {
    return std::vector<std::string>(log.end() - static_cast<std::ptrdiff_t>(n), log.end());
}

class OpenglAppGL : public ::testing::Test {
protected:
    void SetUp() override {
        // A message box must never wait for someone to dismiss it during a test.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "no video here: " << SDL_GetError();
        }
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
};

std::string captureRun(const AppFactory& factory, int& result) {
    testing::internal::CaptureStderr();
    result = runApplication(factory);
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST_F(OpenglAppGL, WindowAndContextAreWhatTheGameDrawsWith) {
    Probe probe;
    SDL_Window* window = probe.app->sdlWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Quellaris");
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE, 0u);
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);

    ASSERT_NE(glGetString(GL_RENDERER), nullptr);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    EXPECT_NE(std::strstr(extensions, "GL_ARB_multitexture"), nullptr);
    EXPECT_EQ(probe.app->hwnd()->window, window);
}

TEST_F(OpenglAppGL, TakesAtMostNineMessagesBetweenTwoFrames) {
    Probe probe;
    for (int i = 0; i < 20; ++i) {
        probe.events->push(WM_KEYDOWN, 'A');
    }
    probe.app->script = [](ProbeApp&, int frame) { return frame < 4; };
    probe.app->mainLoop();

    EXPECT_EQ(messagesPerFrame(probe.app->log), (std::vector<int>{9, 9, 2, 0}));
    EXPECT_EQ(probe.app->log.front(), "init");
    // A frame that ends the loop is still shown.
    EXPECT_EQ(tail(probe.app->log, 3), (std::vector<std::string>{"frame", "swap", "close"}));
}

TEST_F(OpenglAppGL, QuitRunsOneMoreFrameAndSwapThenClose) {
    Probe probe;
    probe.events->push(WM_KEYDOWN, 'A');
    probe.events->push(WM_QUIT);
    probe.events->push(WM_KEYDOWN, 'B');
    probe.app->mainLoop();

    EXPECT_EQ(probe.app->log,
              (std::vector<std::string>{"init", "msg 256", "frame", "swap", "close"}));
    // Nothing after the quit is taken.
    EXPECT_EQ(probe.events->queue.size(), 1u);
}

TEST_F(OpenglAppGL, CloseDestroysTheWindowAndEndsTheLoop) {
    Probe probe;
    probe.events->push(WM_CLOSE);
    probe.app->mainLoop();

    EXPECT_EQ(probe.app->log, (std::vector<std::string>{"init", "msg 16", "msg 2", "frame", "swap", "close"}));
    // A destroyed window takes no more messages.
    EXPECT_EQ(SendMessage(probe.app->hwnd(), WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(probe.app->log.back(), "close");
}

TEST_F(OpenglAppGL, PaintRunsAFrameWithFrameTimeZero) {
    Probe probe;
    probe.app->frameTime(0.25);
    SendMessage(probe.app->hwnd(), WM_PAINT, 0, 0);
    EXPECT_EQ(probe.app->frameTimes, (std::vector<double>{0.0}));
    EXPECT_EQ(probe.app->log, (std::vector<std::string>{"msg 15", "frame", "swap"}));
}

TEST_F(OpenglAppGL, SdlExposeAndQuitDriveTheLoop) {
    // The public constructor takes SDL's own queue.
    struct Shell : OpenglApp {
        Shell() : OpenglApp("Quellaris", 800, 600, false) {}
        bool frame() override {
            frameTimes.push_back(_frameTime);
            return true;
        }
        std::vector<double> frameTimes;
    };
    Shell shell;
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_EXPOSED;
    event.window.windowID = SDL_GetWindowID(shell.sdlWindow());
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    SDL_zero(event);
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    shell.mainLoop();

    // The paint frame, then the pass in which the quit arrived.
    ASSERT_EQ(shell.frameTimes.size(), 2u);
    EXPECT_EQ(shell.frameTimes[0], 0.0);
}

TEST_F(OpenglAppGL, PaintFrameThatFailsDestroysTheWindow) {
    Probe probe;
    probe.app->script = [](ProbeApp&, int frame) { return frame != 1; };
    probe.events->push(WM_PAINT);
    probe.app->mainLoop();

    // The paint frame fails, the window goes, and the quit it posts ends the loop after one more pass.
    EXPECT_EQ(probe.app->log, (std::vector<std::string>{"init", "msg 15", "frame", "msg 2", "swap", "frame",
                                                       "swap", "close"}));
}

TEST_F(OpenglAppGL, FramesPerSecondAreRecomputedOnlyAfterMoreThanOneSecond) {
    Probe probe;
    // A paused timer adds nothing when ticked, so the elapsed time set here is what the loop sees.
    probe.app->script = [](ProbeApp& app, int frame) {
        Timer& timer = app.fpsTimer();
        if (frame == 1) {
            timer.paused = true;
            timer.elapsed = 1.0;
        } else if (frame == 2) {
            EXPECT_EQ(app.fps(), 0.0);
            timer.elapsed = 1.01;
        } else {
            // Three frames counted when 1.01 s had built up; the count and the timer start again.
            EXPECT_DOUBLE_EQ(app.fps(), 3 / 1.01);
            EXPECT_DOUBLE_EQ(timer.elapsed, 0.0);
            EXPECT_FALSE(timer.paused);
        }
        return frame < 3;
    };
    probe.app->mainLoop();
    EXPECT_EQ(probe.app->frameTimes.size(), 3u);
}

TEST_F(OpenglAppGL, DisplaySwitchGoesBothWaysAndSameModeChangesNothing) {
    Probe probe;
    probe.app->frameTime(0.25);
    probe.app->fullscreen(false);
    EXPECT_EQ(probe.app->frameTime(), 0.25);

    probe.app->fullscreen(true);
    EXPECT_TRUE(probe.app->fullscreen());
    EXPECT_EQ(probe.app->frameTime(), 0.0);
    probe.app->frameTime(0.25);
    probe.app->fullscreen(true);
    EXPECT_EQ(probe.app->frameTime(), 0.25);

    probe.app->fullscreen(false);
    EXPECT_FALSE(probe.app->fullscreen());
    EXPECT_EQ(probe.app->frameTime(), 0.0);
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(probe.app->sdlWindow(), &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
}

TEST_F(OpenglAppGL, FullScreenWithoutAPictureSizedModeScalesThePictureOverTheDesktop) {
    Probe probe;
    probe.app->noPictureSizedMode = true;
    probe.app->fullscreen(true);
    SDL_Window* const window = probe.app->sdlWindow();
    EXPECT_TRUE(probe.app->fullscreen());
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
    // The offscreen desktop is 1024 x 768: the picture fills it, 1.28 times its size.
    EXPECT_FLOAT_EQ(probe.app->picture().scale(), 1.28f);
    EXPECT_EQ(probe.app->picture().box(), Quib::AABB2<int>(0, 0, 1024, 768));
    EXPECT_FLOAT_EQ(probe.app->hwnd()->pictureScale, 1.28f);

    // Mouse positions reach the application in the picture's pixels; other messages as sent.
    SendMessage(probe.app->hwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(512, 384));
    SendMessage(probe.app->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(1023, 767));
    SendMessage(probe.app->hwnd(), WM_KEYDOWN, 0, MAKELPARAM(512, 384));
    EXPECT_EQ(probe.app->params,
              (std::vector<LPARAM>{MAKELPARAM(400, 300), MAKELPARAM(799, 599), MAKELPARAM(512, 384)}));

    // Back in a window the picture is 1:1 again.
    probe.app->params.clear();
    probe.app->fullscreen(false);
    EXPECT_FLOAT_EQ(probe.app->picture().scale(), 1.0f);
    EXPECT_FLOAT_EQ(probe.app->hwnd()->pictureScale, 1.0f);
    SendMessage(probe.app->hwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(512, 384));
    EXPECT_EQ(probe.app->params, std::vector<LPARAM>{MAKELPARAM(512, 384)});
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
}

TEST_F(OpenglAppGL, AFailedDisplaySwitchThrowsAndKeepsTheModeItWasIn) {
    Probe probe;
    probe.app->failDisplaySwitch = true;
    EXPECT_THROW(probe.app->fullscreen(true), std::runtime_error);
    EXPECT_FALSE(probe.app->fullscreen());
    EXPECT_EQ(SDL_GetWindowFlags(probe.app->sdlWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(OpenglAppGL, StartsInFullScreenWhenAskedTo) {
    struct FullScreen : OpenglApp {
        FullScreen() : OpenglApp("Quellaris", 800, 600, true) {}
    };
    FullScreen app;
    EXPECT_TRUE(app.fullscreen());
    EXPECT_NE(SDL_GetWindowFlags(app.sdlWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    SDL_DisplayMode mode;
    ASSERT_EQ(SDL_GetWindowDisplayMode(app.sdlWindow(), &mode), 0);
    EXPECT_EQ(mode.w, 800);
    EXPECT_EQ(mode.h, 600);
}

TEST_F(OpenglAppGL, ConstructorFailureIsReportedAndTheProgramEndsWithAFailure) {
    struct Boom : OpenglApp {
        Boom() : OpenglApp("Quellaris", 800, 600, false) { throw std::runtime_error("boom"); }
    };
    int result = -1;
    const std::string err = captureRun([] { return std::make_unique<Boom>(); }, result);
    EXPECT_EQ(err, "Runtime error: boom\n");
    EXPECT_EQ(result, 1);
}

TEST_F(OpenglAppGL, MainLoopFailureIsReportedAndTheAppDeleted) {
    static bool destroyed = false;
    struct Failing : ProbeApp {
        Failing() : ProbeApp(std::make_unique<FakeEventSource>()) {}
        ~Failing() override { destroyed = true; }
        void init() override { throw std::logic_error("no init"); }
    };
    destroyed = false;
    int result = -1;
    const std::string err = captureRun([] { return std::make_unique<Failing>(); }, result);
    EXPECT_EQ(err, "Runtime error: no init\n");
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(destroyed);
}
