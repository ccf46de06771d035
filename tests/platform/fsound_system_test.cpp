#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "platform/soundpcm.h"
#include "platform/soundsystem.h"

// Runs on the silent output the tests choose (ALSOFT_DRIVERS=null), which still plays in real time.

namespace {

SoundPcm silence(double seconds) {
    SoundPcm pcm;
    pcm.channels = 1;
    pcm.bits = 16;
    pcm.rate = 44100;
    pcm.bytes.assign(static_cast<std::size_t>(seconds * pcm.rate) * 2, 0);
    return pcm;
}

// The mixer runs on its own thread, which a loaded machine may hold back for a while: the
// 0.05 s sound is given up to 10 s to end.
bool endsWithin10Seconds(const SoundSystem& system, int channel) {
    for (int i = 0; i < 1000 && system.isPlaying(channel); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !system.isPlaying(channel);
}

class SoundSystemTest : public ::testing::Test {
protected:
    void open(int voices) {
        system = SoundSystem::open(44100, voices);
        ASSERT_NE(system, nullptr);
        loop = system->addSample(silence(1.0), true, false);
        shortOne = system->addSample(silence(0.05), false, false);
        placed = system->addSample(silence(1.0), false, true);
        ASSERT_TRUE(loop && shortOne && placed);
    }

    std::unique_ptr<SoundSystem> system;
    SoundSample* loop = nullptr;
    SoundSample* shortOne = nullptr;
    SoundSample* placed = nullptr;
};

}  // namespace

TEST_F(SoundSystemTest, AStaleHandleDoesNotTouchTheSoundThatTookItsVoice) {
    open(1);
    const float where[3] = {1.0f, 2.0f, 3.0f};
    const int old = system->play(placed);
    ASSERT_GE(old, 0);
    system->stopAll();
    EXPECT_FALSE(system->isPlaying(old));

    const int current = system->play(placed);
    ASSERT_GE(current, 0);
    EXPECT_NE(current, old);
    EXPECT_FALSE(system->setVolume(old, 0));
    EXPECT_FALSE(system->setFrequency(old, 1000));
    EXPECT_FALSE(system->place(old, where, nullptr));
    EXPECT_FALSE(system->setPaused(old, true));
    EXPECT_FALSE(system->stop(old));
    EXPECT_TRUE(system->isPlaying(current));

    EXPECT_TRUE(system->setVolume(current, 128));
    EXPECT_TRUE(system->place(current, where, nullptr));
    EXPECT_TRUE(system->stop(current));
    EXPECT_FALSE(system->isPlaying(current));
    EXPECT_FALSE(system->stop(current));
    EXPECT_EQ(system->voicesInUse(), 0);
}

TEST_F(SoundSystemTest, ALoopPlaysOnAndAOneShotEnds) {
    open(4);
    const int looping = system->play(system->addSample(silence(0.05), true, false));
    const int once = system->play(shortOne);
    ASSERT_GE(looping, 0);
    ASSERT_GE(once, 0);
    EXPECT_TRUE(endsWithin10Seconds(*system, once));
    EXPECT_TRUE(system->isPlaying(looping));
    // A finished one-shot's handle may still be used until its voice plays something else,
    // but resuming it does not start it again.
    EXPECT_TRUE(system->setPaused(once, false));
    EXPECT_FALSE(system->isPlaying(once));
    EXPECT_EQ(system->voicesInUse(), 1);
}

TEST_F(SoundSystemTest, NeverPlaysOnMoreVoicesThanItHas) {
    open(32);
    std::set<int> channels;
    for (int i = 0; i < 40; ++i) {
        const int channel = system->play(loop);
        if (i < 32) {
            EXPECT_GE(channel, 0);
            channels.insert(channel);
        } else {
            EXPECT_EQ(channel, -1);
        }
    }
    EXPECT_EQ(channels.size(), 32u);
    EXPECT_EQ(system->voicesInUse(), 32);

    // A paused sound keeps its voice; a stopped one frees it.
    const int paused = *channels.begin();
    EXPECT_TRUE(system->setPaused(paused, true));
    EXPECT_TRUE(system->isPaused(paused));
    EXPECT_EQ(system->play(loop), -1);
    const int stopped = *channels.rbegin();
    EXPECT_TRUE(system->stop(stopped));
    const int replacement = system->play(loop);
    EXPECT_GE(replacement, 0);
    EXPECT_EQ(channels.count(replacement), 0u);
    EXPECT_EQ(system->voicesInUse(), 32);

    EXPECT_TRUE(system->setPaused(paused, false));
    EXPECT_TRUE(system->isPlaying(paused));
}

TEST_F(SoundSystemTest, OnlyItsOwnSamplesPlayAndOnlyPlacedSoundsArePlaced) {
    open(2);
    EXPECT_EQ(system->play(nullptr), -1);
    EXPECT_EQ(system->play(reinterpret_cast<SoundSample*>(&system)), -1);
    EXPECT_FALSE(system->setMinMaxDistance(nullptr, 1.0f, 2.0f));
    EXPECT_FALSE(system->setMinMaxDistance(placed, 0.0f, 2.0f));
    EXPECT_FALSE(system->setMinMaxDistance(placed, 3.0f, 2.0f));
    EXPECT_TRUE(system->setMinMaxDistance(placed, 8.0f, 1.0e9f));

    const float where[3] = {4.0f, 5.0f, 6.0f};
    const int flat = system->play(loop);
    EXPECT_FALSE(system->place(flat, where, nullptr));
    EXPECT_TRUE(system->place(system->play(placed), nullptr, where));

    EXPECT_FALSE(system->setFrequency(flat, 0));
    EXPECT_FALSE(system->setFrequency(flat, -22050));
    EXPECT_TRUE(system->setFrequency(flat, 80000));
    EXPECT_TRUE(system->setVolume(flat, 1000));
    EXPECT_TRUE(system->setVolume(flat, -5));

    for (int channel : {-1, -3, 0, 1, 4096}) {
        EXPECT_FALSE(system->setVolume(channel, 255)) << channel;
        EXPECT_FALSE(system->stop(channel)) << channel;
    }
}
