// What the renderer decides to draw for a cell: the text, its alignment and how far it runs.
#include "CellTextLayout.h"
#include "SheetFixtures.h"
#include "xls/ScreenFonts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using drawtest::SheetBuilder;
using drawtest::storedWidth;

class CellTextLayoutTest : public ::testing::Test {
protected:
    std::optional<xls::CellTextJob> layOut(int row, int col) {
        cells.emplace(builder.book, builder.sheet());
        geometry.emplace(builder.sheet(), xls::Range{0, 0, 9, 9}, 7);
        layout.emplace(*cells, *geometry, locale, std::vector<QFont>{xls::screenFont(xls::Font{})}, 7);
        return layout->layout(row, col);
    }
    void narrowColumnA(double characters) {
        builder.sheet().columns.front().first = 1;
        builder.sheet().columns.insert(builder.sheet().columns.begin(), {0, 0, storedWidth(characters), 0, false});
    }

    SheetBuilder builder;
    xls::LocaleInfo locale;
    std::optional<xls::CellLookup> cells;
    std::optional<xls::SheetGeometry> geometry;
    std::optional<xls::CellTextLayout> layout;
};

bool onlyHashes(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '#'; });
}

TEST_F(CellTextLayoutTest, NumberWiderThanItsCellShowsHashesAcrossTheCell) {
    narrowColumnA(3.57);  // 30 px
    xls::CellFormat integer;
    integer.numFmt = 1;  // "0"
    builder.put(0, 0, 123456789.0, builder.format(integer));
    const auto job = layOut(0, 0);
    ASSERT_TRUE(job);
    const std::string text = job->text.plain();
    EXPECT_TRUE(onlyHashes(text)) << text;
    const int hash = QFontMetrics(job->style.font).horizontalAdvance(QLatin1Char('#'));
    EXPECT_LE(int(text.size()) * hash, job->placement.area.width());
    EXPECT_GT(int(text.size() + 1) * hash, job->placement.area.width());
    EXPECT_EQ(job->span.lastCol, 0);  // numbers never run on
}

TEST_F(CellTextLayoutTest, GeneralNumberShortensToTheDigitsThatFit) {
    narrowColumnA(5.0);  // 40 px: five digits
    builder.put(0, 0, 3.14159265358979);
    const auto job = layOut(0, 0);
    ASSERT_TRUE(job);
    const std::string text = job->text.plain();
    EXPECT_FALSE(onlyHashes(text)) << text;
    EXPECT_EQ(text.rfind("3.1", 0), 0u) << text;
    EXPECT_LE(xls::displayWidth(QFontMetrics(job->style.font), job->text), job->placement.area.width());
}

TEST_F(CellTextLayoutTest, GeneralAlignmentFollowsTheValueKind) {
    builder.put(0, 0, 1.0);
    builder.put(1, 0, std::string("a"));
    builder.put(2, 0, true);
    builder.put(3, 0, xls::ErrorCode::Div0);
    EXPECT_EQ(layOut(0, 0)->placement.align, xls::HAlign::Right);
    EXPECT_EQ(layOut(1, 0)->placement.align, xls::HAlign::Left);
    EXPECT_EQ(layOut(2, 0)->placement.align, xls::HAlign::Center);
    EXPECT_EQ(layOut(3, 0)->placement.align, xls::HAlign::Center);
}

TEST_F(CellTextLayoutTest, OverflowStopsAtOccupiedOrMergedNeighboursAndOnlyGoesAsFarAsNeeded) {
    const std::string longText(60, 'W');  // several columns wide
    builder.put(0, 0, longText);
    builder.put(0, 3, 1.0);
    builder.put(1, 0, longText);
    builder.sheet().merges.push_back({1, 2, 1, 3});
    builder.put(2, 0, std::string("WWWWWWWWWWWWW"));  // a little over one column
    builder.put(3, 0, longText);
    builder.sheet().at(3, 1).xf = builder.format(xls::CellFormat{});  // a formatted blank still takes overflow
    EXPECT_EQ(layOut(0, 0)->span.lastCol, 2);
    EXPECT_EQ(layOut(1, 0)->span.lastCol, 1);
    EXPECT_EQ(layOut(2, 0)->span.lastCol, 1);
    EXPECT_GT(layOut(3, 0)->span.lastCol, 1);
}

TEST_F(CellTextLayoutTest, WrappedAndMergedTextStaysInItsCell) {
    xls::CellFormat wrapping;
    wrapping.wrap = true;
    builder.put(0, 0, std::string(60, 'W'), builder.format(wrapping));
    builder.put(1, 0, std::string(60, 'W'));
    builder.sheet().merges.push_back({1, 0, 2, 1});
    EXPECT_EQ(layOut(0, 0)->span.lastCol, 0);
    const auto merged = layOut(1, 0);
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->placement.clip, QRect(0, 27, 2 * 82 - 1, 2 * 27 - 1));
    EXPECT_FALSE(layOut(2, 1));  // covered by the merge
}

TEST_F(CellTextLayoutTest, CentreAcrossSpansTheFollowingEmptyCentreAcrossCells) {
    xls::CellFormat across;
    across.hAlign = xls::HAlign::CenterAcross;
    const uint16_t xf = builder.format(across);
    builder.put(0, 0, std::string("Title"), xf);
    builder.sheet().at(0, 1).xf = xf;
    builder.sheet().at(0, 2).xf = xf;
    const auto job = layOut(0, 0);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->span.lastCol, 2);
    EXPECT_EQ(job->placement.align, xls::HAlign::Center);
    EXPECT_EQ(job->placement.area.center().x(), (3 * 82 - 1) / 2);
}

TEST_F(CellTextLayoutTest, IndentKeepsThreeDigitsPerLevelFromTheAlignedSide) {
    xls::CellFormat indented;
    indented.hAlign = xls::HAlign::Left;
    indented.indent = 2;
    builder.put(0, 0, std::string("x"), builder.format(indented));
    EXPECT_EQ(layOut(0, 0)->placement.indent, 2 * 3 * 7);
}

}  // namespace

TEST_F(CellTextLayoutTest, BuiltInShortDateShowsTheReadersOwnDateForm) {
    xls::CellFormat shortDate;
    shortDate.numFmt = 14;
    builder.put(0, 0, 42679.0, builder.format(shortDate));  // 2016-11-05
    ASSERT_TRUE(layOut(0, 0));
    EXPECT_EQ(layOut(0, 0)->text.plain(), "11/5/2016");
    locale.shortDateCode = "dd.mm.yyyy";
    locale.dateSeparator = ".";
    EXPECT_EQ(layOut(0, 0)->text.plain(), "05.11.2016");
}
