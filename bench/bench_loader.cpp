// Loading over the built game folder: the loader's whole run and each of its groups on its own,
// one loading-screen frame, and the main thread's frames while the loader runs beside them,
// none of which may wait for it. Each run starts from a fresh game, as loading happens once.
// Run with SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null; the game runs in the built game folder.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>

#include "game/game.h"

namespace {

using Vortel::Game;
using Clock = std::chrono::steady_clock;

class BenchGame : public Game {
public:
    using Game::loadBitmaps;
    using Game::loadMeshes;
    using Game::loadSkyBox;
    using Game::loadSoundGroup;

    void frameTime(double t) { _frameTime = t; }
    // One frame of each splash screen, as the player sees them before loading starts.
    void showSplashes() {
        frameTime(1.0 / 60.0);
        for (void (Game::*splash)() : {&Game::splashLumisk, &Game::splashZindle, &Game::splashQuendle}) {
            (this->*splash)();
            frame();
            finishFrame();
        }
    }
    // As the main loop ends a frame: the buffers swapped, and here the GL work done too.
    void finishFrame() {
        swapBuffers();
        glFinish();
    }
};

std::unique_ptr<BenchGame> freshGame() {
    if (chdir(QUELLARIS_RUN_DIR) != 0) {
        return nullptr;
    }
    return std::make_unique<BenchGame>();
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Times `work` on a fresh game each iteration, after `before` has brought it to that point.
// The runs below have fixed counts: left to choose, the library would make thousands of games
// for the short groups (their making is not timed), and one process cannot make windows with
// GL contexts without end.
template <typename Before, typename Work>
void timeOnFreshGames(benchmark::State& state, Before before, Work work) {
    std::unique_ptr<BenchGame> g;
    for (auto _ : state) {
        state.PauseTiming();
        g.reset();
        g = freshGame();
        if (!g) {
            state.SkipWithError("no game folder");
            return;
        }
        before(*g);
        state.ResumeTiming();
        work(*g);
    }
}

void nothing(BenchGame&) {}

void BM_LoaderWholeRun(benchmark::State& state) {
    bool loaded = true;
    timeOnFreshGames(state, nothing, [&](BenchGame& g) {
        Game::loader(&g);
        loaded = loaded && g._loaded.load(std::memory_order_acquire);
    });
    if (!loaded) {
        state.SkipWithError("the loader failed");
    }
}
BENCHMARK(BM_LoaderWholeRun)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LoaderMeshes(benchmark::State& state) {
    timeOnFreshGames(state, nothing, [](BenchGame& g) { g.loadMeshes(); });
}
BENCHMARK(BM_LoaderMeshes)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_LoaderSounds(benchmark::State& state) {
    timeOnFreshGames(state, nothing, [](BenchGame& g) { g.loadSoundGroup(); });
}
BENCHMARK(BM_LoaderSounds)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LoaderBitmaps(benchmark::State& state) {
    timeOnFreshGames(state, nothing, [](BenchGame& g) { g.loadBitmaps(); });
}
BENCHMARK(BM_LoaderBitmaps)->Unit(benchmark::kMillisecond)->Iterations(30);

// The sky box comes after the bitmaps, whose group gives the texture folder.
void BM_LoaderSkyBox(benchmark::State& state) {
    timeOnFreshGames(state, [](BenchGame& g) { g.loadBitmaps(); }, [](BenchGame& g) { g.loadSkyBox(); });
}
BENCHMARK(BM_LoaderSkyBox)->Unit(benchmark::kMillisecond)->Iterations(30);

// One frame of the loading screen with the whole progress text, the loader not running.
void BM_LoadingScreenFrame(benchmark::State& state) {
    std::unique_ptr<BenchGame> g = freshGame();
    if (!g) {
        state.SkipWithError("no game folder");
        return;
    }
    g->init();
    g->_state = Game::STATE_LOADING;
    g->_loadingLog << "Loading meshes...OK\nLoading sounds...OK\nLoading bitmaps...OK\nLoading skybox...OK\n";
    g->frameTime(1.0 / 60.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(g->frameLoading());
        glFinish();
    }
}
BENCHMARK(BM_LoadingScreenFrame)->Unit(benchmark::kMicrosecond);

// The main thread's frames from the start of loading to the main menu, after the splash
// screens, back to back as the main loop runs them, each given the length of the one before.
// The longest frame the loader runs beside is the figure that counts; the one that finds the
// loader done also makes the textures and display lists and sets up the menus, and is counted
// apart.
void BM_MainThreadWhileLoading(benchmark::State& state) {
    double longestLoadingFrame = 0.0;
    double longestAfterLoadFrame = 0.0;
    double frames = 0.0;
    const auto splashesShown = [](BenchGame& g) {
        g.init();
        g.showSplashes();
    };
    timeOnFreshGames(state, splashesShown, [&](BenchGame& g) {
        g.load();
        double last = 1000.0 / 60.0;
        while (g._state == Game::STATE_LOADING) {
            const Clock::time_point start = Clock::now();
            g.frameTime(last / 1000.0);
            try {
                g.frame();
            } catch (const std::exception& e) {
                state.SkipWithError(e.what());
                return;
            }
            g.finishFrame();
            last = millisecondsSince(start);
            double& longest = g._state == Game::STATE_LOADING ? longestLoadingFrame : longestAfterLoadFrame;
            longest = std::max(longest, last);
            frames += 1.0;
        }
    });
    state.counters["longest_loading_frame_ms"] = longestLoadingFrame;
    state.counters["after_load_frame_ms"] = longestAfterLoadFrame;
    state.counters["frames"] = benchmark::Counter(frames, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MainThreadWhileLoading)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
