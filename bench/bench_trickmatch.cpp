#include <benchmark/benchmark.h>

#include "actors/builtintricks.h"
#include "actors/movementtrack.h"
#include "actors/trick.h"
#include "actors/tricklibrary.h"

// The play frame matches the craft's full track against the whole library every time the
// craft enters a cell; chasers' tracks are as long.

namespace {

// A 20-step flight with turns round obstacles, ending in the middle of a BRIDGE.
Vortel::MovementTrack busyTrack() {
    Vortel::MovementTrack track;
    const unsigned int steps[][2] = {{16, 0}, {1, 16}, {16, 1}, {1, 0},  {16, 1}, {1, 0}, {16, 2},
                                     {2, 0},  {16, 0}, {4, 16}, {8, 0},  {16, 8}, {8, 0}, {4, 8},
                                     {16, 0}, {16, 0}, {16, 0}, {4, 16}, {8, 0},  {16, 8}};
    for (const auto& s : steps) {
        track.step(s[0], s[1]);
    }
    return track;
}

Vortel::MovementTrack straightTrack() {
    Vortel::MovementTrack track;
    for (int i = 0; i < 20; ++i) {
        track.step(Vortel::MovementTrack::MOVE_STRAIGHT, 0);
    }
    return track;
}

void matchLibrary(benchmark::State& state, Vortel::MovementTrack track) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    // One trick reused as the target, as a caller that keeps it would: copying into it
    // then reuses its nodes and string storage.
    Vortel::Trick out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(track.match(library, out));
        benchmark::ClobberMemory();
    }
}

void matchOnePattern(benchmark::State& state) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    const Vortel::Trick& longest = library.tricks().back();
    Vortel::MovementTrack track = busyTrack();
    for (auto _ : state) {
        benchmark::DoNotOptimize(track.match(longest));
    }
}

}  // namespace

BENCHMARK_CAPTURE(matchLibrary, busy_track, busyTrack());
BENCHMARK_CAPTURE(matchLibrary, straight_track, straightTrack());
BENCHMARK(matchOnePattern);
