#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/crand.h"
#include "world/cubebatch.h"

namespace {

const int EDGE = 32;

struct CellToDraw {
    AABB3<float> box;
    unsigned char hiddenFaces;
};

// The solid cells of a wrapping 32^3 field filled half at random, with the neighbour bits the
// playfield keeps; cells covered on all six sides are left out, as the playfield walk does.
std::vector<CellToDraw> halfFilledField() {
    crand::srand(7);
    std::vector<bool> solid(EDGE * EDGE * EDGE);
    for (std::size_t i = 0; i < solid.size(); ++i) {
        solid[i] = crand::rand() % 2 == 0;
    }
    const auto at = [&solid](int x, int y, int z) {
        return solid[(((z + EDGE) % EDGE) * EDGE + (y + EDGE) % EDGE) * EDGE + (x + EDGE) % EDGE];
    };
    std::vector<CellToDraw> cells;
    for (int z = 0; z < EDGE; ++z) {
        for (int y = 0; y < EDGE; ++y) {
            for (int x = 0; x < EDGE; ++x) {
                if (!at(x, y, z)) {
                    continue;
                }
                const unsigned char bits = (at(x + 1, y, z) ? 1 : 0) | (at(x - 1, y, z) ? 2 : 0) |
                                           (at(x, y + 1, z) ? 4 : 0) | (at(x, y - 1, z) ? 8 : 0) |
                                           (at(x, y, z + 1) ? 16 : 0) | (at(x, y, z - 1) ? 32 : 0);
                if (bits != 63) {
                    cells.push_back(CellToDraw{AABB3<float>(x, y, z, x + 1, y + 1, z + 1), bits});
                }
            }
        }
    }
    return cells;
}

const RGBA<unsigned char> SHADES[3] = {RGBA<unsigned char>(200, 40, 40, 255), RGBA<unsigned char>(170, 30, 30, 255),
                                       RGBA<unsigned char>(140, 20, 20, 255)};

}  // namespace

// One frame's batching of a half-filled field, hidden faces culled.
static void BM_AppendHalfFilledField(benchmark::State& state) {
    const std::vector<CellToDraw> cells = halfFilledField();
    Vortel::CubeBatch batch;
    int faces = 0;
    for (auto _ : state) {
        batch.clear();
        for (const CellToDraw& cell : cells) {
            batch.append(cell.box, cell.hiddenFaces, SHADES, 2.5f);
        }
        faces = batch.vertexCount() / 4;
        benchmark::DoNotOptimize(batch.vertices());
        benchmark::ClobberMemory();
    }
    state.counters["cubes"] = static_cast<double>(cells.size());
    state.counters["faces"] = faces;
    state.counters["faces/s"] = benchmark::Counter(static_cast<double>(faces), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AppendHalfFilledField)->Unit(benchmark::kMicrosecond);

// The floor: a plain copy of the same bytes that the batching above writes, from a buffer
// as large, so both pay the same memory traffic.
static void BM_CopySameBytesFloor(benchmark::State& state) {
    Vortel::CubeBatch probe;
    for (const CellToDraw& cell : halfFilledField()) {
        probe.append(cell.box, cell.hiddenFaces, SHADES, 2.5f);
    }
    const std::size_t bytes = static_cast<std::size_t>(probe.vertexCount()) * sizeof(Vortel::CubeBatch::Vertex);
    std::vector<unsigned char> from(bytes, 7);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.counters["faces/s"] =
        benchmark::Counter(static_cast<double>(probe.vertexCount() / 4), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CopySameBytesFloor)->Unit(benchmark::kMicrosecond);
