#include <gtest/gtest.h>

#include <set>

#include "platform/soundchannels.h"

TEST(SoundChannelTable, HandlesNameOneSoundOnOneVoice) {
    SoundChannelTable table(32);
    EXPECT_EQ(table.voices(), 32);
    std::set<int> handles;
    for (int v = 0; v < 32; ++v) {
        const int h = table.claim(v);
        EXPECT_GE(h, 0);
        EXPECT_EQ(table.voiceOf(h), v);
        handles.insert(h);
    }
    EXPECT_EQ(handles.size(), 32u);
    // Before any claim, after a retire and for made-up numbers, nothing is named.
    SoundChannelTable fresh(32);
    for (int h = -3; h < 32; ++h) {
        EXPECT_EQ(fresh.voiceOf(h), -1) << h;
        EXPECT_EQ(table.voiceOf(h), -1) << h;
    }
}

TEST(SoundChannelTable, ANewSoundOrAStopMakesOldHandlesStale) {
    SoundChannelTable table(2);
    const int first = table.claim(1);
    const int second = table.claim(1);
    EXPECT_NE(first, second);
    EXPECT_EQ(table.voiceOf(first), -1);
    EXPECT_EQ(table.voiceOf(second), 1);

    table.retire(1);
    EXPECT_EQ(table.voiceOf(second), -1);
    table.retire(1);  // retiring twice changes nothing more
    const int third = table.claim(1);
    EXPECT_EQ(table.voiceOf(third), 1);

    const int other = table.claim(0);
    table.retireAll();
    EXPECT_EQ(table.voiceOf(third), -1);
    EXPECT_EQ(table.voiceOf(other), -1);
    EXPECT_EQ(table.voiceOf(table.claim(0)), 0);
}

TEST(SoundChannelTable, HandlesStayPositiveAndDistinctAcrossManyPlays) {
    SoundChannelTable table(SoundChannelTable::MAX_VOICES + 5);
    EXPECT_EQ(table.voices(), SoundChannelTable::MAX_VOICES);
    const int last = SoundChannelTable::MAX_VOICES - 1;
    int previous = table.claim(last);
    // Far more plays than generations: the counter wraps round without going negative or
    // handing out the handle just made stale.
    for (int i = 0; i < 600000; ++i) {
        const int h = table.claim(last);
        ASSERT_GT(h, 0);
        ASSERT_NE(h, previous);
        ASSERT_EQ(table.voiceOf(h), last);
        ASSERT_EQ(table.voiceOf(previous), -1);
        previous = h;
    }
    EXPECT_EQ(SoundChannelTable(-4).voices(), 0);
}
