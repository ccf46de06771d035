#include <gtest/gtest.h>

#include "platform/crand.h"

TEST(CrandTest, ReproducesTheRuntimeSequence) {
    crand::srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (const int value : expected) {
        EXPECT_EQ(crand::rand(), value);
    }
}

TEST(CrandTest, StaysWithinFifteenBits) {
    crand::srand(12345);
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = crand::rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, crand::CRAND_MAX);
        highest = std::max(highest, value);
    }
    EXPECT_GT(highest, 32000);
}
