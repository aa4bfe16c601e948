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

TEST_F(CellTextLayoutTest, NumbersNeverWrapAndShortenOrShowHashesInWrappingCells) {
    narrowColumnA(8.43);  // 64 px, the template's Account column
    xls::CellFormat wrapping;
    wrapping.wrap = true;
    builder.put(0, 0, 12345678901234567890.0, builder.format(wrapping));
    builder.put(1, 0, 1234.56789012, builder.format(wrapping));
    xls::CellFormat integer = wrapping;
    integer.numFmt = 3;  // "#,##0"
    builder.put(2, 0, 12345678901234567890.0, builder.format(integer));
    xls::CellFormat justified;
    justified.hAlign = xls::HAlign::Justify;
    builder.put(3, 0, 12345678901234567890.0, builder.format(justified));

    for (int row : {0, 1, 2, 3}) {
        const auto job = layOut(row, 0);
        ASSERT_TRUE(job);
        EXPECT_FALSE(job->placement.wrap) << row;
        EXPECT_LE(xls::displayWidth(QFontMetrics(job->style.font), job->text), job->placement.area.width()) << row;
    }
    const std::string scientific = layOut(0, 0)->text.plain();
    EXPECT_NE(scientific.find("E+19"), std::string::npos) << scientific;
    EXPECT_EQ(scientific.rfind("1.2", 0), 0u) << scientific;
    const std::string decimals = layOut(1, 0)->text.plain();  // fewer decimals before scientific form
    EXPECT_EQ(decimals.rfind("1234.5", 0), 0u) << decimals;
    EXPECT_EQ(decimals.find('E'), std::string::npos) << decimals;
    EXPECT_TRUE(onlyHashes(layOut(2, 0)->text.plain())) << layOut(2, 0)->text.plain();
    EXPECT_EQ(layOut(3, 0)->text.plain(), scientific);
}

// The cell limit of a spreadsheet: the longest text a field can hold.
constexpr size_t kCellLimit = 32767;

std::string repeatedTo(const std::string& unit, size_t bytes) {
    std::string text;
    while (text.size() + unit.size() <= bytes) text += unit;
    return text;
}

TEST_F(CellTextLayoutTest, LongTextIsCutToWhatTheCellShowsFromTheAlignedSide) {
    // A numbered text, so that the part kept can be told apart from any other.
    std::string numbered;
    for (int n = 0; numbered.size() < kCellLimit - 8; ++n) numbered += std::to_string(n) + " ";
    xls::CellFormat wrapping;
    wrapping.wrap = true;
    xls::CellFormat right;
    right.hAlign = xls::HAlign::Right;
    xls::CellFormat centred;
    centred.hAlign = xls::HAlign::Center;
    builder.put(0, 0, numbered);  // left-aligned, runs on to the picture's edge
    builder.put(1, 0, numbered, builder.format(wrapping));
    builder.put(2, 9, numbered, builder.format(right));
    builder.put(3, 4, numbered, builder.format(centred));
    builder.put(4, 0, std::string("short text"), builder.format(wrapping));

    const auto left = layOut(0, 0);
    const auto wrapped = layOut(1, 0);
    const auto rightJob = layOut(2, 9);
    const auto centre = layOut(3, 4);
    ASSERT_TRUE(left && wrapped && rightJob && centre);
    const QRect picture(0, 0, geometry->width(), geometry->height());
    for (const auto* job : {&*left, &*wrapped, &*rightJob, &*centre}) {
        EXPECT_LT(job->text.plain().size(), 2000u);
        // Still enough to cover all the picture shows of it.
        if (!job->placement.wrap) {
            EXPECT_GE(xls::displayWidth(QFontMetrics(job->style.font), job->text),
                      (job->placement.clip & picture).width());
        }
    }
    EXPECT_EQ(numbered.rfind(left->text.plain(), 0), 0u);
    EXPECT_GE(left->span.lastCol, 9);  // the last column of the picture, or beyond
    EXPECT_EQ(numbered.rfind(wrapped->text.plain(), 0), 0u);
    const std::string tail = rightJob->text.plain();
    EXPECT_EQ(numbered.compare(numbered.size() - tail.size(), tail.size(), tail), 0);
    EXPECT_EQ(rightJob->span.firstCol, 0);
    const std::string middle = centre->text.plain();
    const size_t at = numbered.find(middle);
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(double(at + middle.size() / 2), double(numbered.size() / 2), 8.0);
    EXPECT_EQ(layOut(4, 0)->text.plain(), "short text");
}

TEST_F(CellTextLayoutTest, CutsFallBetweenWholeCharacters) {
    const std::string cjk = repeatedTo("\xE4\xBA\xA4\xE9\x80\x9A\xE8\xB4\xB9\xE7\x94\xA8", 3 * kCellLimit);
    xls::CellFormat right;
    right.hAlign = xls::HAlign::Right;
    xls::CellFormat centred;
    centred.hAlign = xls::HAlign::Center;
    builder.put(0, 0, cjk);
    builder.put(1, 3, cjk, builder.format(right));
    builder.put(2, 4, cjk, builder.format(centred));
    for (const auto& [row, col] : {std::pair{0, 0}, std::pair{1, 3}, std::pair{2, 4}}) {
        const std::string shown = layOut(row, col)->text.plain();
        EXPECT_FALSE(shown.empty());
        EXPECT_EQ(QString::fromUtf8(shown.data(), qsizetype(shown.size())).toUtf8().toStdString(), shown) << row;
        EXPECT_NE(cjk.find(shown), std::string::npos) << row;
        EXPECT_EQ(cjk.find(shown) % 3, 0u) << row;
    }
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
