// The records we write stand in the order the published workbook grammar gives, the sheet's row
// blocks are indexed as that grammar asks, and xlrd walks the same records we do.
#include "SampleWorkbook.h"

#include "xls/Cfb.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace xls;
namespace fs = std::filesystem;

namespace {

struct Record {
    size_t offset;
    uint16_t id;
    std::vector<uint8_t> data;
};

uint16_t u16(const std::vector<uint8_t>& data, size_t at) { return uint16_t(data.at(at) | data.at(at + 1) << 8); }
uint32_t u32(const std::vector<uint8_t>& data, size_t at) { return u16(data, at) | uint32_t(u16(data, at + 2)) << 16; }

std::vector<uint8_t> workbookStream(const std::vector<uint8_t>& file) {
    for (cfb::Stream& stream : cfb::read(file))
        if (stream.name == u"Workbook") return std::move(stream.data);
    return {};
}

std::vector<Record> recordsOf(const std::vector<uint8_t>& stream) {
    std::vector<Record> records;
    size_t at = 0;
    while (at + 4 <= stream.size()) {
        const uint16_t id = u16(stream, at), length = u16(stream, at + 2);
        if (id == 0 && length == 0) break;  // the padding after the last substream
        records.push_back(Record{at, id, {stream.begin() + long(at + 4), stream.begin() + long(at + 4 + length)}});
        at += 4 + length;
    }
    return records;
}

// Substreams: from each BOF to its EOF.
std::vector<std::vector<Record>> substreamsOf(const std::vector<Record>& records) {
    std::vector<std::vector<Record>> substreams;
    for (const Record& record : records) {
        if (record.id == 0x0809) substreams.emplace_back();
        substreams.back().push_back(record);
    }
    return substreams;
}

// Each record's place in the grammar: the records of one group may repeat, groups follow in order.
std::map<uint16_t, int> placesOf(const std::vector<std::vector<uint16_t>>& groups) {
    std::map<uint16_t, int> places;
    for (size_t i = 0; i < groups.size(); ++i)
        for (uint16_t id : groups[i]) places.emplace(id, int(i));
    return places;
}

// BOF, [Template], INTERFACE, WriteAccess, CodePage, DSF, RRTabId, PROTECTION, Window1, Backup, HideObj,
// Date1904, CalcPrecision, RefreshAll, BookBool, FORMATTING, UsesELFs, BUNDLESHEET, METADATA, Country,
// SUPBOOK, LBL, SHAREDSTRINGS, ExtSST, EOF.
const std::map<uint16_t, int> kGlobalsOrder =
    placesOf({{0x0809}, {0x0060}, {0x00E1}, {0x00C1}, {0x00E2}, {0x005C}, {0x0042}, {0x0161}, {0x013D},
              {0x0019}, {0x0012}, {0x0013}, {0x01AF}, {0x01BC}, {0x003D}, {0x0040}, {0x008D}, {0x0022},
              {0x000E}, {0x01B7}, {0x00DA}, {0x0031}, {0x041E}, {0x00E0}, {0x0293}, {0x0092}, {0x0160},
              {0x0085}, {0x08A3}, {0x008C}, {0x01AE}, {0x0017}, {0x0018}, {0x00FC}, {0x00FF}, {0x000A}});
constexpr std::array<uint16_t, 11> kRequiredGlobals{0x00E1, 0x005C, 0x0042, 0x0019, 0x0012, 0x0013,
                                                    0x01AF, 0x01BC, 0x003D, 0x0160, 0x008C};

// BOF, Index, GLOBALS, PAGESETUP, [PROTECTION], COLUMNS, Dimensions, CELLTABLE, WINDOW, [DxGCol],
// MergeCells, EOF. The cell table (ROW, cells, DBCELL) is one group here; its inner order is checked
// on its own.
const std::map<uint16_t, int> kSheetOrder =
    placesOf({{0x0809}, {0x020B}, {0x000D}, {0x000C},
              {0x000F}, {0x0011}, {0x0010}, {0x005F},
              {0x002A}, {0x002B}, {0x0082}, {0x0080},
              {0x0225}, {0x0081}, {0x0014}, {0x0015},
              {0x0083}, {0x0084}, {0x0026}, {0x0027},
              {0x0028}, {0x0029}, {0x00A1}, {0x0012},
              {0x0055}, {0x007D}, {0x0200}, {0x0208, 0x0201, 0x0203, 0x0205, 0x0006, 0x0207, 0x00FD, 0x00BE, 0x00D7},
              {0x023E}, {0x00A0}, {0x001D}, {0x0099},
              {0x00E5}, {0x000A}});

void expectGrammarOrder(const std::vector<Record>& substream, const std::map<uint16_t, int>& order) {
    int place = 0;
    for (const Record& record : substream) {
        const auto it = order.find(record.id);
        ASSERT_NE(it, order.end()) << "record " << std::hex << record.id << " is not in the grammar table";
        EXPECT_GE(it->second, place) << "record " << std::hex << record.id << " stands too late";
        place = it->second;
    }
}

size_t countOf(const std::vector<Record>& substream, uint16_t id) {
    return size_t(std::count_if(substream.begin(), substream.end(), [id](const Record& r) { return r.id == id; }));
}

// The sample with rows in several blocks, one of them holding only a row format, one empty
// block between them, and a wide row.
Workbook blockedWorkbook() {
    Workbook workbook = biff_test::sampleWorkbook();
    Sheet& sheet = workbook.sheets[0];
    for (uint16_t row : {40, 63, 64, 300})
        for (uint16_t col = 0; col < 3; ++col) sheet.at(row, col).value = double(row + col);
    sheet.rows[45].heightTwips = 600;
    sheet.rows[45].customHeight = true;
    for (uint16_t col = 0; col < 200; ++col) sheet.at(301, col).value = std::string("wide");
    return workbook;
}

TEST(RecordOrder, GlobalsFollowTheGrammarWithNeutralProtectionAndNoUserName) {
    const auto records = recordsOf(workbookStream(writeWorkbook(blockedWorkbook())));
    const auto substreams = substreamsOf(records);
    ASSERT_EQ(substreams.size(), 3u);
    const std::vector<Record>& globals = substreams[0];
    expectGrammarOrder(globals, kGlobalsOrder);
    for (uint16_t id : kRequiredGlobals) EXPECT_EQ(countOf(globals, id), 1u) << std::hex << id;
    for (const Record& record : globals) {
        if (record.id == 0x005C) {
            ASSERT_EQ(record.data.size(), 112u);
            EXPECT_EQ(u16(record.data, 0), 2);  // two spaces: no user name
            EXPECT_TRUE(std::all_of(record.data.begin() + 3, record.data.end(), [](uint8_t b) { return b == ' '; }));
        }
        const bool off = record.id == 0x0019 || record.id == 0x0012 || record.id == 0x0013 || record.id == 0x01AF ||
                         record.id == 0x01BC || record.id == 0x0160;
        if (off) {
            EXPECT_EQ(record.data, (std::vector<uint8_t>{0, 0})) << std::hex << record.id;
        }
    }
}

TEST(RecordOrder, SheetRowBlocksAreIndexedAndEachEndsInItsDbCell) {
    const Workbook workbook = blockedWorkbook();
    const auto substreams = substreamsOf(recordsOf(workbookStream(writeWorkbook(workbook))));
    for (size_t i = 1; i < substreams.size(); ++i) expectGrammarOrder(substreams[i], kSheetOrder);
    const std::vector<Record>& sheet = substreams.at(1);
    ASSERT_EQ(sheet[1].id, 0x020B);  // INDEX straight after BOF
    const std::vector<uint8_t>& index = sheet[1].data;
    EXPECT_EQ(u32(index, 4), workbook.sheets[0].cells.begin()->first >> 16);  // first row with a cell
    EXPECT_EQ(u32(index, 8), 302u);                                           // one past the last
    const auto defColWidth = std::find_if(sheet.begin(), sheet.end(), [](const Record& r) { return r.id == 0x0055; });
    EXPECT_EQ(u32(index, 12), defColWidth->offset);

    // Blocks: rows 0-31, 32-63, 64-95, 288-319.
    std::vector<size_t> dbCells;
    for (const Record& record : sheet)
        if (record.id == 0x00D7) dbCells.push_back(record.offset);
    ASSERT_EQ(dbCells.size(), 4u);
    ASSERT_EQ(index.size(), 16 + 4 * dbCells.size());
    for (size_t i = 0; i < dbCells.size(); ++i) EXPECT_EQ(u32(index, 16 + 4 * i), dbCells[i]);

    std::map<size_t, const Record*> at;
    for (const Record& record : sheet) at[record.offset] = &record;
    for (size_t dbCell : dbCells) {
        const Record& block = *at.at(dbCell);
        const size_t firstRow = dbCell - u32(block.data, 0);
        ASSERT_EQ(at.at(firstRow)->id, 0x0208) << "DBCELL at " << dbCell << " does not point at a ROW record";
        // Each offset leads to the first cell of the next ROW record's row, or past an empty row.
        size_t rowRecord = firstRow, cell = firstRow + 20;
        for (size_t i = 0; 4 + 2 * i < block.data.size(); ++i) {
            cell += u16(block.data, 4 + 2 * i);
            const Record* row = at.at(rowRecord);
            ASSERT_EQ(row->id, 0x0208);
            const bool hasCells = u16(row->data, 4) != u16(row->data, 2);
            if (hasCells) {
                ASSERT_TRUE(at.contains(cell)) << "offset into the middle of a record";
                EXPECT_EQ(u16(at.at(cell)->data, 0), u16(row->data, 0)) << "first cell of another row";
            }
            rowRecord += 20;
        }
        EXPECT_NE(at.at(rowRecord)->id, 0x0208) << "DBCELL lists fewer rows than its block has";
    }
}

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    return pclose(pipe) == 0 ? output : "failed: " + output;
}

TEST(RecordOrder, XlrdOpensTheFileAndWalksTheSameRecords) {
#ifdef _WIN32
    GTEST_SKIP() << "xlrd runs as a Linux python3; the Linux build makes this check";
#endif
    const std::vector<uint8_t> bytes = writeWorkbook(blockedWorkbook());
    const fs::path path = fs::temp_directory_path() / ("record-order-" + std::to_string(::getpid()) + ".xls");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const std::string output =
        run("/usr/bin/python3 " BRINDLEMOOR_SOURCE_DIR "/tests/workbook/engine/biff/record_ids_with_xlrd.py " +
            path.string());
    fs::remove(path);

    std::ostringstream ours;
    for (const Record& record : recordsOf(workbookStream(bytes))) {
        char line[32];
        std::snprintf(line, sizeof line, "%zu %04x\n", record.offset, record.id);
        ours << line;
    }
    EXPECT_EQ(output, ours.str());
}

}  // namespace
