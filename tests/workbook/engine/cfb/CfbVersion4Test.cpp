#include "CfbTestSupport.h"
#include "xls/Error.h"

#include <gtest/gtest.h>

using namespace cfbtest;

namespace {

constexpr std::size_t kBigSector = 4096;
constexpr std::size_t kBigSectorAt(uint32_t sector) { return (std::size_t{sector} + 1) * kBigSector; }

void putEntry(std::vector<uint8_t>& file, std::size_t at, const std::u16string& name, EntryType type, uint32_t left,
              uint32_t child, uint32_t start, uint32_t size) {
    for (std::size_t i = 0; i < name.size(); ++i) writeU16(file.data() + at + 2 * i, name[i]);
    writeU16(file.data() + at + kEntryNameLengthAt, static_cast<uint16_t>(2 * (name.size() + 1)));
    file[at + kEntryTypeAt] = type;
    file[at + kEntryColourAt] = kBlack;
    putU32(file, at + kEntryLeftAt, left);
    putU32(file, at + kEntryRightAt, kNoStream);
    putU32(file, at + kEntryChildAt, child);
    putU32(file, at + kEntryStartSectorAt, start);
    putU32(file, at + kEntrySizeAt, size);
}

// Sectors: 0 FAT, 1 directory, 2-3 "Workbook" (5000 bytes), 4 mini stream, 5 mini FAT holding "Small" (100 bytes).
std::vector<uint8_t> versionFourFile(const std::vector<uint8_t>& workbook, const std::vector<uint8_t>& small) {
    std::vector<uint8_t> file(7 * kBigSector, 0);
    std::copy(kSignature.begin(), kSignature.end(), file.begin());
    writeU16(file.data() + kMinorVersionAt, 0x003E);
    writeU16(file.data() + kMajorVersionAt, 4);
    writeU16(file.data() + kByteOrderAt, 0xFFFE);
    writeU16(file.data() + kSectorShiftAt, 12);
    writeU16(file.data() + kMiniSectorShiftAt, 6);
    putU32(file, 0x28, 1);  // directory sectors, counted in version 4
    putU32(file, kFatSectorCountAt, 1);
    putU32(file, kFirstDirectorySectorAt, 1);
    putU32(file, kMiniStreamCutoffAt, 4096);
    putU32(file, kFirstMiniFatSectorAt, 5);
    putU32(file, kMiniFatSectorCountAt, 1);
    putU32(file, kFirstDifatSectorAt, kEndOfChain);
    for (std::size_t i = 0; i < kHeaderDifatSlots; ++i) putU32(file, kHeaderDifatAt + 4 * i, i == 0 ? 0 : kFreeSector);

    const uint32_t fat[] = {kFatSector, kEndOfChain, 3, kEndOfChain, kEndOfChain, kEndOfChain};
    for (std::size_t i = 0; i < kBigSector / 4; ++i)
        putU32(file, kBigSectorAt(0) + 4 * i, i < std::size(fat) ? fat[i] : kFreeSector);
    for (std::size_t i = 0; i < kBigSector / 4; ++i)
        putU32(file, kBigSectorAt(5) + 4 * i, i == 0 ? 1 : i == 1 ? kEndOfChain : kFreeSector);

    putEntry(file, kBigSectorAt(1), u"Root Entry", kRootEntry, kNoStream, 1, 4, 128);
    putEntry(file, kBigSectorAt(1) + kDirectoryEntrySize, u"Workbook", kStreamEntry, 2, kNoStream, 2,
             static_cast<uint32_t>(workbook.size()));
    putEntry(file, kBigSectorAt(1) + 2 * kDirectoryEntrySize, u"Small", kStreamEntry, kNoStream, kNoStream, 0,
             static_cast<uint32_t>(small.size()));
    std::copy(workbook.begin(), workbook.end(), file.begin() + kBigSectorAt(2));
    std::copy(small.begin(), small.end(), file.begin() + kBigSectorAt(4));
    return file;
}

}  // namespace

TEST(CfbVersion4, FourKilobyteSectorsAreRead) {
    const auto workbook = patternedStream(u"Workbook", 5000).data;
    const auto small = patternedStream(u"Small", 100).data;
    const auto streams = xls::cfb::read(versionFourFile(workbook, small));
    ASSERT_EQ(2u, streams.size());
    EXPECT_EQ(u"Workbook", streams[0].name);
    EXPECT_EQ(workbook, streams[0].data);
    EXPECT_EQ(u"Small", streams[1].name);
    EXPECT_EQ(small, streams[1].data);
}

TEST(CfbVersion4, HighHalfOfStreamSizeCounts) {
    std::vector<uint8_t> file =
        versionFourFile(patternedStream(u"Workbook", 5000).data, patternedStream(u"Small", 100).data);
    putU32(file, kBigSectorAt(1) + kDirectoryEntrySize + kEntrySizeAt + 4, 1);
    EXPECT_THROW(xls::cfb::read(file), xls::Error);
}
