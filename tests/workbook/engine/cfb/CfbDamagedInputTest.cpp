#include "CfbTestSupport.h"
#include "xls/Error.h"

#include <gtest/gtest.h>

#include <functional>

using namespace cfbtest;

namespace {

std::string readError(const std::vector<uint8_t>& file) {
    try {
        xls::cfb::read(file);
    } catch (const xls::Error& e) {
        return e.what();
    }
    return "no error";
}

// A file with a regular stream (entry 1, 5000 bytes) and two small ones (entries 2 and 3).
std::vector<uint8_t> sampleFile() {
    return xls::cfb::write({patternedStream(u"Workbook", 5000), patternedStream(u"\u0005SummaryInformation", 200),
                            patternedStream(u"\u0005DocumentSummaryInformation", 300)});
}

std::size_t entryAt(const std::vector<uint8_t>& file, uint32_t index) { return directoryEntryOffset(file, index); }

struct Damage {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> apply;
};

}  // namespace

TEST(CfbDamagedInput, ForeignBytesAreNotACompoundFile) {
    EXPECT_EQ("not a compound file", readError({}));
    EXPECT_EQ("not a compound file", readError({'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ("not a compound file", readError(std::vector<uint8_t>(4096, 0)));
}

TEST(CfbDamagedInput, EveryDamageEndsInAClearError) {
    const std::vector<Damage> damages{
        {"header cut short", [](auto& f) { f.resize(300); }},
        {"file cut inside a stream", [](auto& f) { f.resize(f.size() - 700); }},
        {"unknown version", [](auto& f) { writeU16(f.data() + kMajorVersionAt, 5); }},
        {"sector size not matching version", [](auto& f) { writeU16(f.data() + kSectorShiftAt, 12); }},
        {"wrong byte order", [](auto& f) { writeU16(f.data() + kByteOrderAt, 0xFEFF); }},
        {"absurd FAT sector count", [](auto& f) { putU32(f, kFatSectorCountAt, 0xFFFFFFFF); }},
        {"FAT sector outside the file", [](auto& f) { putU32(f, kHeaderDifatAt, 0x00FFFFFF); }},
        {"directory outside the file", [](auto& f) { putU32(f, kFirstDirectorySectorAt, 0x7FFFFFFF); }},
        {"directory chain loops",
         [](auto& f) {
             const uint32_t dir = u32At(f, kFirstDirectorySectorAt);
             putU32(f, fatEntryOffset(f, dir), dir);
         }},
        {"root entry missing", [](auto& f) { f[entryAt(f, 0) + kEntryTypeAt] = kStorageEntry; }},
        {"stream chain loops",
         [](auto& f) {
             const uint32_t start = u32At(f, entryAt(f, 1) + kEntryStartSectorAt);
             putU32(f, fatEntryOffset(f, start + 5), start + 2);
         }},
        {"stream chain ends early",
         [](auto& f) {
             const uint32_t start = u32At(f, entryAt(f, 1) + kEntryStartSectorAt);
             putU32(f, fatEntryOffset(f, start + 3), kEndOfChain);
         }},
        {"stream chain into a free sector",
         [](auto& f) {
             const uint32_t start = u32At(f, entryAt(f, 1) + kEntryStartSectorAt);
             putU32(f, fatEntryOffset(f, start), kFreeSector);
         }},
        {"stream starts outside the file", [](auto& f) { putU32(f, entryAt(f, 1) + kEntryStartSectorAt, 0x7FFFFFFF); }},
        {"stream larger than the file", [](auto& f) { putU32(f, entryAt(f, 1) + kEntrySizeAt, 0xFFFFFFF0); }},
        {"two streams share sectors",
         [](auto& f) {
             putU32(f, entryAt(f, 2) + kEntryStartSectorAt, u32At(f, entryAt(f, 1) + kEntryStartSectorAt));
             putU32(f, entryAt(f, 2) + kEntrySizeAt, 4096);
         }},
        {"mini stream larger than the file", [](auto& f) { putU32(f, entryAt(f, 0) + kEntrySizeAt, 0x7FFFFFFF); }},
        {"mini sector chain loops",
         [](auto& f) {
             const uint32_t miniFat = u32At(f, kFirstMiniFatSectorAt);
             putU32(f, sectorOffset(miniFat) + 4 * 2, 1);
         }},
        {"mini sector outside the mini stream",
         [](auto& f) { putU32(f, entryAt(f, 3) + kEntryStartSectorAt, 100000); }},
        {"sibling tree loops",
         [](auto& f) {
             const uint32_t top = u32At(f, entryAt(f, 0) + kEntryChildAt);
             putU32(f, entryAt(f, top) + kEntryLeftAt, top);
         }},
        {"sibling tree points back at the root",
         [](auto& f) {
             const uint32_t top = u32At(f, entryAt(f, 0) + kEntryChildAt);
             putU32(f, entryAt(f, top) + kEntryRightAt, 0);
         }},
        {"sibling tree points past the directory", [](auto& f) { putU32(f, entryAt(f, 0) + kEntryChildAt, 40000); }},
        {"sibling tree reaches an unused entry",
         [](auto& f) {
             const uint32_t top = u32At(f, entryAt(f, 0) + kEntryChildAt);
             f[entryAt(f, top) + kEntryTypeAt] = kUnusedEntry;
         }},
        {"name longer than 31 characters",
         [](auto& f) { writeU16(f.data() + entryAt(f, 1) + kEntryNameLengthAt, 66); }},
    };
    const std::vector<uint8_t> good = sampleFile();
    ASSERT_EQ(3u, xls::cfb::read(good).size());
    for (const Damage& damage : damages) {
        std::vector<uint8_t> file = good;
        damage.apply(file);
        EXPECT_EQ(0u, readError(file).rfind("damaged compound file: ", 0)) << damage.what << ": " << readError(file);
    }
}

TEST(CfbDamagedInput, DifatChainThatLoopsIsCaught) {
    std::vector<uint8_t> file = xls::cfb::write({patternedStream(u"Workbook", 8 * 1024 * 1024)});
    const uint32_t difat = u32At(file, kFirstDifatSectorAt);
    ASSERT_NE(kEndOfChain, difat);
    // Claim more FAT sectors than the DIFAT lists, and let the DIFAT chain come back to itself.
    putU32(file, kFatSectorCountAt, u32At(file, kFatSectorCountAt) + 200);
    putU32(file, sectorOffset(difat) + 4 * 127, difat);
    EXPECT_EQ(0u, readError(file).rfind("damaged compound file: the DIFAT", 0)) << readError(file);
}

TEST(CfbDamagedInput, HighHalfOfVersionThreeSizesIsIgnored) {
    std::vector<uint8_t> file = sampleFile();
    for (uint32_t index = 0; index < 4; ++index) putU32(file, entryAt(file, index) + kEntrySizeAt + 4, 0xDEADBEEF);
    const auto streams = xls::cfb::read(file);
    ASSERT_EQ(3u, streams.size());
    EXPECT_EQ(5000u, streams[0].data.size());
    EXPECT_EQ(patternedStream(u"\u0005SummaryInformation", 200).data, streams[1].data);
}

TEST(CfbDamagedInput, StoragesAreSkippedWithWhatLiesBelowThem) {
    std::vector<uint8_t> file = sampleFile();
    // Turn the small stream into a storage whose child is the other small stream: only the first stream remains.
    const std::size_t storage = entryAt(file, 2);
    file[storage + kEntryTypeAt] = kStorageEntry;
    const uint32_t top = u32At(file, entryAt(file, 0) + kEntryChildAt);
    ASSERT_NE(3u, top);
    for (uint32_t index : {1u, 2u})
        for (std::size_t link : {kEntryLeftAt, kEntryRightAt})
            if (u32At(file, entryAt(file, index) + link) == 3) putU32(file, entryAt(file, index) + link, kNoStream);
    putU32(file, storage + kEntryChildAt, 3);
    const auto streams = xls::cfb::read(file);
    ASSERT_EQ(1u, streams.size());
    EXPECT_EQ(u"Workbook", streams[0].name);
}
