// A column wider than the COLINFO field can say is stored at the field's limit, whatever the width
// of the platform's integers: 256ths of a digit pass 2^31 from a width of 8,388,608 pixels.
#include "xls/ColumnWidth.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ColumnWidthLimit, WidthsBeyondTheFieldAreStoredAtItsLimit) {
    for (const int digit : {1, 7, 9}) {
        for (const int pixels : {65535, 8388607, 8388608, 100000000, std::numeric_limits<int>::max()})
            EXPECT_EQ(xls::storedColumnWidth(pixels, digit), 0xFFFF)
                << pixels << " pixels of " << digit << "-pixel digits";
    }
    EXPECT_EQ(xls::storedColumnWidth(255, 1), 255 * 256);
    EXPECT_EQ(xls::storedColumnWidth(64, 7), 2340);
}

}  // namespace
