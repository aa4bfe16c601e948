// Workbooks saved by other programs (tools/make-producer-fixtures.sh, from fixtures/expenses.csv): the
// reader takes their cells, types, formulas' cached results, non-Latin text and dates as the producer
// wrote them, so it is proven against more than our own writer.
#include "xls/Formula.h"
#include "xls/NumberFormat.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace xls;

namespace {

Workbook readFixture(const std::string& name) {
    std::ifstream in(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/engine/fixtures/" + name, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_FALSE(bytes.empty()) << name;
    return readWorkbook(bytes);
}

const Cell& cellAt(const Sheet& sheet, const char* a1) {
    static const Cell kNone;
    const uint16_t col = uint16_t(a1[0] - 'A');
    const uint16_t row = uint16_t(std::stoi(a1 + 1) - 1);
    const Cell* cell = sheet.find(row, col);
    EXPECT_NE(cell, nullptr) << a1;
    return cell ? *cell : kNone;
}

// What a cell shows: its value (a formula's cached result) under its own number format.
std::string shown(const Workbook& workbook, const Sheet& sheet, const char* a1) {
    const Cell& cell = cellAt(sheet, a1);
    const Value& value = cell.formula ? cell.formula->cached : cell.value;
    return formatValue(value, workbook.numberFormatCode(workbook.formats.at(cell.xf).numFmt), LocaleInfo{}, 11,
                       workbook.date1904)
        .plain();
}

std::string formulaOf(const Sheet& sheet, const char* a1) {
    const Cell& cell = cellAt(sheet, a1);
    return cell.formula ? formulaText(cell.formula->tokens) : "(no formula)";
}

class ProducerFixture : public testing::TestWithParam<const char*> {
protected:
    Workbook workbook = readFixture(GetParam());
    const Sheet& sheet() const { return workbook.sheets.at(0); }
};

TEST_P(ProducerFixture, TextAndNumbersAreTheProducers) {
    ASSERT_EQ(workbook.sheets.size(), 1u);
    EXPECT_EQ(sheet().usedRange(), (Range{0, 0, 5, 3}));
    EXPECT_EQ(cellAt(sheet(), "A1").value, Value(std::string("Item")));
    EXPECT_EQ(cellAt(sheet(), "D1").value, Value(std::string("Note")));
    EXPECT_EQ(cellAt(sheet(), "A6").value, Value(std::string("Checks")));
    EXPECT_EQ(cellAt(sheet(), "B2").value, Value(120.5));
    EXPECT_EQ(cellAt(sheet(), "B3").value, Value(-42.25));
    EXPECT_EQ(cellAt(sheet(), "B4").value, Value(17.0));
}

TEST_P(ProducerFixture, NonLatinTextKeepsEveryCharacter) {
    EXPECT_EQ(cellAt(sheet(), "D2").value, Value(std::string("Z\u00fcrich")));
    EXPECT_EQ(cellAt(sheet(), "D3").value,
              Value(std::string("\u03a4\u03b9\u03bc\u03bf\u03bb\u03cc\u03b3\u03b9\u03bf")));
    EXPECT_EQ(cellAt(sheet(), "D4").value, Value(std::string("\u6771\u4eac")));
}

TEST_P(ProducerFixture, DatesAreSerialsShownAsDates) {
    EXPECT_FALSE(workbook.date1904);
    EXPECT_EQ(cellAt(sheet(), "C2").value, Value(45366.0));
    EXPECT_EQ(shown(workbook, sheet(), "C2"), "2024-03-15");
    EXPECT_EQ(shown(workbook, sheet(), "C3"), "2024-03-16");
    EXPECT_EQ(shown(workbook, sheet(), "C4"), "2024-03-17");
}

TEST_P(ProducerFixture, FormulasKeepTheirCachedResults) {
    EXPECT_EQ(formulaOf(sheet(), "B5"), "SUM(B2:B4)");
    EXPECT_EQ(cellAt(sheet(), "B5").formula->cached, Value(95.25));
    EXPECT_EQ(formulaOf(sheet(), "C5"), "MAX(C2:C4)");
    EXPECT_EQ(cellAt(sheet(), "C5").formula->cached, Value(45368.0));
    EXPECT_EQ(cellAt(sheet(), "C6").formula->cached, Value(ErrorCode::Div0));
    EXPECT_EQ(cellAt(sheet(), "D6").formula->cached, Value(-84.5));
}

TEST_P(ProducerFixture, RecalculationAgreesWithTheProducer) {
    Workbook recalculated = workbook;
    recalculate(recalculated);
    for (const char* a1 : {"B5", "C5", "D6"})
        EXPECT_EQ(cellAt(recalculated.sheets.at(0), a1).formula->cached, cellAt(sheet(), a1).formula->cached) << a1;
}

TEST_P(ProducerFixture, OurRewriteShowsTheSameCells) {
    const Workbook rewritten = readWorkbook(writeWorkbook(workbook));
    const Sheet& again = rewritten.sheets.at(0);
    EXPECT_EQ(again.cells, sheet().cells);
    for (const char* a1 : {"A1", "B2", "C2", "C5", "D3", "B5", "C6"})
        EXPECT_EQ(shown(rewritten, again, a1), shown(workbook, sheet(), a1)) << a1;
}

INSTANTIATE_TEST_SUITE_P(Producers, ProducerFixture,
                         testing::Values("libreoffice-expenses.xls", "gnumeric-expenses.xls"), [](const auto& info) {
                             return std::string(info.param).substr(0, std::string(info.param).find('-'));
                         });

// Where the producers differ, each is held to what it wrote.
TEST(ProducerFixtures, GnumericKeepsBooleanAndTextResults) {
    const Workbook workbook = readFixture("gnumeric-expenses.xls");
    const Sheet& sheet = workbook.sheets.at(0);
    EXPECT_EQ(sheet.name, "expenses.csv");
    EXPECT_EQ(cellAt(sheet, "B6").formula->cached, Value(true));
    EXPECT_EQ(cellAt(sheet, "D5").formula->cached, Value(std::string("HotelMeals")));
    EXPECT_EQ(shown(workbook, sheet, "C5"), "2024-03-17");
}

TEST(ProducerFixtures, LibreOfficeStoresComparisonsAsNumbers) {
    const Workbook workbook = readFixture("libreoffice-expenses.xls");
    const Sheet& sheet = workbook.sheets.at(0);
    EXPECT_EQ(sheet.name, "expenses");
    EXPECT_EQ(cellAt(sheet, "B6").formula->cached, Value(1.0));
}

}  // namespace
