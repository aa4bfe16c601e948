#include "SheetFixtures.h"
#include "workbook/template/ExpenseTemplate.h"
#include "xls/ScreenFonts.h"
#include "xls/SheetGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>

namespace {

using drawtest::storedWidth;

constexpr int kDigit = 7;  // Arial 10 at 96 dpi

// Widths of the template's columns A to M in characters, and their pixels worked by hand:
// stored = trunc(pixels * 256 / 7), pixels = trunc((stored + trunc(128 / 7)) * 7 / 256).
// Beside each, LibreOffice 7.4's width for the same file (its column-width at 96 dpi, unrounded):
// it draws about 5.5 % wider, so compare with it for looks, not size. Column A, below one
// character, is 7 px in LibreOffice, Gnumeric and here.
struct TemplateColumn {
    double characters;
    int pixels;
};
constexpr std::array<TemplateColumn, 13> kTemplateColumns{{
    {0.57, 7},     // LibreOffice 7
    {11.43, 85},   // 89.8
    {8.43, 64},    // 67.0
    {29.14, 209},  // 220.9
    {11.14, 83},   // 87.7 (E to H)
    {11.14, 83},
    {11.14, 83},
    {11.14, 83},
    {7.71, 59},   // 62.2
    {3.57, 30},   // 31.7
    {13.43, 99},  // 104.6
    {11.00, 82},  // 86.6
    {11.71, 87},  // 91.9
}};

// Row heights of rows 1 to 29 in points; pixels are points * 96 / 72, rounded. LibreOffice keeps
// the fractions (17.1 pt = 22.8 px, 20.1 pt = 26.8 px) and agrees on the whole ones.
std::array<double, 29> templateRowPoints() {
    std::array<double, 29> points{};
    points.fill(17.1);
    points[0] = 16.5;
    points[1] = 25.5;
    points[2] = 30.0;
    points[6] = 16.5;
    points[9] = 20.1;
    return points;
}

xls::Sheet templateShapedSheet() {
    xls::Sheet sheet;
    for (uint16_t col = 0; col < kTemplateColumns.size(); ++col)
        sheet.columns.push_back({col, col, storedWidth(kTemplateColumns[col].characters), 0, false});
    const auto points = templateRowPoints();
    for (uint16_t row = 0; row < points.size(); ++row)
        sheet.rows[row] = {uint16_t(std::lround(points[row] * 20)), true, false, std::nullopt};
    return sheet;
}

// Characters as a spreadsheet shows them, the pixels they take with a 7-px digit, and the stored
// 1/256 digits that readers turn back into those pixels. Below one character the 5 px of padding
// shrink with the width (0.57 * 12 = 6.84 px); from one character on they are whole.
struct WidthRule {
    double characters;
    int pixels;
    uint16_t stored;
};
constexpr std::array<WidthRule, 6> kWidthRules{{
    {0.57, 7, 256},
    {0.99, 12, 438},
    {1.00, 12, 438},
    {1.29, 14, 512},
    {8.43, 64, 2340},
    {29.14, 209, 7643},
}};

TEST(ColumnWidth, CharactersBecomePixelsWithPaddingScaledBelowOneCharacter) {
    for (const WidthRule& rule : kWidthRules)
        EXPECT_EQ(xls::columnPixels(rule.characters, kDigit), rule.pixels) << rule.characters;
    EXPECT_EQ(xls::columnPixels(0.0, kDigit), 0);
    EXPECT_EQ(xls::columnPixels(0.5, 0), 0);
    // No width between one character less a hair and one character jumps.
    for (double characters = 0.05; characters < 2.0; characters += 0.01)
        EXPECT_LE(xls::columnPixels(characters, kDigit), xls::columnPixels(characters + 0.01, kDigit)) << characters;
}

TEST(ColumnWidth, PixelsBecomeStoredWidthsThatReadBackAsTheSamePixels) {
    for (const WidthRule& rule : kWidthRules) {
        EXPECT_EQ(xls::storedColumnWidth(rule.pixels, kDigit), rule.stored) << rule.characters;
        EXPECT_EQ(xls::columnWidthPixels(rule.stored, kDigit), rule.pixels) << rule.characters;
    }
    for (int digit : {6, 7, 8, 9, 11})
        for (int pixels = 1; pixels <= 400; ++pixels)
            EXPECT_EQ(xls::columnWidthPixels(xls::storedColumnWidth(pixels, digit), digit), pixels) << pixels;
    EXPECT_EQ(xls::storedColumnWidth(0, kDigit), 0);
    EXPECT_EQ(xls::storedColumnWidth(100000, kDigit), 0xFFFF);  // the field's limit, not a wrapped value
}

TEST(ColumnWidth, TemplateColumnAIsSevenPixels) {
    const xls::Workbook book = BuildExpenseTemplate();
    const xls::Sheet& sheet = book.sheets.front();
    const xls::SheetGeometry geometry(sheet, {0, 0, 28, 13}, xls::maxDigitWidth(xls::screenFont(book.fonts.front())));
    EXPECT_EQ(geometry.columnWidth(0), 7);
    EXPECT_EQ(geometry.width(), 7 + 1111);
}

TEST(ColumnWidth, StoredWidthsBecomeThePixelsOfTheNinetySevenProgram) {
    EXPECT_EQ(xls::columnWidthPixels(2340, kDigit), 64);  // the default 8.43 characters
    for (const TemplateColumn& column : kTemplateColumns)
        EXPECT_EQ(xls::columnWidthPixels(storedWidth(column.characters), kDigit), column.pixels) << column.characters;
    EXPECT_EQ(xls::columnWidthPixels(0, kDigit), 0);
    EXPECT_EQ(xls::columnWidthPixels(2340, 0), 0);
}

TEST(ColumnWidth, UnsetColumnsUseStandardWidthElseDefaultWidthRoundedToEightPixels) {
    xls::Sheet sheet;
    sheet.defaultColumnWidth = 8;  // 8 * 7 + 5 = 61, widened to 64
    EXPECT_EQ(xls::defaultColumnWidthPixels(sheet, kDigit), 64);
    sheet.defaultColumnWidth = 10;  // 75 -> 80
    EXPECT_EQ(xls::defaultColumnWidthPixels(sheet, kDigit), 80);
    sheet.standardWidth = storedWidth(29.14);
    EXPECT_EQ(xls::defaultColumnWidthPixels(sheet, kDigit), 209);
}

TEST(RowHeight, PointsBecomePixelsAtNinetySixDpi) {
    EXPECT_EQ(xls::rowHeightPixels(330), 22);  // 16.5 pt
    EXPECT_EQ(xls::rowHeightPixels(510), 34);  // 25.5 pt
    EXPECT_EQ(xls::rowHeightPixels(600), 40);  // 30 pt
    EXPECT_EQ(xls::rowHeightPixels(342), 23);  // 17.1 pt = 22.8 px
    EXPECT_EQ(xls::rowHeightPixels(402), 27);  // 20.1 pt = 26.8 px
    EXPECT_EQ(xls::rowHeightPixels(255), 17);  // the default 12.75 pt
}

TEST(SheetGeometry, TemplateUsedRangeIs1111By697Pixels) {
    const xls::Sheet sheet = templateShapedSheet();
    const xls::SheetGeometry geometry(sheet, {0, 1, 28, 13}, kDigit);  // B1:N29, N at the default width
    EXPECT_EQ(geometry.width(), 1111);
    EXPECT_EQ(geometry.height(), 697);

    int left = 0;
    for (int col = 1; col <= 12; ++col) {
        EXPECT_EQ(geometry.columnLeft(col), left) << col;
        EXPECT_EQ(geometry.columnWidth(col), kTemplateColumns[size_t(col)].pixels) << col;
        left += kTemplateColumns[size_t(col)].pixels;
    }
    EXPECT_EQ(geometry.columnWidth(13), 64);
    EXPECT_EQ(geometry.rowTop(0), 0);
    EXPECT_EQ(geometry.rowTop(1), 22);
    EXPECT_EQ(geometry.rowTop(3), 22 + 34 + 40);
    EXPECT_EQ(geometry.rowHeight(9), 27);
    EXPECT_EQ(geometry.rowTop(10), 22 + 34 + 40 + 3 * 23 + 22 + 2 * 23 + 27);
}

TEST(SheetGeometry, HiddenRowsAndColumnsTakeNoPixels) {
    xls::Sheet sheet = templateShapedSheet();
    sheet.columns[3].hidden = true;  // D
    sheet.rows[1].hidden = true;
    const xls::SheetGeometry geometry(sheet, {0, 1, 28, 13}, kDigit);
    EXPECT_EQ(geometry.width(), 1111 - 209);
    EXPECT_EQ(geometry.height(), 697 - 34);
    EXPECT_EQ(geometry.columnLeft(4), geometry.columnLeft(3));
}

TEST(SheetGeometry, RectanglesReachPastTheRange) {
    const xls::Sheet sheet = templateShapedSheet();
    const xls::SheetGeometry geometry(sheet, {2, 2, 5, 4}, kDigit);  // C3:E6
    EXPECT_EQ(geometry.rectOf({1, 1, 2, 2}), QRect(-85, -34, 85 + 64, 34 + 40));
    EXPECT_EQ(geometry.rectOf({5, 4, 6, 5}), QRect(64 + 209, 40 + 23 + 23, 83 + 83, 23 + 22));
}

TEST(ScreenFonts, ArialTenHasTheSevenPixelDigitAndTahomaIsFound) {
    xls::Font arial;
    EXPECT_EQ(xls::maxDigitWidth(xls::screenFont(arial)), 7);
    EXPECT_EQ(xls::screenFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(xls::screenFamily("Tahoma"), "Tahoma");
    EXPECT_EQ(xls::screenFamily("No Such Family 123"), "Liberation Sans");
    xls::Font title;
    title.name = "Tahoma";
    title.heightTwips = 480;
    title.bold = true;
    EXPECT_EQ(xls::screenFont(title).pixelSize(), 32);
    EXPECT_TRUE(xls::screenFont(title).bold());
}

}  // namespace
