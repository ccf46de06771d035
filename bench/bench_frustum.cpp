#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/geometry.h"

namespace {

// The play view: 90 degrees, 4:3, near 0.01, far 16, from inside the 32-cell field.
void playProjection(double out[16]) {
    const double f = 1.0 / std::tan(90.0 * 3.14159265358979323846 / 360.0);
    const double nearClip = 0.01;
    const double farClip = 16.0;
    for (int i = 0; i < 16; ++i) {
        out[i] = 0.0;
    }
    out[0] = f / (4.0 / 3.0);
    out[5] = f;
    out[10] = (farClip + nearClip) / (nearClip - farClip);
    out[11] = -1.0;
    out[14] = 2.0 * farClip * nearClip / (nearClip - farClip);
}

Matrix playModelview() {
    Matrix turn;
    turn.rotation(Vector3<float>(0.3f, 0.7f, 0.0f));
    Matrix move;
    move.translation(Vector3<float>(-16, -16, -16));
    return move * turn;
}

}  // namespace

static void BM_GetFrustum(benchmark::State& state) {
    double projection[16];
    playProjection(projection);
    const Matrix modelview = playModelview();
    float planes[6][4];
    for (auto _ : state) {
        GetFrustum(projection, modelview.data(), planes);
        benchmark::DoNotOptimize(planes);
    }
}
BENCHMARK(BM_GetFrustum);

// Every cell of the field tested once: the worst case of the culling walk, with a mix of
// boxes outside, crossing and inside.
static void BM_AABBinFrustumCells(benchmark::State& state) {
    double projection[16];
    playProjection(projection);
    const Matrix modelview = playModelview();
    float planes[6][4];
    GetFrustum(projection, modelview.data(), planes);

    std::vector<AABB3<int> > cells;
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < 32; ++y) {
            for (int z = 0; z < 32; ++z) {
                cells.emplace_back(x, y, z, x + 1, y + 1, z + 1);
            }
        }
    }
    for (auto _ : state) {
        int visible = 0;
        for (const AABB3<int>& cell : cells) {
            visible += AABBinFrustum(cell, planes);
        }
        benchmark::DoNotOptimize(visible);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(cells.size()));
}
BENCHMARK(BM_AABBinFrustumCells);
