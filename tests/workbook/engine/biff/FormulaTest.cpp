#include "xls/Error.h"
#include "xls/Formula.h"

#include <gtest/gtest.h>

using namespace xls;

namespace {

Value eval(const Sheet& sheet, const std::string& text) { return evaluate(Workbook{}, sheet, compileFormula(text)); }

// One write with an index built before it, as a host writes into an open workbook.
void writeWith(Sheet& sheet, const FormulaReaders& readers, CellRef at, Value value) {
    const uint32_t key = Sheet::key(at.row, at.col);
    if (storeCellValue(sheet, at, std::move(value))) recalculateReadersOf(sheet, readers, std::span(&key, 1));
}

TEST(FormulaCompile, EmitsTheTokensSpreadsheetsExpect) {
    // SUM over an area: reference-class area, then tFuncVar with one argument and function 4.
    EXPECT_EQ(compileFormula("SUM(E11:L11)"),
              (std::vector<uint8_t>{0x25, 10, 0, 10, 0, 4, 0xC0, 11, 0xC0, 0x42, 1, 4, 0}));
    // Value-class references, subtraction, parentheses.
    EXPECT_EQ(compileFormula("(M27-M28)"),
              (std::vector<uint8_t>{0x44, 26, 0, 12, 0xC0, 0x44, 27, 0, 12, 0xC0, 0x04, 0x15}));
    EXPECT_EQ(compileFormula("MAX($A$1:B2)")[5], 0x00);  // absolute first column and row
    EXPECT_EQ(compileFormula("MIN(A1)").back(), 0);
}

TEST(FormulaCompile, RendersBackToText) {
    for (const std::string text : {"SUM(E11:L11)", "(M27-M28)", "MIN(A11:A25)", "MAX(A1,2.5,-B$3)", "1+2*3/4-5",
                                   "SUM($A$1:$B$2,C3)", "70000+0.25", "SUM()"})
        EXPECT_EQ(formulaText(compileFormula(text)), text);
    EXPECT_EQ(formulaText(compileFormula(" sum( b2:a1 ) ")), "SUM(A1:B2)");
}

TEST(FormulaCompile, RejectsWhatItCannotParse) {
    for (const std::string text : {"", "SUM(A1", "A1+", "FOO(A1)", "A0", "IW1", "A65537", "1+)", "A1 A2", "((((1"})
        EXPECT_THROW(compileFormula(text), Error) << text;
    EXPECT_THROW(compileFormula(std::string(200, '(') + "1" + std::string(200, ')')), Error);
}

TEST(FormulaEvaluate, AggregatesSkipTextBlanksAndBooleansInRanges) {
    Sheet sheet;
    sheet.at(0, 0).value = 1.5;
    sheet.at(0, 1).value = std::string("100");
    sheet.at(0, 2).value = true;
    sheet.at(0, 3).value = Value{};
    sheet.at(0, 4).value = -2.0;
    EXPECT_EQ(eval(sheet, "SUM(A1:F1)"), Value(-0.5));
    EXPECT_EQ(eval(sheet, "MIN(A1:F1)"), Value(-2.0));
    EXPECT_EQ(eval(sheet, "MAX(A1:F1)"), Value(1.5));
    EXPECT_EQ(eval(sheet, "MIN(B1:D1)"), Value(0.0));  // nothing to compare
    EXPECT_EQ(eval(sheet, "MAX(G1:G9)"), Value(0.0));
    EXPECT_EQ(eval(sheet, "SUM(A1,2,-1)"), Value(2.5));
    sheet.at(5, 5).value = ErrorCode::NA;
    EXPECT_EQ(eval(sheet, "SUM(A1:F9)"), Value(ErrorCode::NA));
}

// A range reads only its own cells: not those left or right of it on its rows, whichever rows are
// empty, up to the last row and column of the sheet.
TEST(FormulaEvaluate, RangesReadOnlyTheirOwnCells) {
    Sheet sheet;
    for (uint16_t row = 0; row < 40; row += 3)
        for (uint16_t col : {0, 2, 3, 4, 9}) sheet.at(row, col).value = double(col + 1);
    sheet.at(65535, 255).value = 1000.0;
    sheet.at(65535, 3).value = ErrorCode::Div0;
    EXPECT_EQ(eval(sheet, "SUM(D1:D40)"), Value(14 * 4.0));
    EXPECT_EQ(eval(sheet, "SUM(B1:C40)"), Value(14 * 3.0));
    EXPECT_EQ(eval(sheet, "SUM(C2:E3)"), Value(0.0));
    EXPECT_EQ(eval(sheet, "MAX(C1:I40)"), Value(5.0));
    EXPECT_EQ(eval(sheet, "SUM(IV1:IV65536)"), Value(1000.0));
    EXPECT_EQ(eval(sheet, "SUM(E40:IV65536)"), Value(5.0 + 10.0 + 1000.0));
    EXPECT_EQ(eval(sheet, "SUM(D40:D65536)"), Value(ErrorCode::Div0));
}

TEST(FormulaEvaluate, ArithmeticFollowsSpreadsheetRules) {
    Sheet sheet;
    sheet.at(0, 0).value = std::string(" 12.5 ");
    sheet.at(0, 1).value = std::string("twelve");
    sheet.at(0, 2).value = 0.0;
    EXPECT_EQ(eval(sheet, "A1*2"), Value(25.0));  // text that reads as a number counts
    EXPECT_EQ(eval(sheet, "B1+1"), Value(ErrorCode::Value));
    EXPECT_EQ(eval(sheet, "1/C1"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval(sheet, "1/D1"), Value(ErrorCode::Div0));  // a blank is zero
    EXPECT_EQ(eval(sheet, "-(2+3)*4"), Value(-20.0));
    EXPECT_EQ(eval(sheet, "D1"), Value(0.0));
    EXPECT_EQ(eval(sheet, "A1:B1+1"), Value(ErrorCode::Value));
}

TEST(FormulaRecalculate, ComputesDependenciesFirstAndSurvivesCycles) {
    Workbook workbook;
    Sheet sheet;
    // M27 reads M11..M25, which read their rows; written in an order that defeats a single pass.
    sheet.at(26, 12).formula = Formula{compileFormula("SUM(M11:M25)"), 0.0, true, {}};
    sheet.at(28, 12).formula = Formula{compileFormula("(M27-M28)"), 0.0, true, {}};
    for (uint16_t row = 10; row < 25; ++row) {
        sheet.at(row, 12).formula = Formula{
            compileFormula("SUM(E" + std::to_string(row + 1) + ":L" + std::to_string(row + 1) + ")"), 0.0, true, {}};
        sheet.at(row, 4).value = 1.25 * row;
        sheet.at(row, 5).value = std::string("note");
    }
    sheet.at(27, 12).value = 10.0;
    sheet.at(0, 0).formula = Formula{compileFormula("B1+1"), 7.0, true, {}};
    sheet.at(0, 1).formula = Formula{compileFormula("A1+1"), 7.0, true, {}};
    // Tokens outside the evaluated set keep their cached result.
    sheet.at(2, 0).formula = Formula{{0x3A, 0, 0, 0, 0, 0, 0}, std::string("kept"), true, {}};
    workbook.sheets.push_back(sheet);

    recalculate(workbook);
    const Sheet& s = workbook.sheets[0];
    double subtotal = 0;
    for (uint16_t row = 10; row < 25; ++row) subtotal += 1.25 * row;
    EXPECT_EQ(s.find(26, 12)->formula->cached, Value(subtotal));
    EXPECT_EQ(s.find(28, 12)->formula->cached, Value(subtotal - 10));
    EXPECT_TRUE(std::holds_alternative<double>(s.find(0, 0)->formula->cached));
    EXPECT_EQ(s.find(2, 0)->formula->cached, Value(std::string("kept")));
}

TEST(FormulaRecalculate, LongChainsDoNotExhaustTheStack) {
    Workbook workbook;
    Sheet sheet;
    sheet.at(0, 0).value = 1.0;
    for (uint16_t row = 1; row < 60000; ++row)
        sheet.at(row, 0).formula = Formula{compileFormula("A" + std::to_string(row) + "+1"), 0.0, true, {}};
    workbook.sheets.push_back(sheet);
    recalculate(workbook);
    EXPECT_EQ(workbook.sheets[0].find(59999, 0)->formula->cached, Value(60000.0));
}

// A cell write recomputes what reads the cell, through chains of formulas, and nothing else.
TEST(FormulaAutomaticCalculation, AWriteBringsEveryDependentUpToDate) {
    Sheet sheet;
    sheet.at(10, 12).formula = Formula{compileFormula("SUM(E11:L11)"), 0.0, true, {}};
    sheet.at(11, 12).formula = Formula{compileFormula("SUM(E12:L12)"), 0.0, true, {}};
    sheet.at(25, 4).formula = Formula{compileFormula("SUM(E11:E25)"), 0.0, true, {}};
    sheet.at(26, 12).formula = Formula{compileFormula("SUM(M11:M25)"), 0.0, true, {}};
    sheet.at(28, 12).formula = Formula{compileFormula("(M27-M28)"), 0.0, true, {}};
    sheet.at(0, 0).formula = Formula{compileFormula("B1+1"), 7.0, true, {}};  // does not read what is written
    sheet.at(3, 0).formula = Formula{compileFormula("A5"), 0.0, true, {}};    // a single-cell reference
    sheet.at(2, 3).formula = Formula{{0x3A, 0, 0, 0, 0, 0, 0}, std::string("kept"), true, {}};

    writeCellValue(sheet, {10, 4}, 12.5);
    writeCellValue(sheet, {10, 7}, 7.5);
    EXPECT_EQ(sheet.find(10, 12)->formula->cached, Value(20.0));
    EXPECT_EQ(sheet.find(25, 4)->formula->cached, Value(12.5));
    EXPECT_EQ(sheet.find(26, 12)->formula->cached, Value(20.0));
    EXPECT_EQ(sheet.find(28, 12)->formula->cached, Value(20.0));
    EXPECT_EQ(sheet.find(11, 12)->formula->cached, Value(0.0));
    EXPECT_EQ(sheet.find(0, 0)->formula->cached, Value(7.0));
    EXPECT_EQ(sheet.find(2, 3)->formula->cached, Value(std::string("kept")));

    writeCellValue(sheet, {27, 12}, 5.0);  // the advance lowers the total
    EXPECT_EQ(sheet.find(28, 12)->formula->cached, Value(15.0));
    writeCellValue(sheet, {4, 0}, std::string("text"));
    EXPECT_EQ(sheet.find(3, 0)->formula->cached, Value(std::string("text")));

    // Emptying a cell recomputes too, and a cell with no format leaves the sheet.
    writeCellValue(sheet, {10, 4}, std::monostate{});
    EXPECT_EQ(sheet.find(10, 4), nullptr);
    EXPECT_EQ(sheet.find(28, 12)->formula->cached, Value(2.5));
    sheet.at(11, 4).xf = 3;
    writeCellValue(sheet, {11, 4}, std::monostate{});
    ASSERT_NE(sheet.find(11, 4), nullptr);

    // A value written over a formula replaces it, and what read the formula follows.
    writeCellValue(sheet, {10, 12}, 100.0);
    EXPECT_FALSE(sheet.find(10, 12)->formula);
    EXPECT_EQ(sheet.find(26, 12)->formula->cached, Value(100.0));
}

// A host builds the index once for an open workbook: it must stay right after writes replaced or
// removed the formulas it names.
TEST(FormulaAutomaticCalculation, OneReaderIndexServesARunOfWrites) {
    Sheet sheet;
    sheet.at(0, 1).formula = Formula{compileFormula("A1*2"), 0.0, true, {}};
    sheet.at(0, 2).formula = Formula{compileFormula("B1+1"), 0.0, true, {}};
    sheet.at(1, 1).formula = Formula{compileFormula("SUM(A1:A3)"), 0.0, true, {}};
    sheet.at(1, 2).formula = Formula{compileFormula("B2+1"), 0.0, true, {}};
    const FormulaReaders readers(sheet);

    writeWith(sheet, readers, {0, 0}, 3.0);
    EXPECT_EQ(sheet.find(0, 1)->formula->cached, Value(6.0));
    EXPECT_EQ(sheet.find(0, 2)->formula->cached, Value(7.0));
    EXPECT_EQ(sheet.find(1, 2)->formula->cached, Value(4.0));

    writeWith(sheet, readers, {0, 1}, 10.0);  // B1 is a value now
    EXPECT_EQ(sheet.find(0, 2)->formula->cached, Value(11.0));
    writeWith(sheet, readers, {1, 1}, std::monostate{});  // B2 leaves the sheet
    ASSERT_EQ(sheet.find(1, 1), nullptr);
    EXPECT_EQ(sheet.find(1, 2)->formula->cached, Value(1.0));

    writeWith(sheet, readers, {0, 0}, 5.0);
    EXPECT_EQ(sheet.find(0, 1)->value, Value(10.0));
    EXPECT_EQ(sheet.find(1, 1), nullptr);
    EXPECT_EQ(sheet.find(0, 2)->formula->cached, Value(11.0));
    EXPECT_EQ(sheet.find(1, 2)->formula->cached, Value(1.0));
}

// A run of stores followed by one recalculation of what reads the stored cells leaves the sheet
// as a recalculation after every write does: chains, areas, replaced formulas, emptied cells.
TEST(FormulaAutomaticCalculation, OneRecalculationAfterARunOfWritesGivesTheSameResults) {
    Sheet each;
    each.at(0, 1).formula = Formula{compileFormula("A1*2"), 0.0, true, {}};
    each.at(0, 2).formula = Formula{compileFormula("B1+C2"), 0.0, true, {}};
    each.at(1, 2).formula = Formula{compileFormula("SUM(A1:A5)"), 0.0, true, {}};
    each.at(2, 2).formula = Formula{compileFormula("MAX(B1:C2)"), 0.0, true, {}};
    each.at(3, 2).formula = Formula{compileFormula("D9"), 0.0, true, {}};  // reads nothing written
    Sheet once = each;
    const std::vector<std::pair<CellRef, Value>> writes{{{0, 0}, 3.0},
                                                        {{2, 0}, 4.0},
                                                        {{2, 0}, 4.0},
                                                        {{1, 2}, 50.0},
                                                        {{4, 0}, std::string("text")},
                                                        {{0, 0}, std::monostate{}},
                                                        {{3, 0}, -1.0}};

    const FormulaReaders readers(once);
    std::vector<uint32_t> changed;
    for (const auto& [at, value] : writes) {
        writeCellValue(each, at, value);
        if (storeCellValue(once, at, value)) changed.push_back(Sheet::key(at.row, at.col));
    }
    recalculateReadersOf(once, readers, changed);

    for (const auto& [key, cell] : each.cells) {
        const Cell* other = once.find(uint16_t(key >> 16), uint16_t(key & 0xFFFF));
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->value, cell.value);
        ASSERT_EQ(bool(other->formula), bool(cell.formula));
        if (cell.formula) {
            EXPECT_EQ(other->formula->cached, cell.formula->cached) << key;
        }
    }
    EXPECT_EQ(once.cells.size(), each.cells.size());
    EXPECT_EQ(once.find(2, 2)->formula->cached, Value(50.0));
}

TEST(FormulaAutomaticCalculation, CyclesAndLongChainsEndWithResults) {
    Sheet sheet;
    sheet.at(0, 0).formula = Formula{compileFormula("B1+C1"), 0.0, true, {}};
    sheet.at(0, 1).formula = Formula{compileFormula("A1+1"), 0.0, true, {}};
    writeCellValue(sheet, {0, 2}, 1.0);
    EXPECT_TRUE(std::holds_alternative<double>(sheet.find(0, 0)->formula->cached));

    Sheet chain;
    for (uint16_t row = 1; row < 60000; ++row)
        chain.at(row, 0).formula = Formula{compileFormula("A" + std::to_string(row) + "+1"), 0.0, true, {}};
    writeCellValue(chain, {0, 0}, 2.0);
    EXPECT_EQ(chain.find(59999, 0)->formula->cached, Value(60001.0));
}

TEST(FormulaEvaluate, MalformedTokensGiveValueErrorNotACrash) {
    Sheet sheet;
    const std::vector<std::vector<uint8_t>> damaged{
        {}, {0x03}, {0x44, 1}, {0x42, 5, 4, 0}, {0x1E, 1, 0, 0x1E, 2, 0}, {0x25, 5, 0, 1, 0, 3, 0, 1, 0}, {0xFF}};
    for (const auto& tokens : damaged) {
        const Value value = evaluate(Workbook{}, sheet, tokens);
        EXPECT_TRUE(std::holds_alternative<ErrorCode>(value) || std::holds_alternative<double>(value));
    }
}

}  // namespace
