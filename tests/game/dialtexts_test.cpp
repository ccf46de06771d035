#include <gtest/gtest.h>

#include <string>

#include "game/dialtexts.h"
#include "game/roundcounter.h"

namespace {

TEST(DialTexts, EachDialPrintsItsNumberInItsOwnFormat) {
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {Vortel::scoreDialText(4000000000u), "4000000000"},
        {Vortel::scoreDialText(0), "0"},
        {Vortel::pointsToGoDialText(-250), "-250"},
        {Vortel::pointsToGoDialText(7), "7"},
        {Vortel::shieldsDialText(40), "40"},
        {Vortel::shieldsDialText(5), "05"},
        {Vortel::shieldsDialText(37.5f), "37.5"},
        {Vortel::shieldsDialText(0), "00"},
        {Vortel::ammoDialText(7), "007"},
        {Vortel::ammoDialText(0), "000"},
        {Vortel::ammoDialText(999), "999"},
        {Vortel::bombsDialText(3), "3"},
        {Vortel::densityDialText(100), "100"},
        {Vortel::densityDialText(4), "04"},
        {Vortel::chasersDialText(3, 5), "3/5"},
        {Vortel::waveDialText(7), "07"},
        {Vortel::waveDialText(12), "12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, c.expected);
    }
}

// The fractions as the dials take them: clamped by RoundCounter::value.
float shown(float fraction) {
    Vortel::RoundCounter dial(40, 50, 30);
    dial.value(fraction);
    return dial.value();
}

TEST(DialTexts, RingsFillTowardsTheGoalAndStayDefinedWithoutALimit) {
    EXPECT_FLOAT_EQ(shown(Vortel::scoreDialValue(10000, 10000)), 0.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::scoreDialValue(2500, 10000)), 0.75f);
    EXPECT_FLOAT_EQ(shown(Vortel::scoreDialValue(0, 10000)), 1.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::scoreDialValue(-300, 10000)), 1.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::scoreDialValue(0, 0)), 0.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::scoreDialValue(500, 0)), 0.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::scoreDialValue(-1, 0)), 1.0f);

    EXPECT_FLOAT_EQ(shown(Vortel::limitDialValue(0, 999)), 0.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::limitDialValue(25, 50)), 0.5f);
    EXPECT_FLOAT_EQ(shown(Vortel::limitDialValue(12, 9)), 1.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::limitDialValue(0, 0)), 0.0f);
    EXPECT_FLOAT_EQ(shown(Vortel::limitDialValue(3, 0)), 1.0f);
}

}  // namespace
