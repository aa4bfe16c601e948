#include "SampleWorkbook.h"

#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

#include <functional>

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

// Each flag set on its own reads back on its own: a bit spelled differently by the writer and the
// reader, or two bits swapped, shows here even where the sample sets them together.
TEST(BiffRoundTrip, EachFlagSurvivesOnItsOwn) {
    using Change = std::function<void(Workbook&)>;
    auto font = [](auto set) { return Change([set](Workbook& w) { set(w.fonts[w.formats[1].font]); }); };
    auto format = [](auto set) { return Change([set](Workbook& w) { set(w.formats[1]); }); };
    auto sheet = [](auto set) { return Change([set](Workbook& w) { set(w.sheets[0]); }); };
    std::vector<std::pair<std::string, Change>> changes{
        {"bold", font([](Font& f) { f.bold = true; })},
        {"italic", font([](Font& f) { f.italic = true; })},
        {"strikeout", font([](Font& f) { f.strikeout = true; })},
        {"unlocked", format([](CellFormat& f) { f.locked = false; })},
        {"formula hidden", format([](CellFormat& f) { f.hidden = true; })},
        {"wrap", format([](CellFormat& f) { f.wrap = true; })},
        {"indent", format([](CellFormat& f) { f.indent = 15; })},
        {"fill", format([](CellFormat& f) { f.fill = 0x339966; })},
        {"hidden row", sheet([](Sheet& s) {
             s.rows[3] = RowInfo{255, false, true, std::nullopt};
         })},
        {"custom height", sheet([](Sheet& s) {
             s.rows[3] = RowInfo{400, true, false, std::nullopt};
         })},
        {"row format", sheet([](Sheet& s) {
             s.rows[3] = RowInfo{255, false, false, uint16_t(1)};
         })},
        {"hidden column", sheet([](Sheet& s) {
             s.columns = {{2, 4, 3000, 0, true}};
         })},
        {"no gridlines", sheet([](Sheet& s) { s.showGridlines = false; })},
        {"no headings", sheet([](Sheet& s) { s.showHeadings = false; })},
        {"fit to page", sheet([](Sheet& s) { s.page.fitToPage = true; })},
        {"landscape", sheet([](Sheet& s) { s.page.orientation = Orientation::Landscape; })},
        {"calculated on demand", sheet([](Sheet& s) { s.at(0, 1).formula->alwaysCalculate = false; })},
        {"cached true", sheet([](Sheet& s) { s.at(0, 1).formula->cached = true; })},
        {"cached error", sheet([](Sheet& s) { s.at(0, 1).formula->cached = ErrorCode::Div0; })},
        {"cached text", sheet([](Sheet& s) { s.at(0, 1).formula->cached = std::string("due"); })},
        {"cached nothing", sheet([](Sheet& s) { s.at(0, 1).formula->cached = Value{}; })},
    };
    for (const Underline underline :
         {Underline::Single, Underline::Double, Underline::SingleAccounting, Underline::DoubleAccounting})
        changes.push_back({"underline", font([underline](Font& f) { f.underline = underline; })});
    for (uint8_t h = 1; h <= uint8_t(HAlign::Distributed); ++h)
        changes.push_back({"horizontal alignment", format([h](CellFormat& f) { f.hAlign = HAlign(h); })});
    for (const VAlign v : {VAlign::Top, VAlign::Center, VAlign::Justify, VAlign::Distributed})
        changes.push_back({"vertical alignment", format([v](CellFormat& f) { f.vAlign = v; })});
    for (uint8_t style = 1; style <= uint8_t(BorderStyle::SlantedDashDot); ++style)
        for (Border CellFormat::*side : {&CellFormat::left, &CellFormat::right, &CellFormat::top, &CellFormat::bottom})
            changes.push_back({"border", format([=](CellFormat& f) {
                                   f.*side = Border{BorderStyle(style), 0x993300};
                               })});

    for (const auto& [what, change] : changes) {
        Workbook written;
        written.addFont(Font{"Tahoma", 200, false, false, false, Underline::None, kAutomaticColour, 2, 0});
        CellFormat plain;
        plain.font = 1;
        written.addFormat(plain);
        Sheet& only = written.sheets.emplace_back();
        only.name = "Flags";
        only.at(0, 0) = Cell{1, 2.5, {}};
        only.at(0, 1) = Cell{1, {}, Formula{compileFormula("A1*2"), 5.0, true, {}}};
        change(written);
        const Workbook read = roundTrip(written);
        EXPECT_EQ(read.fonts[1], written.fonts[1]) << what;
        EXPECT_EQ(read.formats, written.formats) << what;
        expectSameSheet(written.sheets[0], read.sheets[0]);
        if (HasFailure()) FAIL() << what;
    }
}
