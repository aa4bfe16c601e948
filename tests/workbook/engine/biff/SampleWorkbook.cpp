#include "SampleWorkbook.h"

#include "xls/Formula.h"

namespace biff_test {

using namespace xls;

std::string mixedText(size_t units, unsigned seed) {
    static const char* const pieces[] = {"a", "Ж", "漢", "😀", "é", " "};
    static const size_t pieceUnits[] = {1, 1, 1, 2, 1, 1};
    std::string text;
    size_t used = 0;
    for (unsigned i = seed; used < units; ++i) {
        const size_t k = (i * 7 + seed) % 6;
        if (used + pieceUnits[k] > units) continue;
        text += pieces[k];
        used += pieceUnits[k];
    }
    return text;
}

Workbook sampleWorkbook() {
    Workbook workbook;
    workbook.isTemplate = true;
    const uint16_t title = workbook.addFont(Font{"Tahoma", 480, false, false, false, Underline::None, 0xA14817, 2, 0});
    const uint16_t label = workbook.addFont(Font{"Tahoma", 180, true, false, false, Underline::None, 0x808080, 2, 0});
    const uint16_t italic =
        workbook.addFont(Font{"Tahoma", 160, false, true, false, Underline::Single, kAutomaticColour, 2, 0});
    const uint16_t plain =
        workbook.addFont(Font{"Tahoma", 200, false, false, false, Underline::None, kAutomaticColour, 2, 0});

    CellFormat titleFormat;
    titleFormat.font = title;
    titleFormat.hAlign = HAlign::Left;
    titleFormat.vAlign = VAlign::Top;
    const uint16_t titleXf = workbook.addFormat(titleFormat);

    CellFormat heading;
    heading.font = label;
    heading.hAlign = HAlign::Center;
    heading.vAlign = VAlign::Center;
    heading.fill = 0xA14817;
    heading.left = heading.right = heading.top = heading.bottom = Border{BorderStyle::Thin, kAutomaticColour};
    const uint16_t headingXf = workbook.addFormat(heading);

    CellFormat money;
    money.font = plain;
    money.numFmt = 44;
    money.fill = 0xEAEAEA;
    money.bottom = Border{BorderStyle::Medium, 0x123456};
    money.wrap = true;
    const uint16_t moneyXf = workbook.addFormat(money);

    CellFormat date;
    date.font = italic;
    date.numFmt = workbook.numberFormatId("m/d/yyyy;;");
    date.fill = 0xFDF6E7;
    date.locked = false;
    const uint16_t dateXf = workbook.addFormat(date);

    Sheet sheet;
    sheet.name = "Expense report";
    sheet.at(1, 1) = Cell{titleXf, std::string("Expense report"), {}};
    sheet.at(9, 4) = Cell{headingXf, std::string("Hotel"), {}};
    sheet.at(9, 5) = Cell{headingXf, std::string("Transport"), {}};
    sheet.at(10, 4) = Cell{moneyXf, 12.5, {}};
    sheet.at(10, 5) = Cell{moneyXf, std::string("7.25"), {}};
    sheet.at(10, 6) = Cell{moneyXf, true, {}};
    sheet.at(10, 7) = Cell{moneyXf, ErrorCode::NA, {}};
    sheet.at(10, 8) = Cell{moneyXf, {}, {}};
    sheet.at(10, 9) = Cell{moneyXf, {}, {}};
    sheet.at(10, 12) = Cell{moneyXf, {}, Formula{compileFormula("SUM(E11:L11)"), 12.5, true, {}}};
    sheet.at(11, 4) = Cell{moneyXf, -3.75, {}};
    sheet.at(25, 12) = Cell{moneyXf, {}, Formula{compileFormula("SUM(M11:M25)"), 12.5, true, {}}};
    sheet.at(28, 12) = Cell{moneyXf, {}, Formula{compileFormula("(M26-M28)"), 12.5, true, {}}};
    sheet.at(3, 12) = Cell{dateXf, {}, Formula{compileFormula("MIN(A11:A25)"), 0.0, true, {}}};
    sheet.at(4, 1) = Cell{0, mixedText(40, 3), {}};
    sheet.merges = {{1, 1, 2, 12}, {9, 8, 9, 9}, {0, 11, 0, 12}};
    sheet.columns = {{0, 0, 146, 0, false},
                     {1, 1, 2925, 0, false},
                     {3, 3, 7460, 0, false},
                     {4, 7, 2852, moneyXf, false},
                     {9, 9, 914, 0, true}};
    sheet.rows[0] = RowInfo{330, true, false, std::nullopt};
    sheet.rows[1] = RowInfo{510, true, false, std::nullopt};
    sheet.rows[10] = RowInfo{342, true, false, moneyXf};
    sheet.rows[40] = RowInfo{300, true, true, std::nullopt};
    sheet.defaultColumnWidth = 9;
    sheet.standardWidth = 2340;
    sheet.showGridlines = false;
    sheet.zoomPercent = 85;
    sheet.activeCell = {3, 2};
    sheet.page.orientation = Orientation::Landscape;
    sheet.page.fitToPage = true;
    sheet.page.centerHorizontally = true;
    sheet.page.marginTop = 0.5;
    sheet.page.marginBottom = 1.0;
    sheet.page.header = "Überschrift";
    sheet.printArea = Range{0, 0, 28, 12};
    sheet.keptRecords.push_back(RawRecord{0x0012, {1, 0}, RecordPlace::Start});  // sheet protection

    Sheet second;
    second.name = "Second";
    second.at(0, 0) = Cell{0, std::string("Expense report"), {}};
    second.at(0, 1) = Cell{0, {}, Formula{compileFormula("A1+1"), ErrorCode::Value, true, {}}};
    second.selected = false;

    workbook.sheets = {sheet, second};
    // Full calculation on load, a record the engine does not interpret.
    workbook.keptRecords.push_back(
        RawRecord{0x08A3, {0xA3, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}, RecordPlace::Middle});
    return workbook;
}

}  // namespace biff_test
