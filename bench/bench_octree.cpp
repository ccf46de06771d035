#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <random>
#include <string>

#include "platform/geometry.h"
#include "platform/matrix.h"
#include "bench/bench_cuberenderer.h"
#include "world/cuberenderer.h"
#include "world/octree.h"
#include "world/octreewalk.h"

using Vortel::CubeRenderer;
using Vortel::OcTree;
typedef Vector3<int> Cell;

namespace {

const char* const UNIT_CUBE =
    "v -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 0.5 -0.5\n"
    "v -0.5 -0.5 0.5\nv 0.5 -0.5 0.5\nv 0.5 0.5 0.5\nv -0.5 0.5 0.5\n"
    "vt 0 0\nvn 0 0 1\n"
    "f 1/1/1 4/1/1 3/1/1\nf 1/1/1 3/1/1 2/1/1\nf 5/1/1 6/1/1 7/1/1\nf 5/1/1 7/1/1 8/1/1\n"
    "f 1/1/1 5/1/1 8/1/1\nf 1/1/1 8/1/1 4/1/1\nf 2/1/1 3/1/1 7/1/1\nf 2/1/1 7/1/1 6/1/1\n"
    "f 1/1/1 2/1/1 6/1/1\nf 1/1/1 6/1/1 5/1/1\nf 4/1/1 8/1/1 7/1/1\nf 4/1/1 7/1/1 3/1/1\n";

// A renderer whose meshes are written to a folder of the benchmark's own; the walk only
// batches, so any cube mesh will do.
CubeRenderer& renderer() {
    return benchCubeRenderer(UNIT_CUBE);
}

// Trail cubes of both kinds at the given share of the cells, cooled long ago.
void fill(OcTree& tree, int percent, unsigned char trail) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> roll(0, 99);
    for (int z = 0; z < tree.size(); ++z) {
        for (int y = 0; y < tree.size(); ++y) {
            for (int x = 0; x < tree.size(); ++x) {
                if (roll(random) < percent) {
                    tree.setTerminalNode(Cell(x, y, z), OcTree::CELL_SOLID_1 + (x & 1), trail);
                }
            }
        }
    }
}

unsigned char makeTrail(CubeRenderer& cubes) {
    const unsigned char start = cubes.createColorTriplet(RGBA<float>(1, 0, 0, 1), RGBA<float>(0.8f, 0, 0, 1),
                                                         RGBA<float>(0.6f, 0, 0, 1));
    const unsigned char end = cubes.createColorTriplet(RGBA<float>(0, 0, 1, 1), RGBA<float>(0, 0, 0.8f, 1),
                                                       RGBA<float>(0, 0, 0.6f, 1));
    return cubes.createTrailColors(start, end);
}

// The play view: 90 degrees, 4:3, near 0.01, far 16, from the middle of the field, for the
// copy of the field at the offset.
void playFrustum(float planes[6][4], const Vector3<float>& copy) {
    const double f = 1.0 / std::tan(90.0 * 3.14159265358979323846 / 360.0);
    const double nearClip = 0.01;
    const double farClip = 16.0;
    double projection[16] = {};
    projection[0] = f / (4.0 / 3.0);
    projection[5] = f;
    projection[10] = (farClip + nearClip) / (nearClip - farClip);
    projection[11] = -1.0;
    projection[14] = 2.0 * farClip * nearClip / (nearClip - farClip);
    Matrix turn;
    turn.rotation(Vector3<float>(0.3f, 0.7f, 0.0f));
    Matrix move;
    move.translation(Vector3<float>(copy.x - 16.5f, copy.y - 16.5f, copy.z - 16.5f));
    const Matrix modelview = move * turn;
    GetFrustum(projection, modelview.data(), planes);
}

void playFrustum(float planes[6][4]) { playFrustum(planes, Vector3<float>()); }

void everythingFrustum(float planes[6][4]) {
    for (int i = 0; i < 6; ++i) {
        planes[i][0] = planes[i][1] = planes[i][2] = 0.0f;
        planes[i][3] = 1.0f;
    }
}

void walkField(benchmark::State& state, void (*frustumOf)(float[6][4])) {
    CubeRenderer& cubes = renderer();
    OcTree tree(5, cubes);
    fill(tree, static_cast<int>(state.range(0)), makeTrail(cubes));
    float planes[6][4];
    frustumOf(planes);
    double time = 10.0;
    for (auto _ : state) {
        cubes.clearArray();
        benchmark::DoNotOptimize(&tree.walk(planes, time));
        time += 0.001;
    }
    state.counters["faces"] = cubes.batch().vertexCount() / 4;
    state.counters["cells"] = tree.root()->count();
}

}  // namespace

// The frame's walks of the 27 wrapped copies round an eye in the middle of the field (its
// cell and the cells round it empty), without GL: range(1) 0 batches every uncovered face,
// 1 first finds the hidden ones for all copies at once.
static void BM_WalkWrappedCopies(benchmark::State& state) {
    CubeRenderer& cubes = renderer();
    OcTree tree(5, cubes);
    fill(tree, static_cast<int>(state.range(0)), makeTrail(cubes));
    for (int z = 15; z <= 17; ++z) {
        for (int y = 15; y <= 17; ++y) {
            for (int x = 15; x <= 17; ++x) {
                tree.setTerminalNode(Cell(x, y, z), OcTree::SET_CLEAR, 0);
            }
        }
    }
    tree.occlusionCulling(state.range(1) != 0);
    tree.wrappedDrawing(true);
    float planes[27][6][4];
    for (int copy = 0; copy < 27; ++copy) {
        playFrustum(planes[copy], Vector3<float>(32.0f * (copy % 3 - 1), 32.0f * (copy / 3 % 3 - 1),
                                                 32.0f * (copy / 9 - 1)));
    }
    double time = 10.0;
    int faces = 0;
    for (auto _ : state) {
        faces = 0;
        for (const auto& copy : planes) {
            cubes.clearArray();
            faces += tree.walk(copy, time).facesBatched();
        }
        time += 0.001;
    }
    state.counters["faces"] = faces;
}
BENCHMARK(BM_WalkWrappedCopies)
    ->ArgNames({"fill", "hidden"})
    ->Args({30, 0})
    ->Args({50, 0})
    ->Args({30, 1})
    ->Args({50, 1})
    ->Unit(benchmark::kMicrosecond);

static void BM_WalkPlayView(benchmark::State& state) { walkField(state, playFrustum); }
BENCHMARK(BM_WalkPlayView)->Arg(10)->Arg(30)->Arg(50)->Unit(benchmark::kMicrosecond);

static void BM_WalkEverything(benchmark::State& state) { walkField(state, everythingFrustum); }
BENCHMARK(BM_WalkEverything)->Arg(10)->Arg(30)->Arg(50)->Unit(benchmark::kMicrosecond);

// A trail cube laid and cleared again, at cells spread over the field.
static void BM_SetTerminalNodePlaceAndClear(benchmark::State& state) {
    OcTree tree(5, renderer());
    fill(tree, 30, 0);
    std::mt19937 random(99);
    std::uniform_int_distribution<int> coordinate(0, 31);
    Cell cells[256];
    for (Cell& c : cells) {
        c.set(coordinate(random), coordinate(random), coordinate(random));
        tree.setTerminalNode(c, OcTree::SET_CLEAR, 0);
    }
    unsigned int i = 0;
    for (auto _ : state) {
        const Cell& c = cells[i++ & 255];
        benchmark::DoNotOptimize(tree.setTerminalNode(c, OcTree::CELL_SOLID_1, 3));
        benchmark::DoNotOptimize(tree.setTerminalNode(c, OcTree::SET_CLEAR, 0));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_SetTerminalNodePlaceAndClear);

static void BM_GetSurround(benchmark::State& state) {
    OcTree tree(5, renderer());
    fill(tree, 30, 0);
    int x = 0;
    int count = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tree.getSurround(Cell(x++, 7, 31), Cell(1, 0, 0), Cell(0, 1, 0), &count));
    }
}
BENCHMARK(BM_GetSurround);

// Radius 8 (17 x 17 x 17 cells) into a solid block; the block is laid again between runs.
static void BM_MeltRadius8(benchmark::State& state) {
    OcTree tree(5, renderer());
    const Cell centre(16, 16, 16);
    for (auto _ : state) {
        state.PauseTiming();
        for (int z = 8; z <= 24; ++z) {
            for (int y = 8; y <= 24; ++y) {
                for (int x = 8; x <= 24; ++x) {
                    tree.setTerminalNode(Cell(x, y, z), OcTree::SET_CLEAR, 0);
                    tree.setTerminalNode(Cell(x, y, z), OcTree::CELL_SOLID_1, 0);
                }
            }
        }
        state.ResumeTiming();
        tree.melt(centre, 8, false);
    }
    state.SetItemsProcessed(state.iterations() * 17 * 17 * 17);
}
BENCHMARK(BM_MeltRadius8)->Unit(benchmark::kMicrosecond);

static void BM_MeltAllHalfFull(benchmark::State& state) {
    OcTree tree(5, renderer());
    for (auto _ : state) {
        state.PauseTiming();
        tree.root()->clear(0.0);
        fill(tree, 50, 0);
        state.ResumeTiming();
        tree.meltAll();
    }
}
BENCHMARK(BM_MeltAllHalfFull)->Unit(benchmark::kMicrosecond);

// The aim ray along a row of a field filled to 30 %.
static void BM_RayHitAlongARow(benchmark::State& state) {
    OcTree tree(5, renderer());
    fill(tree, 30, 0);
    const Ray3<float> ray{Vector3<float>(-0.5f, 16.5f, 16.5f), Vector3<float>(1.0f, 0.02f, 0.01f)};
    std::list<OcTree::NodeHitInfo> hits;
    for (auto _ : state) {
        hits.clear();
        tree.root()->rayHit(ray, hits);
        benchmark::DoNotOptimize(hits.size());
    }
    state.counters["hits"] = static_cast<double>(hits.size());
}
BENCHMARK(BM_RayHitAlongARow)->Unit(benchmark::kMicrosecond);
