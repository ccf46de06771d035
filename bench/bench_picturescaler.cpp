// What full screen on a desktop without an 800 x 600 mode adds to every frame: the game's
// 800 x 600 picture copied into a texture and drawn back scaled over the whole screen, at
// common desktop sizes, on the GL of this machine, finished before the clock stops. The floor
// of a frame that only finishes runs beside it. Run it with SDL_VIDEODRIVER=offscreen.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>

#include "platform/picturescaler.h"

namespace {

// A hidden window of the screen's size with a current GL context, for one benchmark run.
class Screen {
public:
    Screen(int width, int height) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        _window = SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        _context = _window != nullptr ? SDL_GL_CreateContext(_window) : nullptr;
    }
    ~Screen() {
        if (_context != nullptr) {
            SDL_GL_DeleteContext(_context);
        }
        if (_window != nullptr) {
            SDL_DestroyWindow(_window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    bool ready() const { return _context != nullptr; }

private:
    SDL_Window* _window = nullptr;
    SDL_GLContext _context = nullptr;
};

void BM_PresentScaled(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Screen screen(width, height);
    if (!screen.ready()) {
        state.SkipWithError("no GL context");
        return;
    }
    glViewport(0, 0, 800, 600);
    glClearColor(0.3f, 0.5f, 0.7f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    PictureScaler scaler;
    const PictureFit fit(800, 600, width, height);
    for (auto _ : state) {
        scaler.present(fit);
        glFinish();
    }
    scaler.release();
}
BENCHMARK(BM_PresentScaled)->Args({1024, 768})->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_FinishOnly(benchmark::State& state) {
    Screen screen(800, 600);
    if (!screen.ready()) {
        state.SkipWithError("no GL context");
        return;
    }
    for (auto _ : state) {
        glFinish();
    }
}
BENCHMARK(BM_FinishOnly)->Unit(benchmark::kMillisecond);

}  // namespace
