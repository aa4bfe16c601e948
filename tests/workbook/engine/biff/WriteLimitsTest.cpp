// What the file format cannot hold is refused before anything is written, naming the first
// offender; what just fits is written whole and read back unchanged.
#include "SampleWorkbook.h"

#include "xls/Error.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

using namespace xls;

namespace {

constexpr uint8_t kPtgInt = 0x1E;
constexpr uint8_t kPtgParen = 0x15;
constexpr size_t kFormulaRecordFixed = 22;

// "(((…(1)…)))": a valid expression of exactly this many bytes.
std::vector<uint8_t> formulaOfSize(size_t bytes) {
    std::vector<uint8_t> tokens(bytes, kPtgParen);
    const uint8_t one[] = {kPtgInt, 1, 0};
    std::copy(std::begin(one), std::end(one), tokens.begin());
    return tokens;
}

Sheet& sheetOf(Workbook& workbook) { return workbook.sheets.at(0); }

struct Limit {
    const char* what;
    // Sets the thing to its largest writable value (over = false) or one past it (over = true).
    std::function<void(Workbook&, bool over)> set;
    // The refusal names this.
    const char* named;
    // The largest writable value reads back as written.
    std::function<bool(const Workbook& written, const Workbook& read)> survives;
};

const std::vector<Limit>& limits() {
    static const std::vector<Limit> all{
        {"cell column", [](Workbook& w, bool over) { sheetOf(w).at(5, over ? 256 : 255).value = 1.0; },
         "cell beyond column IV (row 6, column 257)",
         [](const Workbook&, const Workbook& r) { return r.sheets[0].find(5, 255) != nullptr; }},
        {"merged range",
         [](Workbook& w, bool over) {
             sheetOf(w).merges.push_back({50, 250, 52, uint16_t(over ? 256 : 255)});
         },
         "merged range", [](const Workbook& w, const Workbook& r) { return r.sheets[0].merges == w.sheets[0].merges; }},
        {"merged range ending before it starts",
         [](Workbook& w, bool over) {
             sheetOf(w).merges.push_back({60, 7, 60, uint16_t(over ? 6 : 7)});
         },
         "merged range", [](const Workbook& w, const Workbook& r) { return r.sheets[0].merges == w.sheets[0].merges; }},
        {"column settings",
         [](Workbook& w, bool over) {
             sheetOf(w).columns.push_back({200, uint16_t(over ? 256 : 255), 500, 0, true});
         },
         "column settings",
         [](const Workbook& w, const Workbook& r) { return r.sheets[0].columns == w.sheets[0].columns; }},
        {"print area",
         [](Workbook& w, bool over) {
             sheetOf(w).printArea = Range{0, 0, 30, uint16_t(over ? 256 : 255)};
         },
         "print area",
         [](const Workbook& w, const Workbook& r) { return r.sheets[0].printArea == w.sheets[0].printArea; }},
        {"active cell",
         [](Workbook& w, bool over) {
             sheetOf(w).activeCell = {7, uint16_t(over ? 256 : 255)};
         },
         "active cell",
         [](const Workbook& w, const Workbook& r) { return r.sheets[0].activeCell == w.sheets[0].activeCell; }},
        {"header", [](Workbook& w, bool over) { sheetOf(w).page.header = biff_test::mixedText(over ? 256 : 255, 4); },
         "header of \"Expense report\" is longer than 255",
         [](const Workbook& w, const Workbook& r) { return r.sheets[0].page.header == w.sheets[0].page.header; }},
        {"footer", [](Workbook& w, bool over) { sheetOf(w).page.footer = std::string(over ? 256 : 255, 'f'); },
         "footer of \"Expense report\" is longer than 255",
         [](const Workbook& w, const Workbook& r) { return r.sheets[0].page.footer == w.sheets[0].page.footer; }},
        {"sheet name", [](Workbook& w, bool over) { sheetOf(w).name = biff_test::mixedText(over ? 32 : 31, 6); },
         "name is longer than 31",
         [](const Workbook& w, const Workbook& r) { return r.sheets[0].name == w.sheets[0].name; }},
        {"font name", [](Workbook& w, bool over) { w.fonts.back().name = std::string(over ? 32 : 31, 'F'); },
         "font name \"FFFF", [](const Workbook& w, const Workbook& r) { return r.fonts == w.fonts; }},
        {"number format",
         [](Workbook& w, bool over) { w.numberFormats[190] = '"' + std::string(over ? 254 : 253, 'n') + '"'; },
         "number format \"\"nnn",
         [](const Workbook& w, const Workbook& r) { return r.numberFormats == w.numberFormats; }},
        {"indent", [](Workbook& w, bool over) { w.formats.back().indent = over ? 16 : 15; }, "indented by more than 15",
         [](const Workbook& w, const Workbook& r) { return r.formats == w.formats; }},
        {"row height",
         [](Workbook& w, bool over) {
             sheetOf(w).rows[70] = RowInfo{uint16_t(over ? 0x8000 : 0x7FFF), true, false, {}};
         },
         "row 71 of \"Expense report\" is taller",
         [](const Workbook& w, const Workbook& r) { return r.sheets[0].rows == w.sheets[0].rows; }},
        {"default row height",
         [](Workbook& w, bool over) { sheetOf(w).defaultRowHeightTwips = over ? 0x8000 : 0x7FFF; },
         "default row height",
         [](const Workbook& w, const Workbook& r) {
             return r.sheets[0].defaultRowHeightTwips == w.sheets[0].defaultRowHeightTwips;
         }},
        {"least zoom", [](Workbook& w, bool over) { sheetOf(w).zoomPercent = over ? 9 : 10; }, "zoom",
         [](const Workbook&, const Workbook& r) { return r.sheets[0].zoomPercent == 10; }},
        {"largest zoom", [](Workbook& w, bool over) { sheetOf(w).zoomPercent = over ? 401 : 400; }, "zoom",
         [](const Workbook&, const Workbook& r) { return r.sheets[0].zoomPercent == 400; }},
        {"print scale", [](Workbook& w, bool over) { sheetOf(w).page.scale = over ? 401 : 400; }, "print scale",
         [](const Workbook&, const Workbook& r) { return r.sheets[0].page.scale == 400; }},
        {"cell text",
         [](Workbook& w, bool over) { sheetOf(w).at(80, 0).value = biff_test::mixedText(over ? 32768 : 32767, 8); },
         "the cell A81 of \"Expense report\" holds text longer than 32,767",
         [](const Workbook& w, const Workbook& r) {
             return r.sheets[0].find(80, 0)->value == w.sheets[0].find(80, 0)->value;
         }},
        {"formula result text",
         [](Workbook& w, bool over) {
             sheetOf(w).at(81, 1).formula = Formula{{kPtgInt, 1, 0}, std::string(over ? 32768 : 32767, 'r'), true, {}};
         },
         "the cell B82 of \"Expense report\" holds text longer than 32,767",
         [](const Workbook& w, const Workbook& r) {
             return r.sheets[0].find(81, 1)->formula == w.sheets[0].find(81, 1)->formula;
         }},
        {"formula",
         [](Workbook& w, bool over) {
             sheetOf(w).at(82, 2).formula = Formula{formulaOfSize(8224 - kFormulaRecordFixed + over), 3.0, true, {}};
         },
         "the cell C83 of \"Expense report\" holds a formula longer",
         [](const Workbook& w, const Workbook& r) {
             return r.sheets[0].find(82, 2)->formula == w.sheets[0].find(82, 2)->formula;
         }},
        {"active sheet", [](Workbook& w, bool over) { w.activeSheet = uint16_t(w.sheets.size() - (over ? 0 : 1)); },
         "the active sheet is not one of the workbook's sheets",
         [](const Workbook& w, const Workbook& r) { return r.activeSheet == w.activeSheet; }},
        {"record kept from the opened file",
         [](Workbook& w, bool over) {
             sheetOf(w).keptRecords.push_back({0x0867, std::vector<uint8_t>(over ? 8225 : 8224, 7)});
         },
         "keeps a record from the opened file longer",
         [](const Workbook& w, const Workbook& r) {
             return r.sheets[0].keptRecords.back() == w.sheets[0].keptRecords.back();
         }},
    };
    return all;
}

std::string refusalOf(const Workbook& workbook) {
    try {
        writeWorkbook(workbook);
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

TEST(BiffWriteLimits, EachLimitIsWrittenWholeAtItsEdgeAndRefusedOnePastIt) {
    for (const Limit& limit : limits()) {
        Workbook atEdge = biff_test::sampleWorkbook();
        limit.set(atEdge, false);
        Workbook read;
        ASSERT_NO_THROW(read = readWorkbook(writeWorkbook(atEdge))) << limit.what;
        EXPECT_TRUE(limit.survives(atEdge, read)) << limit.what;

        Workbook past = biff_test::sampleWorkbook();
        limit.set(past, true);
        const std::string refusal = refusalOf(past);
        EXPECT_NE(refusal.find(limit.named), std::string::npos) << limit.what << ": " << refusal;
    }
}

TEST(BiffWriteLimits, RowsToTheLastOneAreWritable) {
    Workbook workbook = biff_test::sampleWorkbook();
    sheetOf(workbook).at(kMaxRows, 0).value = std::string("last row");
    sheetOf(workbook).merges.push_back({kMaxRows - 1, 3, kMaxRows, 4});
    const Workbook read = readWorkbook(writeWorkbook(workbook));
    EXPECT_EQ(read.sheets[0].find(kMaxRows, 0)->value, Value(std::string("last row")));
    EXPECT_EQ(read.sheets[0].merges, sheetOf(workbook).merges);
}

// The first offender is named, whichever sheet it is on.
TEST(BiffWriteLimits, TheRefusalNamesTheFirstOffenderAcrossSheets) {
    Workbook workbook = biff_test::sampleWorkbook();
    Sheet second = sheetOf(workbook);
    second.name = "Second";
    second.at(3, 300).value = 1.0;
    workbook.sheets.push_back(second);
    sheetOf(workbook).page.footer = std::string(300, 'f');
    EXPECT_NE(refusalOf(workbook).find("footer of \"Expense report\""), std::string::npos);
    sheetOf(workbook).page.footer.clear();
    EXPECT_NE(refusalOf(workbook).find("the sheet \"Second\" has a cell beyond column IV"), std::string::npos);

    EXPECT_NE(refusalOf(Workbook{}).find("at least one sheet"), std::string::npos);
}

// Far past the record limit the length field would wrap: a 100 KB formula once made a file that
// our own reader and other programs rejected.
TEST(BiffWriteLimits, AHundredKilobyteFormulaIsRefusedNotWrapped) {
    Workbook workbook = biff_test::sampleWorkbook();
    sheetOf(workbook).at(90, 0).formula = Formula{formulaOfSize(100 * 1024), 1.0, true, {}};
    EXPECT_NE(refusalOf(workbook).find("holds a formula longer"), std::string::npos);
    EXPECT_THROW(writeWorkbookStream(workbook), Error);
}

// What the check does not name, the record writer still refuses: the sheet list's TABID record
// grows two bytes a sheet and outgrows a record at 4,113 sheets.
TEST(BiffWriteLimits, TheRecordWriterRefusesARecordLongerThanTheFormatHolds) {
    Workbook workbook;
    workbook.sheets.resize(4112);
    for (size_t i = 0; i < workbook.sheets.size(); ++i) workbook.sheets[i].name = "S" + std::to_string(i);
    EXPECT_EQ(refusalOf(workbook), "");
    workbook.sheets.emplace_back().name = "One too many";
    EXPECT_NE(refusalOf(workbook).find("a record of 8226 bytes is longer than the file format's 8,224"),
              std::string::npos)
        << refusalOf(workbook);
}

// Every edge at once still makes a file another reader opens.
TEST(BiffWriteLimits, AWorkbookAtEveryEdgeOpensInXlrd) {
#ifdef _WIN32
    GTEST_SKIP() << "xlrd runs as a Linux python3; the Linux build makes this check";
#endif
    if (!std::filesystem::exists("/usr/bin/python3")) GTEST_SKIP() << "python3 is not installed";
    Workbook workbook = biff_test::sampleWorkbook();
    for (const Limit& limit : limits())
        if (std::string(limit.what) != "least zoom") limit.set(workbook, false);
    const std::vector<uint8_t> bytes = writeWorkbook(workbook);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("biff-limits-" + std::to_string(::getpid()) + ".xls");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const std::string command =
        "/usr/bin/python3 -c \"import sys, xlrd; b = xlrd.open_workbook(sys.argv[1], "
        "formatting_info=True); s = b.sheet_by_index(0); print(len(s.cell_value(80, 0).encode('utf-16-le')) // 2, "
        "s.ncols)\" " +
        path.string() + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = pclose(pipe);
    std::filesystem::remove(path);
    ASSERT_TRUE(got);
    EXPECT_EQ(status, 0) << line;
    EXPECT_EQ(std::string(line), "32767 256\n");
}

}  // namespace
