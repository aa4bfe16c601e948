#include "CfbTestSupport.h"
#include "xls/Error.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace cfbtest;
using xls::cfb::Stream;

namespace {

void expectSameStreams(const std::vector<Stream>& expected, const std::vector<Stream>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].name, actual[i].name) << "stream " << i;
        EXPECT_EQ(expected[i].data, actual[i].data) << "stream " << i;
    }
}

uint32_t entryStart(const std::vector<uint8_t>& file, uint32_t index) {
    return u32At(file, directoryEntryOffset(file, index) + kEntryStartSectorAt);
}

}  // namespace

TEST(CfbRoundTrip, StreamsAroundTheSectorAndCutoffSizesComeBackIntact) {
    std::vector<Stream> all;
    for (std::size_t size : {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 70000}) {
        const Stream stream = patternedStream(u"S" + std::u16string(1, static_cast<char16_t>(u'a' + all.size())), size);
        SCOPED_TRACE(size);
        expectSameStreams({stream}, xls::cfb::read(xls::cfb::write({stream})));
        all.push_back(stream);
    }
    expectSameStreams(all, xls::cfb::read(xls::cfb::write(all)));
}

TEST(CfbRoundTrip, NoStreamsGivesAnEmptyRoot) {
    const std::vector<uint8_t> file = xls::cfb::write({});
    EXPECT_TRUE(xls::cfb::read(file).empty());
}

TEST(CfbRoundTrip, ManyStreamsKeepTheirNamesAndOrder) {
    std::vector<Stream> streams;
    for (int i = 0; i < 300; ++i) {
        std::u16string name = u"stream";
        for (int n = i; n > 0; n /= 10) name.insert(name.begin() + 6, static_cast<char16_t>(u'0' + n % 10));
        streams.push_back(
            patternedStream(name + (i % 2 ? u"\u00e9\u4e2d" : u""), static_cast<std::size_t>(i * 37 % 6000)));
    }
    streams.push_back(patternedStream(u"\u0005SummaryInformation", 200));
    streams.push_back(patternedStream(std::u16string(31, u'z'), 10));
    expectSameStreams(streams, xls::cfb::read(xls::cfb::write(streams)));
}

TEST(CfbRoundTrip, TenMegabyteStreamIsIndexedThroughDifatSectors) {
    const std::vector<Stream> streams{patternedStream(u"Workbook", 10 * 1024 * 1024 + 17),
                                      patternedStream(u"\u0005SummaryInformation", 300)};
    const std::vector<uint8_t> file = xls::cfb::write(streams);

    const uint32_t fatSectors = u32At(file, kFatSectorCountAt);
    const uint32_t difatSectors = u32At(file, kDifatSectorCountAt);
    ASSERT_GT(fatSectors, kHeaderDifatSlots);
    ASSERT_GE(difatSectors, 1u);
    // The header and DIFAT sectors list every FAT sector, and the FAT marks the sectors of both as such.
    std::vector<uint32_t> listed;
    std::vector<uint32_t> difatChain;
    for (std::size_t i = 0; i < kHeaderDifatSlots; ++i) listed.push_back(u32At(file, kHeaderDifatAt + 4 * i));
    for (uint32_t d = u32At(file, kFirstDifatSectorAt); d != kEndOfChain; d = u32At(file, sectorOffset(d) + 4 * 127)) {
        ASSERT_LT(difatChain.size(), difatSectors);
        difatChain.push_back(d);
        for (std::size_t i = 0; i < 127; ++i) listed.push_back(u32At(file, sectorOffset(d) + 4 * i));
    }
    ASSERT_EQ(difatSectors, difatChain.size());
    auto fatEntry = [&](uint32_t sector) {
        return u32At(file, sectorOffset(listed.at(sector / 128)) + 4 * (sector % 128));
    };
    for (uint32_t d : difatChain) EXPECT_EQ(kDifatSector, fatEntry(d));
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (i < fatSectors)
            EXPECT_EQ(kFatSector, fatEntry(listed[i]));
        else
            EXPECT_EQ(kFreeSector, listed[i]);
    }
    expectSameStreams(streams, xls::cfb::read(file));
}

TEST(CfbWriter, HeaderDescribesVersionThreeWithStandardSizes) {
    const std::vector<uint8_t> file = xls::cfb::write({patternedStream(u"Workbook", 5000)});
    EXPECT_TRUE(std::equal(kSignature.begin(), kSignature.end(), file.begin()));
    EXPECT_EQ(0x003E, readU16(file.data() + kMinorVersionAt));
    EXPECT_EQ(3, readU16(file.data() + kMajorVersionAt));
    EXPECT_EQ(0xFFFE, readU16(file.data() + kByteOrderAt));
    EXPECT_EQ(9, readU16(file.data() + kSectorShiftAt));
    EXPECT_EQ(6, readU16(file.data() + kMiniSectorShiftAt));
    EXPECT_EQ(4096u, u32At(file, kMiniStreamCutoffAt));
    EXPECT_EQ(0u, file.size() % kSector);
    EXPECT_EQ(kEndOfChain, u32At(file, kFirstDifatSectorAt));
    EXPECT_EQ(kEndOfChain, u32At(file, kFirstMiniFatSectorAt)) << "no small streams, so no mini FAT";
}

TEST(CfbWriter, SameInputGivesSameBytes) {
    const std::vector<Stream> streams{patternedStream(u"Workbook", 9000), patternedStream(u"b", 100)};
    EXPECT_EQ(xls::cfb::write(streams), xls::cfb::write(streams));
}

TEST(CfbWriter, OnlyStreamsBelowFourKilobytesLiveInTheMiniStream) {
    const std::vector<uint8_t> file =
        xls::cfb::write({patternedStream(u"a", 4095), patternedStream(u"b", 4096), patternedStream(u"c", 0)});
    const std::size_t root = directoryEntryOffset(file, 0);
    EXPECT_EQ(64u * 64u, u32At(file, root + kEntrySizeAt)) << "the mini stream holds only the 4095-byte stream";
    EXPECT_EQ(0u, entryStart(file, 1)) << "first mini sector";
    EXPECT_EQ(kEndOfChain, u32At(file, fatEntryOffset(file, entryStart(file, 2) + 7))) << "eight whole sectors";
    EXPECT_EQ(kEndOfChain, entryStart(file, 3)) << "an empty stream owns no sector";
}

TEST(CfbWriter, UnusedDirectoryEntriesAreEmpty) {
    const std::vector<uint8_t> file = xls::cfb::write({patternedStream(u"Workbook", 10)});
    for (uint32_t index = 2; index < 4; ++index) {
        const std::size_t at = directoryEntryOffset(file, index);
        for (std::size_t i = 0; i < kDirectoryEntrySize; ++i) {
            const bool link = i >= kEntryLeftAt && i < kEntryChildAt + 4;
            EXPECT_EQ(link ? 0xFF : 0x00, file[at + i]) << "entry " << index << " byte " << i;
        }
    }
}

namespace {

struct Node {
    std::u16string upperName;
    uint32_t left, right;
    uint8_t colour;
};

std::u16string upperAscii(std::u16string s) {
    for (char16_t& c : s)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
    return s;
}

bool siblingLess(const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// Checks order and red-black rules below id; returns the black height, collecting visited ids.
int checkSubtree(const std::vector<Node>& nodes, uint32_t id, const std::u16string* low, const std::u16string* high,
                 std::vector<uint32_t>& seen) {
    if (id == kNoStream) return 1;
    const Node& node = nodes.at(id);
    seen.push_back(id);
    EXPECT_TRUE(!low || siblingLess(*low, node.upperName));
    EXPECT_TRUE(!high || siblingLess(node.upperName, *high));
    for (uint32_t child : {node.left, node.right})
        EXPECT_FALSE(node.colour == kRed && child != kNoStream && nodes.at(child).colour == kRed)
            << "red entry " << id << " has a red child";
    const int left = checkSubtree(nodes, node.left, low, &node.upperName, seen);
    const int right = checkSubtree(nodes, node.right, &node.upperName, high, seen);
    EXPECT_EQ(left, right) << "unequal black heights below entry " << id;
    return left + (node.colour == kBlack ? 1 : 0);
}

}  // namespace

TEST(CfbWriter, SiblingsFormAValidRedBlackSearchTreeForAnyCount) {
    for (uint32_t count = 1; count <= 40; ++count) {
        SCOPED_TRACE(count);
        std::vector<Stream> streams;
        for (uint32_t i = 0; i < count; ++i) {
            // Mixed case and lengths, in an order unrelated to the sibling order.
            const uint32_t k = (i * 41) % count;
            streams.push_back({std::u16string(1 + k % 3, static_cast<char16_t>((k % 2 ? u'a' : u'A') + k / 3)), {}});
        }
        const std::vector<uint8_t> file = xls::cfb::write(streams);
        std::vector<Node> nodes;
        for (uint32_t i = 0; i <= count; ++i) {
            const std::size_t at = directoryEntryOffset(file, i);
            std::u16string name;
            for (std::size_t c = 0; c + 1 < readU16(file.data() + at + kEntryNameLengthAt) / 2u; ++c)
                name.push_back(static_cast<char16_t>(readU16(file.data() + at + 2 * c)));
            nodes.push_back({upperAscii(name), u32At(file, at + kEntryLeftAt), u32At(file, at + kEntryRightAt),
                             file[at + kEntryColourAt]});
        }
        const uint32_t top = u32At(file, directoryEntryOffset(file, 0) + kEntryChildAt);
        EXPECT_EQ(kBlack, nodes.at(top).colour);
        std::vector<uint32_t> seen;
        checkSubtree(nodes, top, nullptr, nullptr, seen);
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(count, seen.size());
        EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end()) == seen.end());
    }
}

TEST(CfbWriter, RejectsNamesTheContainerCannotHold) {
    const std::vector<std::vector<Stream>> bad{
        {{u"", {}}},    {{std::u16string(32, u'x'), {}}},       {{u"a/b", {}}},
        {{u"a:b", {}}}, {{u"Workbook", {}}, {u"WORKBOOK", {}}},
    };
    for (const auto& streams : bad) EXPECT_THROW(xls::cfb::write(streams), xls::Error);
}
