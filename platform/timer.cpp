#include "platform/timer.h"

#include <chrono>

bool Timer::pausedGlobal = false;
double Timer::globalUnpauseTime = 0.0;
double Timer::frequency = 0.0;

namespace {

using Clock = std::chrono::steady_clock;

double clockFrequency() {
    return static_cast<double>(Clock::period::den) / static_cast<double>(Clock::period::num);
}

}  // namespace

Timer::Timer() : delta(0.0), elapsed(0.0), lastTime(0.0), paused(false) {
    frequency = clockFrequency();
    lastTime = getTime();
}

Timer::~Timer() {}

double Timer::getTime() {
    return static_cast<double>(Clock::now().time_since_epoch().count()) / clockFrequency();
}

void Timer::tick() {
    // Time spent in a global pause is not counted.
    if (globalUnpauseTime > lastTime) {
        lastTime = globalUnpauseTime;
    }
    const double now = getTime();
    if (paused || pausedGlobal) {
        delta = 0.0;
    } else {
        // A clock reading earlier than the last tick counts as no time at all.
        delta = lastTime > now ? 0.0 : now - lastTime;
        elapsed += delta;
    }
    lastTime = now;
}

void Timer::reset(double e) {
    delta = 0.0;
    lastTime = getTime();
    elapsed = e;
    paused = false;
}

void Timer::pause(bool p) {
    paused = p;
    if (!p) {
        lastTime = getTime();
    }
}

void Timer::pauseAll(bool p) {
    pausedGlobal = p;
    if (!p) {
        globalUnpauseTime = getTime();
    }
}

bool Timer::pauseAll() {
    return pausedGlobal;
}
