#ifndef QUELLARIS_PLATFORM_TIMER_H
#define QUELLARIS_PLATFORM_TIMER_H

// A stopwatch in seconds. Its owner ticks it once per frame and reads delta and elapsed.
// All timers share one global pause switch (used while the game is paused).
class Timer {
public:
    Timer();
    ~Timer();

    void tick();
    void reset(double elapsed);
    void pause(bool p);

    // Seconds since the clock's zero.
    static double getTime();
    static void pauseAll(bool p);
    static bool pauseAll();

    double delta;
    double elapsed;
    double lastTime;
    bool paused;

    static bool pausedGlobal;
    static double globalUnpauseTime;
    static double frequency;
};

#endif
