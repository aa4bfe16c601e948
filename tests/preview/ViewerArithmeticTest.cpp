// Rounding and range rules of the viewer's arithmetic that the widget tests do not reach.
#include "ViewerArithmetic.h"

#include <gtest/gtest.h>

TEST(ViewerArithmetic, ScrollbarStepsAndHalfEvenMaxima) {
    EXPECT_FALSE(ScrollbarFor(9330, 9330).enabled);
    EXPECT_EQ(ScrollbarFor(9430, 9330).step, 1);
    EXPECT_EQ(*ScrollbarFor(9430, 9330).maximum, 100);
    EXPECT_EQ(ScrollbarFor(9431, 9330).step, 10);
    EXPECT_EQ(*ScrollbarFor(9435, 9330).maximum, 10);  // 10.5
    EXPECT_EQ(*ScrollbarFor(9445, 9330).maximum, 12);  // 11.5
}

TEST(ViewerArithmetic, PercentValuesRoundHalfEven) {
    EXPECT_EQ(*ValueForPercent(50, 5), 2);  // 2.5
    EXPECT_EQ(*ValueForPercent(50, 7), 4);  // 3.5
    EXPECT_EQ(*ReleasePercent(-5, 1010, 1000), 50);
    EXPECT_EQ(*ReleasePercent(-25, 1200, 1000), 12);  // 12.5
}

TEST(ViewerArithmetic, OutOfRangeValuesSaturate) {
    EXPECT_EQ(*ReleasePercent(-32000, 1001, 1000), 32767);
    EXPECT_EQ(ScrolledOffset(10, 5000), -32768);
}
