#include "SampleWorkbook.h"

#include "xls/Error.h"
#include "xls/WorkbookIo.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace xls;

namespace {

std::string errorOf(std::span<const uint8_t> bytes, bool wholeFile) {
    try {
        if (wholeFile)
            readWorkbook(bytes);
        else
            readWorkbookStream(bytes);
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

// Offset of the first record with this id in a stream.
size_t findRecord(const std::vector<uint8_t>& stream, uint16_t id) {
    for (size_t pos = 0; pos + 4 <= stream.size();) {
        if ((stream[pos] | stream[pos + 1] << 8) == id) return pos;
        pos += 4 + size_t(stream[pos + 2] | stream[pos + 3] << 8);
    }
    return std::string::npos;
}

TEST(BiffDamagedInput, ForeignFilesAreNotWorkbooks) {
    const std::string text = "Date,Amount\n1/2/2024,12.50\n";
    EXPECT_NE(errorOf({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, true).find("not a workbook"),
              std::string::npos);
    EXPECT_NE(errorOf({}, true).find("not a workbook"), std::string::npos);
    const std::vector<uint8_t> zeros(4096, 0);
    EXPECT_NE(errorOf(zeros, false).find("not a workbook"), std::string::npos);
}

TEST(BiffDamagedInput, EveryTruncationEndsInAnErrorOrAWorkbook) {
    const std::vector<uint8_t> stream = writeWorkbookStream(biff_test::sampleWorkbook());
    for (size_t size = 0; size < stream.size(); size += 7) {
        const std::vector<uint8_t> cut(stream.begin(), stream.begin() + std::ptrdiff_t(size));
        try {
            readWorkbookStream(cut);
        } catch (const Error&) {
        }
    }
    const std::vector<uint8_t> file = writeWorkbook(biff_test::sampleWorkbook());
    for (size_t size = 0; size < file.size(); size += 61) {
        const std::vector<uint8_t> cut(file.begin(), file.begin() + std::ptrdiff_t(size));
        EXPECT_FALSE(errorOf(cut, true).empty()) << size;
    }
}

TEST(BiffDamagedInput, SheetOffsetOutOfRangeIsReported) {
    std::vector<uint8_t> stream = writeWorkbookStream(biff_test::sampleWorkbook());
    const size_t boundSheet = findRecord(stream, 0x0085);
    ASSERT_NE(boundSheet, std::string::npos);
    std::memset(&stream[boundSheet + 4], 0xFF, 4);
    EXPECT_NE(errorOf(stream, false).find("damaged workbook"), std::string::npos);
}

TEST(BiffDamagedInput, AbsurdCountsAndBadIndicesAreSurvived) {
    std::vector<uint8_t> stream = writeWorkbookStream(biff_test::sampleWorkbook());
    // The string table claims four billion strings; every LABELSST points past the table.
    const size_t sst = findRecord(stream, 0x00FC);
    std::memset(&stream[sst + 8], 0xFF, 4);
    const size_t label = findRecord(stream, 0x00FD);
    ASSERT_NE(label, std::string::npos);
    std::memset(&stream[label + 10], 0xEE, 4);
    const Workbook workbook = readWorkbookStream(stream);
    EXPECT_EQ(workbook.sheets.size(), 2u);
}

TEST(BiffDamagedInput, RecordLongerThanTheStreamIsReported) {
    std::vector<uint8_t> stream = writeWorkbookStream(biff_test::sampleWorkbook());
    const size_t font = findRecord(stream, 0x0031);
    stream[font + 2] = 0xFF;
    stream[font + 3] = 0xFF;
    stream.resize(font + 200);
    EXPECT_NE(errorOf(stream, false).find("damaged workbook"), std::string::npos);
}

}  // namespace
