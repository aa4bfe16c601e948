// Files we write, judged by readers we did not write. Spreadsheet programs that are not installed are skipped.
#include "SampleWorkbook.h"

#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace xls;
namespace fs = std::filesystem;

namespace {

const std::string kScripts = BRINDLEMOOR_SOURCE_DIR "/tests/workbook/engine/biff/";

struct CommandResult {
    int status;
    std::string output;
};

CommandResult run(const std::string& command) {
    CommandResult result{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), n);
    result.status = pclose(pipe);
    return result;
}

bool installed(const std::string& program) { return run("command -v " + program).status == 0; }

class IndependentReaders : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("biff-readers-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string save(const Workbook& workbook, const std::string& name) {
        const std::vector<uint8_t> bytes = writeWorkbook(workbook);
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }

    std::string soffice(const std::string& args) {
        return "soffice -env:UserInstallation=file://" + (dir_ / "profile").string() + " --headless " + args;
    }

    fs::path dir_;
};

// A report grid with row totals, column totals, a subtotal and a total, as the template computes them.
Workbook reportWorkbook() {
    Workbook workbook;
    Sheet sheet;
    sheet.name = "Expense report";
    const double amounts[2][4] = {{120.5, 45.08, 20.0, 12.5}, {200.0, 0.0, 35.87, 14.99}};
    for (uint16_t r = 0; r < 2; ++r) {
        for (uint16_t c = 0; c < 4; ++c) sheet.at(uint16_t(10 + r), uint16_t(4 + c)).value = amounts[r][c];
        sheet.at(uint16_t(10 + r), 3).value = std::string("Description");
        sheet.at(uint16_t(10 + r), 12).formula = Formula{
            compileFormula("SUM(E" + std::to_string(11 + r) + ":L" + std::to_string(11 + r) + ")"), 0.0, true, {}};
    }
    for (uint16_t c = 4; c < 8; ++c) {
        const std::string letter(1, char('A' + c));
        sheet.at(25, c).formula = Formula{compileFormula("SUM(" + letter + "11:" + letter + "25)"), 0.0, true, {}};
    }
    sheet.at(26, 12).formula = Formula{compileFormula("SUM(M11:M25)"), 0.0, true, {}};
    sheet.at(28, 12).formula = Formula{compileFormula("(M27-M28)"), 0.0, true, {}};
    sheet.at(3, 12).formula = Formula{compileFormula("MIN(A11:A25)"), 0.0, true, {}};
    workbook.sheets.push_back(sheet);
    recalculate(workbook);
    return workbook;
}

std::vector<std::vector<std::string>> readCsv(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ',')) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

TEST_F(IndependentReaders, XlrdSeesCellsFormatsMergesWidthsHeightsAndHiddenGridlines) {
    const std::string path = save(biff_test::sampleWorkbook(), "sample.xls");
    // The file states built-in 44's code, as the program that defined it writes it.
    const std::string accounting = R"(_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_))";
    std::ofstream(dir_ / "expected.json") << R"({"sheet": "Expense report", "cells": [
        [1, 1, "text", "Expense report", "General"],
        [10, 4, "number", 12.5, ")" << accounting
                                          << R"("],
        [10, 5, "text", "7.25", ")" << accounting
                                          << R"("],
        [10, 6, "bool", null, ")" << accounting
                                          << R"("],
        [10, 7, "error", null, ")" << accounting
                                          << R"("],
        [10, 8, "blank", null, ")" << accounting
                                          << R"("],
        [3, 12, "date", null, "m/d/yyyy;;"]],
      "merges": [[1, 3, 1, 13], [9, 10, 8, 10], [0, 1, 11, 13]],
      "widths": [[0, 146], [1, 2925], [3, 7460], [6, 2852], [9, 914]],
      "heights": [[0, 330], [1, 510], [10, 342]],
      "gridlines": false, "names": ["Print_Area"]})";
    const CommandResult result =
        run("/usr/bin/python3 " + kScripts + "check_with_xlrd.py " + path + " " + (dir_ / "expected.json").string());
    EXPECT_EQ(result.status, 0) << result.output;
}

TEST_F(IndependentReaders, OlefileFindsTheWorkbookClassAndNeutralSummaryStreams) {
    const CommandResult result =
        run("/usr/bin/python3 " + kScripts + "check_with_olefile.py " + save(biff_test::sampleWorkbook(), "s.xls"));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("Workbook "), std::string::npos);
    EXPECT_NE(result.output.find("\x05SummaryInformation 72"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("\x05"
                                 "DocumentSummaryInformation 72"),
              std::string::npos);
    EXPECT_NE(result.output.find("codepage 1252 1252"), std::string::npos);
    EXPECT_NE(result.output.find("root class 00020820-0000-0000-C000-000000000046"), std::string::npos)
        << result.output;
}

TEST_F(IndependentReaders, LibreOfficeTotalsEqualOurCachedOnes) {
    if (!installed("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    const Workbook workbook = reportWorkbook();
    const std::string path = save(workbook, "report.xls");
    const CommandResult result =
        run(soffice("--convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false' --outdir " +
                    dir_.string() + " " + path));
    ASSERT_EQ(result.status, 0) << result.output;
    const auto rows = readCsv(dir_ / "report.csv");
    int compared = 0;
    for (const auto& [key, cell] : workbook.sheets[0].cells) {
        if (!cell.formula) continue;
        const size_t row = key >> 16, col = key & 0xFFFF;
        ASSERT_LT(row, rows.size());
        ASSERT_LT(col, rows[row].size());
        EXPECT_NEAR(std::stod(rows[row][col]), std::get<double>(cell.formula->cached), 1e-9) << row << "," << col;
        ++compared;
    }
    EXPECT_EQ(compared, 9);
    EXPECT_NEAR(std::get<double>(workbook.sheets[0].find(26, 12)->formula->cached), 448.94, 1e-9);
}

TEST_F(IndependentReaders, GnumericOpensWithoutComplaint) {
    if (!installed("ssconvert")) GTEST_SKIP() << "Gnumeric is not installed";
    for (const auto& [name, workbook] :
         {std::pair{"sample.xls", biff_test::sampleWorkbook()}, std::pair{"report.xls", reportWorkbook()}}) {
        const std::string path = save(workbook, name);
        const CommandResult result = run("ssconvert " + path + " " + (dir_ / (std::string(name) + ".csv")).string());
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(result.output.find("WARNING"), std::string::npos) << result.output;
        EXPECT_EQ(result.output.find("CRITICAL"), std::string::npos) << result.output;
    }
}

TEST_F(IndependentReaders, LibreOfficeWrittenWorkbookOpensInOurReader) {
    if (!installed("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    const std::string path = save(reportWorkbook(), "ours.xlt");
    fs::create_directories(dir_ / "lo");
    const CommandResult result = run(soffice("--convert-to xls --outdir " + (dir_ / "lo").string() + " " + path));
    ASSERT_EQ(result.status, 0) << result.output;
    std::ifstream in(dir_ / "lo" / "ours.xls", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    Workbook theirs = readWorkbook(bytes);
    ASSERT_FALSE(theirs.sheets.empty());
    Sheet& sheet = theirs.sheets[0];
    EXPECT_EQ(sheet.name, "Expense report");
    ASSERT_NE(sheet.find(26, 12), nullptr);
    ASSERT_TRUE(sheet.find(26, 12)->formula);
    EXPECT_EQ(formulaText(sheet.find(26, 12)->formula->tokens), "SUM(M11:M25)");
    sheet.at(10, 4).value = 1000.0;
    recalculate(theirs);
    EXPECT_NEAR(std::get<double>(sheet.find(26, 12)->formula->cached), 448.94 - 120.5 + 1000.0, 1e-9);
    EXPECT_EQ(readWorkbook(writeWorkbook(theirs)).sheets[0].cells, sheet.cells);
}

}  // namespace
