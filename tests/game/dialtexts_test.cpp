#include <gtest/gtest.h>

#include <string>

#include "game/dialtexts.h"

namespace {

using namespace Vortel;

TEST(DialTexts, EachDialPrintsItsNumberInItsOwnFormat) {
    const std::pair<std::string, std::string> cases[] = {
        {scoreDialText(4000000000u), "4000000000"}, {pointsToGoDialText(-250), "-250"},
        {shieldsDialText(40), "40"},   {shieldsDialText(5), "05"},     {shieldsDialText(37.5f), "37.5"},
        {ammoDialText(0), "000"},      {ammoDialText(7), "007"},       {ammoDialText(-5), "-05"},
        {bombsDialText(3), "3"},       {densityDialText(100), "100"},  {chasersDialText(3, 5), "3/5"},
        {waveDialText(7), "07"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.first, c.second);
    }
}

TEST(DialTexts, RingsWithoutALimitAreEmptyUnlessTheAmountIsPastIt) {
    EXPECT_FLOAT_EQ(scoreDialValue(2500, 10000), 0.75f);
    EXPECT_FLOAT_EQ(scoreDialValue(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(scoreDialValue(500, 0), 0.0f);
    EXPECT_FLOAT_EQ(scoreDialValue(-1, 0), 1.0f);
    EXPECT_FLOAT_EQ(limitDialValue(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(limitDialValue(3, 0), 1.0f);
}

}  // namespace
