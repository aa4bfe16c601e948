// [Color1]..[Color56] name the workbook's default palette: the colours another reader assumes for
// palette indices 8..63 when a file states none.
#include "TextTestLocales.h"
#include "xls/NumberFormat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace xls;

namespace {

std::vector<uint32_t> xlrdDefaultPalette() {
    FILE* pipe = popen(
        "/usr/bin/python3 -c \"import xlrd.formatting as f\n"
        "for r, g, b in f.excel_default_palette_b8: print(r << 16 | g << 8 | b)\" 2>/dev/null",
        "r");
    std::vector<uint32_t> colours;
    if (!pipe) return colours;
    char line[64];
    while (std::fgets(line, sizeof line, pipe)) colours.push_back(uint32_t(std::stoul(line)));
    pclose(pipe);
    return colours;
}

TEST(NumberFormatPalette, NumberedColoursAreTheDefaultPaletteAnotherReaderKnows) {
    if (!std::filesystem::exists("/usr/bin/python3")) GTEST_SKIP() << "python3 is not installed";
    const std::vector<uint32_t> expected = xlrdDefaultPalette();
    ASSERT_EQ(expected.size(), 56u) << "xlrd's default palette could not be read";
    for (size_t n = 1; n <= expected.size(); ++n) {
        const std::string code = "[Color" + std::to_string(n) + "]0";
        EXPECT_EQ(formatValue(1.0, code, unitedStates()).colour, expected[n - 1]) << code;
    }
    EXPECT_EQ(formatValue(1.0, "[Color57]0", unitedStates()).colour, formatValue(1.0, "0", unitedStates()).colour);
}

}  // namespace
