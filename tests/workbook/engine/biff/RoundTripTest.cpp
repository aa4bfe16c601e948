#include "SampleWorkbook.h"

#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

using namespace xls;
using biff_test::mixedText;
using biff_test::sampleWorkbook;

namespace {

Workbook roundTrip(const Workbook& workbook) { return readWorkbook(writeWorkbook(workbook)); }

void expectSameSheet(const Sheet& expected, const Sheet& actual) {
    EXPECT_EQ(expected.name, actual.name);
    EXPECT_EQ(expected.cells, actual.cells);
    EXPECT_EQ(expected.columns, actual.columns);
    EXPECT_EQ(expected.rows, actual.rows);
    EXPECT_EQ(expected.merges, actual.merges);
    EXPECT_EQ(expected.defaultColumnWidth, actual.defaultColumnWidth);
    EXPECT_EQ(expected.standardWidth, actual.standardWidth);
    EXPECT_EQ(expected.defaultRowHeightTwips, actual.defaultRowHeightTwips);
    EXPECT_EQ(expected.showGridlines, actual.showGridlines);
    EXPECT_EQ(expected.showHeadings, actual.showHeadings);
    EXPECT_EQ(expected.zoomPercent, actual.zoomPercent);
    EXPECT_EQ(expected.selected, actual.selected);
    EXPECT_EQ(expected.activeCell, actual.activeCell);
    EXPECT_EQ(expected.page, actual.page);
    EXPECT_EQ(expected.printArea, actual.printArea);
    EXPECT_EQ(expected.keptRecords, actual.keptRecords);
}

TEST(BiffRoundTrip, KeepsCellsFormatsAndSheetSettings) {
    const Workbook written = sampleWorkbook();
    const Workbook read = roundTrip(written);

    EXPECT_TRUE(read.isTemplate);
    EXPECT_EQ(read.numberFormats, written.numberFormats);
    EXPECT_EQ(read.formats, written.formats);
    ASSERT_GE(read.fonts.size(), written.fonts.size());
    for (size_t i = 0; i < written.fonts.size(); ++i) EXPECT_EQ(read.fonts[i], written.fonts[i]) << "font " << i;
    EXPECT_EQ(read.keptRecords, written.keptRecords);
    ASSERT_EQ(read.sheets.size(), 2u);
    for (size_t i = 0; i < 2; ++i) expectSameSheet(written.sheets[i], read.sheets[i]);
}

TEST(BiffRoundTrip, SecondWriteIsByteIdentical) {
    const std::vector<uint8_t> first = writeWorkbookStream(roundTrip(sampleWorkbook()));
    const std::vector<uint8_t> second = writeWorkbookStream(readWorkbookStream(first));
    EXPECT_EQ(first, second);
}

TEST(BiffRoundTrip, StreamIsPaddedPastTheMiniStreamCutoff) {
    EXPECT_GE(writeWorkbookStream(sampleWorkbook()).size(), 4096u);
}

TEST(BiffRoundTrip, LargeStringTableWithLongAndSurrogateTextSurvives) {
    Workbook workbook;
    Sheet sheet;
    sheet.name = "Strings";
    // Lengths around the record limit put headers, characters and surrogate pairs on every boundary.
    for (uint16_t row = 0; row < 400; ++row) sheet.at(row, 0).value = mixedText(5 + row * 7 % 61, row);
    sheet.at(500, 0).value = mixedText(9000, 1);
    sheet.at(501, 0).value = std::string(20000, 'x');
    sheet.at(502, 0).value = mixedText(32767, 2);
    sheet.at(504, 0).formula = Formula{compileFormula("1+1"), mixedText(12000, 5), true, {}};
    workbook.sheets.push_back(sheet);

    const Workbook read = roundTrip(workbook);
    const Sheet& got = read.sheets.at(0);
    for (uint16_t row = 0; row < 400; ++row) ASSERT_EQ(got.find(row, 0)->value, sheet.find(row, 0)->value) << row;
    EXPECT_EQ(got.find(500, 0)->value, sheet.find(500, 0)->value);
    EXPECT_EQ(got.find(501, 0)->value, sheet.find(501, 0)->value);
    EXPECT_EQ(got.find(502, 0)->value, sheet.find(502, 0)->value);
    EXPECT_EQ(got.find(504, 0)->formula->cached, sheet.find(504, 0)->formula->cached);
}

TEST(BiffRoundTrip, ManyMergesAndCustomColoursSurvive) {
    Workbook workbook;
    Sheet sheet;
    sheet.name = "Merges";
    for (uint16_t i = 0; i < 2500; ++i) sheet.merges.push_back(Range{uint16_t(i * 2), 0, uint16_t(i * 2 + 1), 1});
    for (uint32_t i = 0; i < 60; ++i) {
        CellFormat format;
        format.fill = 0x010203 * (i + 1);
        sheet.at(uint16_t(i), 3).xf = workbook.addFormat(format);
    }
    workbook.sheets.push_back(sheet);
    const Workbook read = roundTrip(workbook);
    EXPECT_EQ(read.sheets[0].merges, sheet.merges);
    // 56 palette slots: the first colours keep their exact value.
    for (size_t i = 1; i <= 50; ++i) EXPECT_EQ(read.formats[i].fill, workbook.formats[i].fill) << i;
}

}  // namespace
