#include <gtest/gtest.h>

#include <thread>

#include "platform/timer.h"

namespace {

void sleepSeconds(double s) {
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

class TimerTest : public ::testing::Test {
protected:
    void TearDown() override { Timer::pauseAll(false); }
};

}  // namespace

TEST_F(TimerTest, CountsElapsedTime) {
    Timer t;
    sleepSeconds(0.02);
    t.tick();
    EXPECT_GE(t.delta, 0.015);
    EXPECT_DOUBLE_EQ(t.elapsed, t.delta);
    EXPECT_GT(Timer::frequency, 0.0);
}

TEST_F(TimerTest, ResetSetsElapsed) {
    Timer t;
    t.tick();
    t.reset(2.5);
    EXPECT_DOUBLE_EQ(t.elapsed, 2.5);
    EXPECT_DOUBLE_EQ(t.delta, 0.0);
    EXPECT_FALSE(t.paused);
}

// The paused spans below are made by moving lastTime back a long way instead of sleeping, so a
// busy machine cannot make the small remaining delta look like a counted pause.
TEST_F(TimerTest, PausedTimerKeepsElapsedAndSkipsThePausedSpan) {
    Timer t;
    t.reset(1.0);
    t.pause(true);
    t.lastTime -= 100.0;
    t.tick();
    EXPECT_DOUBLE_EQ(t.delta, 0.0);
    EXPECT_DOUBLE_EQ(t.elapsed, 1.0);
    t.lastTime -= 100.0;
    t.pause(false);
    t.tick();
    EXPECT_LT(t.delta, 50.0);
}

TEST_F(TimerTest, GlobalPauseIsNotCountedAfterUnpause) {
    Timer t;
    t.reset(0.0);
    Timer::pauseAll(true);
    EXPECT_TRUE(Timer::pauseAll());
    t.lastTime -= 100.0;
    t.tick();
    EXPECT_DOUBLE_EQ(t.delta, 0.0);
    t.lastTime -= 100.0;
    Timer::pauseAll(false);
    t.tick();
    EXPECT_LT(t.delta, 50.0);
    EXPECT_LT(t.elapsed, 50.0);
}

TEST_F(TimerTest, ClockBehindLastTickGivesNoTime) {
    Timer t;
    t.reset(3.0);
    t.lastTime = Timer::getTime() + 1000.0;
    t.tick();
    EXPECT_DOUBLE_EQ(t.delta, 0.0);
    EXPECT_DOUBLE_EQ(t.elapsed, 3.0);
}
