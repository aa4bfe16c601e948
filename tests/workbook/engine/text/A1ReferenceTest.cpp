#include "xls/A1Reference.h"
#include "xls/Error.h"

#include <gtest/gtest.h>

namespace {

TEST(A1Reference, ParsesCellsAndBlocks) {
    EXPECT_EQ(xls::parseA1Range("C4"), (xls::Range{3, 2, 3, 2}));
    EXPECT_EQ(xls::parseA1Range("m3:b2"), (xls::Range{1, 1, 2, 12}));
    EXPECT_EQ(xls::parseA1Range("IV65536"), (xls::Range{65535, 255, 65535, 255}));
    for (const char* bad : {"", "C", "4", "C0", "4C", "C4:", "IW1", "A65537", "C4D", "C 4"})
        EXPECT_FALSE(xls::parseA1Range(bad)) << bad;
}

TEST(A1Reference, AnAddressWrittenInCodeMustBeWellFormed) {
    EXPECT_EQ(xls::a1("B2:M3"), (xls::Range{1, 1, 2, 12}));
    EXPECT_THROW(xls::a1("IW1"), xls::Error);
}

}  // namespace
