// The whole play frame of the real game on the GL of this machine, at 800 x 600: the game
// loaded as the player starts it, a game begun, then the scene built through the game's own
// members (the field filled at random, ten chasers, 5,000 live sparks in front of the eye,
// the cockpit HUD), each frame run as the main loop runs it, swapped and finished before the
// clock stops. The parts alone (the playfield, the sparks, the chasers, the HUD over an empty
// field) and the floor of a frame that only clears and swaps run in the same process, and
// so does the burst of ten chaser explosions an EMP blast makes, timed frame by frame.
// Run it with SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null; scripts/bench_wholeframe.sh runs
// three processes and reports the minimum and median frames per second of each case.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <list>
#include <memory>
#include <vector>

#include "actors/bot.h"
#include "game/game.h"
#include "platform/crand.h"
#include "world/cuberenderer.h"
#include "world/explosion.h"

namespace {

using Vortel::Game;
using Vortel::OcTree;
using Vortel::Particle;
typedef Vector3<int> Cell;

// The frame time every frame is stepped with, so that each process steps the same world.
constexpr double FRAME_TIME = 1.0 / 120.0;
constexpr int CHASERS = 10;
constexpr int SPARKS = 5000;

class BenchGame : public Game {
public:
    void frameTime(double t) { _frameTime = t; }
    void swap() { swapBuffers(); }
};

// A burst of sparks that neither fades nor ends, so the count stays put for the whole run.
class SteadyBlast : public Vortel::Explosion {
public:
    SteadyBlast(const std::list<Particle::CreateData>& templates, const Vector3<float>& at)
        : Explosion(templates, at) {
        _time = NEVER_ENDS;
    }
};

// The game started and loaded to its main menu, once for the process; null without a game
// folder or a window.
BenchGame* loadedGame() {
    static std::unique_ptr<BenchGame> made;
    static bool tried = false;
    if (tried) {
        return made.get();
    }
    tried = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    if (chdir(QUELLARIS_RUN_DIR) != 0) {
        return nullptr;
    }
    try {
        made = std::make_unique<BenchGame>();
        made->init();
        made->splashZindle();
        made->splashQuendle();
        made->load();
        made->frameTime(0.001);
        for (int i = 0; i < 200000 && made->_state == Game::STATE_LOADING; ++i) {
            made->frame();
            made->swap();
            glFinish();
        }
    } catch (const std::exception&) {
        made.reset();
    }
    if (made && made->_state != Game::STATE_MAIN_MENU) {
        made.reset();
    }
    return made.get();
}

struct Scene {
    int fill;  // percent of the field's cells filled
    bool reflections;
    bool chasers;
    bool sparks;
    bool hud;  // off: the frame's world only, without the 2D pass
};

// Sparks as a cube hit makes them, big and small in two textures, spread in front of the
// craft, standing still.
std::list<Particle::CreateData> sparkSets(Game& g, const Vector3<float>& at, int count) {
    Particle::CreateData big;
    big.count = count / 2;
    big.posBase = at;
    big.posRange = Vector3<float>(5.0f, 4.0f, 5.0f);
    big.sizeBase = 0.4f;
    big.sizeRange = 0.3f;
    big.colorBase = RGBA<float>(1.0f, 0.3f, 0.1f, 0.7f);
    big.colorRange = RGBA<float>(0.3f, 0.3f, 0.1f, 0.2f);
    big.texId = static_cast<int>(g._bitmapManager.get("particle1.png")->texture());
    Particle::CreateData small = big;
    small.count = count - big.count;
    small.sizeBase = 0.07f;
    small.sizeRange = 0.02f;
    small.colorBase = RGBA<float>(0.2f, 0.2f, 0.2f, 1.0f);
    small.texId = static_cast<int>(g._bitmapManager.get("particle2.png")->texture());
    return {big, small};
}

// A game begun as from the menu, then the scene: the craft held still in the field's middle
// looking along -z (so the same picture every frame but for the chasers), the field filled
// at random round it, the chasers brought in as a stage brings them, the sparks ahead.
void buildScene(BenchGame& g, const Scene& scene) {
    g.startGame();
    crand::srand(1234);
    const Cell eye(16, 16, 16);
    g._player.position(eye);
    g._player.orientation(Cell::Z_MINUS);
    g._player.up(Cell::Y_PLUS);
    g._playerActive = false;
    g._player._hitpoints = 1.0e9f;
    g._cockpitHud = true;
    g._bottomBar.set(0.0f, 100000.0f);
    const int size = g._octree.size();
    for (int z = 0; z < size; ++z) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const bool nearEye = std::abs(x - eye.x) <= 1 && std::abs(y - eye.y) <= 1 && std::abs(z - eye.z) <= 1;
                if (!nearEye && crand::rand() % 100 < scene.fill) {
                    g._octree.setTerminalNode(Cell(x, y, z), OcTree::CELL_SOLID_1 + (x & 1), g._player._trailColor);
                }
            }
        }
    }
    // As the menu switches them, but without writing the settings file of the game folder.
    if (scene.reflections != g._trailReflection) {
        const float scale = g._trailReflectionColorScale;
        OcTree::cubeRenderer().scaleTrailColors(scene.reflections ? scale : 1.0f / scale);
        g._trailReflection = scene.reflections;
    }
    g._octree.renderReflections(g._trailReflection);
    g._waveBotCount = scene.chasers ? CHASERS : 0;
    if (scene.chasers) {
        for (int i = 0; i < CHASERS; ++i) {
            g.addBot();
        }
    }
    if (scene.sparks) {
        const Vector3<float> ahead(16.0f, 16.0f, 9.0f);
        for (int made = 0; made < SPARKS; made += Vortel::Explosion::MAX_PARTICLES) {
            g._explosions.push_back(new SteadyBlast(sparkSets(g, ahead, Vortel::Explosion::MAX_PARTICLES), ahead));
        }
    }
    // A few frames to settle the GL's caches. Each frame is finished: the offscreen GL would
    // otherwise keep every frame's vertices queued till a finish.
    g.frameTime(FRAME_TIME);
    for (int i = 0; i < 20; ++i) {
        g.frame();
        g.swap();
        glFinish();
    }
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Processor time of every thread of the process so far (the GL's own threads too), in
// milliseconds: the frame's work, less disturbed than the clock by a busy machine.
double processMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void report(benchmark::State& state, BenchGame& g, double startMilliseconds) {
    state.counters["fps"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["allThreadsMs"] =
        (processMilliseconds() - startMilliseconds) / static_cast<double>(state.iterations());
    state.counters["peakMB"] = peakMegabytes();
    int live = 0;
    for (const Vortel::Explosion* e : g._explosions) {
        live += e->numParticles();
    }
    state.counters["sparks"] = live;
    state.counters["chasers"] = static_cast<double>(g._bots.size());
    state.counters["cubes"] = g._octree.root()->count();
}

void runScene(benchmark::State& state, const Scene& scene) {
    BenchGame* const g = loadedGame();
    if (g == nullptr) {
        state.SkipWithError("no game folder or no GL window");
        return;
    }
    buildScene(*g, scene);
    const double start = processMilliseconds();
    for (auto _ : state) {
        if (scene.hud) {
            g->frame();
        } else {
            g->stepWorld();
            g->drawWorld();
            g->stepStages();
        }
        g->swap();
        glFinish();
    }
    report(state, *g, start);
    g->startGame();
}

}  // namespace

// The floor of every frame in the game's own window: clear colour and depth, swap, finish.
static void BM_ClearAndSwapFloor(benchmark::State& state) {
    BenchGame* const g = loadedGame();
    if (g == nullptr) {
        state.SkipWithError("no game folder or no GL window");
        return;
    }
    const double start = processMilliseconds();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        g->swap();
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["allThreadsMs"] = (processMilliseconds() - start) / static_cast<double>(state.iterations());
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(BM_ClearAndSwapFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole frame: range(0) percent filled, reflections on when range(1) is 1, ten chasers,
// 5,000 sparks and the HUD.
static void BM_WholeFrame(benchmark::State& state) {
    runScene(state, Scene{static_cast<int>(state.range(0)), state.range(1) != 0, true, true, true});
}
BENCHMARK(BM_WholeFrame)
    ->ArgNames({"fill", "reflections"})
    ->Args({0, 1})
    ->Args({5, 1})
    ->Args({10, 1})
    ->Args({30, 1})
    ->Args({50, 1})
    ->Args({50, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Each part alone in the same frame: the playfield (filled to range(0) percent, reflections
// on when range(1) is 1), the sparks, the chasers, the HUD; the rest of the frame is there
// but draws nothing.
static void BM_PlayfieldAlone(benchmark::State& state) {
    runScene(state, Scene{static_cast<int>(state.range(0)), state.range(1) != 0, false, false, false});
}
BENCHMARK(BM_PlayfieldAlone)
    ->ArgNames({"fill", "reflections"})
    ->Args({5, 1})
    ->Args({10, 1})
    ->Args({30, 1})
    ->Args({50, 1})
    ->Args({50, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

static void BM_SparksAlone(benchmark::State& state) { runScene(state, Scene{0, true, false, true, false}); }
BENCHMARK(BM_SparksAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_ChasersAlone(benchmark::State& state) { runScene(state, Scene{0, true, true, false, false}); }
BENCHMARK(BM_ChasersAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_HudAlone(benchmark::State& state) { runScene(state, Scene{0, true, false, false, true}); }
BENCHMARK(BM_HudAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// The empty world without the HUD: what the frame costs before any of the parts above.
static void BM_EmptyWorld(benchmark::State& state) { runScene(state, Scene{0, true, false, false, false}); }
BENCHMARK(BM_EmptyWorld)->Unit(benchmark::kMillisecond)->UseRealTime();

// Ten chaser explosions made in one frame, as an EMP blast that destroys ten chasers makes
// them, at 0 to 5 cells ahead of the craft and in view, on a field filled to 5 %, at the
// default effects density, with the HUD and the star field. One iteration is the burst's whole
// life, frame by frame; the counters are the median, 99th percentile and worst frame, and the
// processor time of all threads per frame.
static void BM_ExplosionBurst(benchmark::State& state) {
    BenchGame* const g = loadedGame();
    if (g == nullptr) {
        state.SkipWithError("no game folder or no GL window");
        return;
    }
    std::vector<double> frames;
    double cpu = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        buildScene(*g, Scene{5, true, false, false, true});
        crand::srand(4321);
        state.ResumeTiming();
        const double start = processMilliseconds();
        const Vector3<float> eye = g->_player._pos;
        for (int i = 0; i < CHASERS; ++i) {
            const float ahead = 5.0f * static_cast<float>(i) / static_cast<float>(CHASERS - 1);
            const float side = (i % 2 == 0 ? 0.4f : -0.4f) * ahead / 5.0f;
            g->addExplosion(Vector3<float>(eye.x + side, eye.y - side * 0.5f, eye.z - ahead));
        }
        while (!g->_explosions.empty()) {
            const auto before = std::chrono::steady_clock::now();
            g->frame();
            g->swap();
            glFinish();
            frames.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count());
        }
        cpu += processMilliseconds() - start;
        g->startGame();
    }
    if (frames.empty()) {
        return;
    }
    const double count = static_cast<double>(frames.size());
    std::sort(frames.begin(), frames.end());
    const auto at = [&](double share) {
        return frames[std::min(frames.size() - 1, static_cast<std::size_t>(share * count))];
    };
    state.counters["frames"] = count / static_cast<double>(state.iterations());
    state.counters["medianMs"] = at(0.5);
    state.counters["p99Ms"] = at(0.99);
    state.counters["worstMs"] = frames.back();
    state.counters["fps"] = 1000.0 / at(0.5);
    state.counters["allThreadsMs"] = cpu / count;
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(BM_ExplosionBurst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
