// The play frame's world step and stage step in a busy game: the craft flying into a
// half-filled field among ten chasers, at 60 frames a second. Run with
// SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null; the game runs in the built game folder.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "actors/bot.h"
#include "game/game.h"
#include "platform/crand.h"
#include "world/explosion.h"
#include "world/meshchrome.h"

namespace {

using Vortel::Game;
using Vortel::OcTree;

class BenchGame : public Game {
public:
    void frameTime(double t) { _frameTime = t; }
};

constexpr int CHASERS = 10;

void addChasersNear(Game& g, const Vector3<int>& centre) {
    for (int i = 0; i < CHASERS; ++i) {
        const Vector3<int> cell(centre.x + i % 4 - 2, centre.y + i / 4 - 1, centre.z - 3);
        g._bots.push_back(new Vortel::Bot("chaser", cell, Vector3<int>::X_PLUS, Vector3<int>::Y_PLUS, 7.5f, g._octree));
    }
}

std::unique_ptr<BenchGame> busyGame() {
    if (chdir(QUELLARIS_RUN_DIR) != 0) {
        return nullptr;
    }
    std::unique_ptr<BenchGame> g = std::make_unique<BenchGame>();
    g->_state = Game::STATE_PLAY;
    // The explosions' sparks find their textures as after loading.
    g->_bitmapManager.addPath("textures");
    g->_waveBotCount = CHASERS;
    g->_player._hitpoints = 1.0e9f;  // crashes go on without ending the game
    crand::srand(11);
    const int size = g->_octree.size();
    for (int z = 0; z < size; ++z) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (crand::rand() % 2 == 0) {
                    g->_octree.setTerminalNode(Vector3<int>(x, y, z), OcTree::CELL_SOLID_1, 0);
                }
            }
        }
    }
    addChasersNear(*g, Vector3<int>(16, 16, 16));
    g->frameTime(1.0 / 60.0);
    return g;
}

void BM_PlayFrameWorldAndStages(benchmark::State& state) {
    std::unique_ptr<BenchGame> g = busyGame();
    if (!g) {
        state.SkipWithError("no game folder");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(g->stepWorld());
        g->stepStages();
    }
    state.counters["liveChasers"] = static_cast<double>(
        std::count_if(g->_bots.begin(), g->_bots.end(), [](const Vortel::Bot* bot) { return !bot->dead(); }));
}
// Ten seconds of play a run: left to run on, the chasers die off and the craft settles into
// a tunnel of its own, and the frames measured would be those of an emptied scene.
BENCHMARK(BM_PlayFrameWorldAndStages)->Iterations(600)->Repetitions(5)->Unit(benchmark::kMicrosecond);

// A frame whose EMP blast takes all ten chasers round the craft: the blast, then the frame.
void BM_PlayFrameWithEmpOnTenChasers(benchmark::State& state) {
    std::unique_ptr<BenchGame> g = busyGame();
    if (!g) {
        state.SkipWithError("no game folder");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        g->clearBots();
        for (Vortel::Bot* bot : g->_bots) {
            delete bot;
        }
        g->_bots.clear();
        g->_deadBots.clear();
        g->_botInfoList.clear();
        g->_aimedBot = nullptr;
        g->_cameraSubject = &g->_player;
        for (Vortel::Explosion* explosion : g->_explosions) {
            delete explosion;
        }
        g->_explosions.clear();
        addChasersNear(*g, g->_player._cell);
        g->_liveBotCount = CHASERS;
        g->_bombs = 3;
        state.ResumeTiming();

        g->bomb(g->_player._cell, Vortel::Game::EMP_RADIUS);
        benchmark::DoNotOptimize(g->stepWorld());
        g->stepStages();
    }
}
BENCHMARK(BM_PlayFrameWithEmpOnTenChasers)->Unit(benchmark::kMicrosecond);

// One frame's aim ray without GL, the ray given: the 27 copies of the half-filled field and
// every chaser in each copy (the frame tests only the chasers it draws), then the nearest.
void BM_AimRayThroughCopiesAndChasers(benchmark::State& state) {
    std::unique_ptr<BenchGame> g = busyGame();
    if (!g) {
        state.SkipWithError("no game folder");
        return;
    }
    Vortel::MeshChrome* mesh = g->_meshChromeManager.get("mesh/shiva.obj");
    for (Vortel::Bot* bot : g->_bots) {
        bot->mesh(mesh);
    }
    g->updateCraftMatrices();
    // From beside the field's centre back through the chasers' row and on across the field.
    const float n = 1.0f / std::sqrt(1.0f + 0.04f + 0.01f);
    const Ray3<float> ray{Vector3<float>(16.2f, 16.1f, 20.0f), Vector3<float>(0.2f * n, 0.1f * n, -n)};
    const float edge = static_cast<float>(g->_octree.size());
    for (auto _ : state) {
        g->aimAlong(ray);
        for (int k = -1; k <= 1; ++k) {
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i) {
                    const Vector3<float> copy(i * edge, j * edge, k * edge);
                    g->aimRayAtCopy(copy);
                    for (Vortel::Bot* bot : g->_bots) {
                        g->aimRayAtChaser(*bot, copy);
                    }
                }
            }
        }
        g->endAimRay();
        benchmark::DoNotOptimize(g->_aimedBot);
    }
    state.counters["cells"] = static_cast<double>(g->_aimHits.size());
    state.counters["aimed"] = g->_aimedBot != nullptr ? 1.0 : 0.0;
}
BENCHMARK(BM_AimRayThroughCopiesAndChasers)->Unit(benchmark::kMicrosecond);

}  // namespace
