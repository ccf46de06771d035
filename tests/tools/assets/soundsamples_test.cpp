#include <gtest/gtest.h>

#include "game/soundsamples.h"

// The game's own loading over the shipped sample list and files.
TEST(SoundSamples, TheShippedListLoadsEverySample)
{
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    Vortel::SoundSampleMap samples;
    Vortel::loadIntroSample(samples);
    Vortel::loadSoundSamples(samples);
    EXPECT_EQ(samples.size(), Vortel::SOUND_SAMPLE_TABLE.size() + 1);
    for (const auto& entry : samples)
        EXPECT_NE(entry.second, nullptr) << entry.first;
    FSOUND_Close();
}
