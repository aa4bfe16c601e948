#include "workbook/template/ExpenseTemplate.h"
#include "workbook/template/TemplateBytes.h"
#include "xls/A1Reference.h"
#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::vector<uint8_t> embedded() {
    const QByteArray bytes = TemplateBytes();
    return {bytes.begin(), bytes.end()};
}

const xls::Cell& cellAt(const xls::Sheet& sheet, const char* address) {
    const xls::Range r = xls::a1(address);
    const xls::Cell* cell = sheet.find(r.firstRow, r.firstCol);
    if (!cell) throw std::runtime_error(std::string("no cell at ") + address);
    return *cell;
}

std::string formulaAt(const xls::Sheet& sheet, const char* address) {
    const xls::Cell& cell = cellAt(sheet, address);
    return cell.formula ? xls::formulaText(cell.formula->tokens) : std::string();
}

TEST(TemplateEmbedding, EmbeddedBytesAreWhatTheDescriptionProduces) {
    EXPECT_EQ(embedded(), xls::writeWorkbook(BuildExpenseTemplate()));
}

TEST(TemplateDescription, ReadsBackAsTheDescribedForm) {
    const xls::Workbook book = xls::readWorkbook(embedded());
    ASSERT_EQ(book.sheets.size(), 1u);
    const xls::Sheet& sheet = book.sheets.front();
    EXPECT_TRUE(book.isTemplate);
    EXPECT_EQ(sheet.name, "Expense report");
    EXPECT_EQ(sheet.usedRange(), xls::a1("B1:N29"));
    EXPECT_FALSE(sheet.showGridlines);
    EXPECT_EQ(sheet.printArea, xls::a1("A1:M29"));
    EXPECT_EQ(sheet.page.orientation, xls::Orientation::Landscape);
    EXPECT_TRUE(sheet.page.fitToPage);
    EXPECT_TRUE(sheet.page.centerHorizontally);
    EXPECT_DOUBLE_EQ(sheet.page.marginBottom, 1.0);

    EXPECT_EQ(cellAt(sheet, "K7").value, xls::Value(std::string("    SSN")));
    EXPECT_EQ(cellAt(sheet, "F28").value, xls::Value(std::string("NOTES: ")));
    EXPECT_EQ(cellAt(sheet, "L10").value, xls::Value(std::string("Misc.")));

    EXPECT_EQ(formulaAt(sheet, "M11"), "SUM(E11:L11)");
    EXPECT_EQ(formulaAt(sheet, "M25"), "SUM(E25:L25)");
    EXPECT_EQ(formulaAt(sheet, "I26"), "SUM(I11:I25)");
    EXPECT_EQ(formulaAt(sheet, "J26"), "");
    EXPECT_EQ(formulaAt(sheet, "M29"), "(M27-M28)");
    EXPECT_EQ(formulaAt(sheet, "M4"), "MIN(A11:A25)");
    EXPECT_EQ(cellAt(sheet, "M27").formula->cached, xls::Value(0.0));

    const auto numFmt = [&](const char* at) {
        return book.numberFormatCode(book.formats.at(cellAt(sheet, at).xf).numFmt);
    };
    EXPECT_EQ(numFmt("B11"), "m/d/yyyy");
    EXPECT_EQ(numFmt("E26"), book.numberFormatCode(44));
    EXPECT_EQ(numFmt("M5"), "m/d/yyyy;;");
    EXPECT_EQ(numFmt("M8"), "@");
    EXPECT_EQ(numFmt("C4"), "General");

    for (const char* merged : {"B2:M3", "I17:J17", "I24:J24", "G29:J29"})
        EXPECT_NE(std::find(sheet.merges.begin(), sheet.merges.end(), xls::a1(merged)), sheet.merges.end()) << merged;
    for (const char* open : {"I18:J18", "I23:J23"})
        EXPECT_EQ(std::find(sheet.merges.begin(), sheet.merges.end(), xls::a1(open)), sheet.merges.end()) << open;
}

// An independent reader's view: labels, cached results, formats, merges, widths, heights, view.
// The Debian package of xlrd is asked, whatever python3 comes first on the path.
TEST(TemplateIndependentReaders, XlrdReadsTheDescribedForm) {
    if (std::system("/usr/bin/python3 -c 'import xlrd' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-xlrd is not installed";
    const std::string path = std::string(BRINDLEMOOR_BINARY_DIR) + "/template_test_copy.xlt";
    const std::vector<uint8_t> bytes = embedded();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const std::string command =
        "/usr/bin/python3 " BRINDLEMOOR_SOURCE_DIR "/tests/workbook/template/check_template.py " + path;
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::remove(path.c_str());
}

}  // namespace
