#include <benchmark/benchmark.h>

#include <algorithm>
#include <list>
#include <vector>

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

// As the play frame does it: one new step, then the match, with the caches holding what
// the rest of a frame left in them rather than the library and the track. Between matches a
// frame's worth of other memory (the cube batch alone writes megabytes) is streamed through,
// off the clock.
void matchAfterAFrame(benchmark::State& state, Vortel::MovementTrack track) {
    Vortel::TrickLibrary library;
    Vortel::addBuiltInTricks(library);
    Vortel::Trick out;
    std::vector<unsigned char> frameTraffic(4 << 20);
    const std::list<Vortel::MovementTrack::Step> start = track.steps();
    unsigned int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::fill(frameTraffic.begin(), frameTraffic.end(), static_cast<unsigned char>(round));
        benchmark::ClobberMemory();
        // The track is set back every few rounds so that it keeps its length and shape.
        if (++round % 8 == 0) {
            track.steps() = start;
        }
        state.ResumeTiming();
        track.step(Vortel::MovementTrack::MOVE_STRAIGHT, 16);
        benchmark::DoNotOptimize(track.match(library, out));
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK_CAPTURE(matchAfterAFrame, busy_track, busyTrack());
BENCHMARK_CAPTURE(matchAfterAFrame, straight_track, straightTrack());
