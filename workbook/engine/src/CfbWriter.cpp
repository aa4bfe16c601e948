#include "xls/Cfb.h"

#include "CfbFormat.h"
#include "xls/Error.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <numeric>

namespace xls::cfb {
namespace {

using namespace format;

constexpr std::size_t kSectorSize = 512;
constexpr uint16_t kSectorShift = 9;
constexpr uint16_t kMiniSectorShift = 6;
constexpr std::size_t kIdsPerSector = kSectorSize / 4;
constexpr std::size_t kIdsPerDifatSector = kIdsPerSector - 1;  // the last slot links to the next one
constexpr std::size_t kEntriesPerSector = kSectorSize / kDirectoryEntrySize;

std::size_t unitsFor(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit; }

// Simple upper-casing as the container compares names; stream names in practice stay within Latin-1.
char16_t upperCased(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    return c;
}

// Sibling order of the directory tree: shorter names first, then by upper-cased code units.
bool siblingLess(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return a.size() < b.size();
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return upperCased(x) < upperCased(y); });
}

void checkStreams(const std::vector<Stream>& streams) {
    for (const Stream& stream : streams) {
        if (stream.name.empty()) throw Error("cannot write a compound file: a stream has no name");
        if (stream.name.size() > kMaxNameChars)
            throw Error("cannot write a compound file: a stream name is longer than 31 characters");
        if (stream.name.find_first_of(u"/\\:!") != std::u16string::npos)
            throw Error("cannot write a compound file: a stream name contains '/', '\\', ':' or '!'");
        if (stream.data.size() > std::numeric_limits<uint32_t>::max())
            throw Error("cannot write a compound file: a stream is larger than 4 GB");
    }
}

struct TreeLinks {
    uint32_t left = kNoStream;
    uint32_t right = kNoStream;
    uint8_t colour = kBlack;
};

// Builds a size-balanced search tree over sorted[lo, hi); every level but the deepest is full, so colouring
// the deepest level red gives each path from the root the same number of black nodes.
uint32_t buildTree(const std::vector<uint32_t>& sorted, std::size_t lo, std::size_t hi, int depth, int redDepth,
                   std::vector<TreeLinks>& links) {
    if (lo == hi) return kNoStream;
    const std::size_t mid = lo + (hi - lo) / 2;
    TreeLinks& node = links[sorted[mid]];
    node.colour = depth == redDepth ? kRed : kBlack;
    node.left = buildTree(sorted, lo, mid, depth + 1, redDepth, links);
    node.right = buildTree(sorted, mid + 1, hi, depth + 1, redDepth, links);
    return sorted[mid];
}

// Directory ids are 1-based for streams (0 is the root entry). Returns the id at the top of the tree.
uint32_t buildSiblingTree(const std::vector<Stream>& streams, std::vector<TreeLinks>& links) {
    std::vector<uint32_t> sorted(streams.size());
    std::iota(sorted.begin(), sorted.end(), 1u);
    std::sort(sorted.begin(), sorted.end(),
              [&](uint32_t a, uint32_t b) { return siblingLess(streams[a - 1].name, streams[b - 1].name); });
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (!siblingLess(streams[sorted[i - 1] - 1].name, streams[sorted[i] - 1].name))
            throw Error("cannot write a compound file: two streams have the same name");

    links.assign(streams.size() + 1, TreeLinks{});
    const int deepest = static_cast<int>(std::bit_width(sorted.size())) - 1;
    return buildTree(sorted, 0, sorted.size(), 0, deepest > 0 ? deepest : -1, links);
}

void linkChain(std::vector<uint32_t>& table, uint32_t first, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        table[first + i] = i + 1 < count ? static_cast<uint32_t>(first + i + 1) : kEndOfChain;
}

void writeIds(uint8_t* at, const uint32_t* ids, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) writeU32(at + 4 * i, ids[i]);
}

struct Placement {
    uint32_t start = kEndOfChain;
    bool inMiniStream = false;
};

void writeEntry(uint8_t* at, const std::u16string& name, EntryType type, const TreeLinks& links, uint32_t child,
                uint32_t start, uint32_t size) {
    for (std::size_t i = 0; i < name.size(); ++i) writeU16(at + 2 * i, name[i]);
    writeU16(at + kEntryNameLengthAt, static_cast<uint16_t>((name.size() + 1) * 2));
    at[kEntryTypeAt] = type;
    at[kEntryColourAt] = links.colour;
    writeU32(at + kEntryLeftAt, links.left);
    writeU32(at + kEntryRightAt, links.right);
    writeU32(at + kEntryChildAt, child);
    writeU32(at + kEntryStartSectorAt, start);
    writeU32(at + kEntrySizeAt, size);
}

void writeEmptyEntry(uint8_t* at) {
    writeU32(at + kEntryLeftAt, kNoStream);
    writeU32(at + kEntryRightAt, kNoStream);
    writeU32(at + kEntryChildAt, kNoStream);
}

}  // namespace

std::vector<uint8_t> write(const std::vector<Stream>& streams, const ClassId& rootClass) {
    checkStreams(streams);
    std::vector<TreeLinks> links;
    const uint32_t treeTop = buildSiblingTree(streams, links);

    // Small streams share the mini stream in 64-byte sectors; the rest get whole sectors of their own.
    std::vector<Placement> placements(streams.size());
    std::size_t miniSectors = 0;
    std::size_t largeSectors = 0;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::size_t size = streams[i].data.size();
        if (size == 0) continue;
        if (size < kMiniStreamCutoff) {
            placements[i] = {static_cast<uint32_t>(miniSectors), true};
            miniSectors += unitsFor(size, kMiniSectorSize);
        } else {
            largeSectors += unitsFor(size, kSectorSize);
        }
    }
    const std::size_t miniStreamBytes = miniSectors * kMiniSectorSize;
    const std::size_t miniStreamSectors = unitsFor(miniStreamBytes, kSectorSize);
    const std::size_t miniFatSectors = unitsFor(miniSectors, kIdsPerSector);
    const std::size_t directorySectors = unitsFor(streams.size() + 1, kEntriesPerSector);
    const std::size_t contentSectors = directorySectors + miniFatSectors + miniStreamSectors + largeSectors;

    // The FAT covers itself and the DIFAT sectors, so their counts depend on each other: grow until stable.
    std::size_t fatSectors = 0;
    std::size_t difatSectors = 0;
    for (;;) {
        const std::size_t fat = unitsFor(contentSectors + fatSectors + difatSectors, kIdsPerSector);
        const std::size_t difat = fat > kHeaderDifatSlots ? unitsFor(fat - kHeaderDifatSlots, kIdsPerDifatSector) : 0;
        if (fat == fatSectors && difat == difatSectors) break;
        fatSectors = fat;
        difatSectors = difat;
    }
    const std::size_t totalSectors = fatSectors + difatSectors + contentSectors;
    if (totalSectors >= kMaxRegularSector) throw Error("cannot write a compound file: the streams are too large");

    // Sector order: FAT, DIFAT, directory, mini FAT, mini stream, then the large streams in input order.
    const auto firstDifat = static_cast<uint32_t>(fatSectors);
    const auto firstDirectory = static_cast<uint32_t>(firstDifat + difatSectors);
    const auto firstMiniFat = static_cast<uint32_t>(firstDirectory + directorySectors);
    const auto firstMiniStream = static_cast<uint32_t>(firstMiniFat + miniFatSectors);
    auto nextSector = static_cast<uint32_t>(firstMiniStream + miniStreamSectors);

    std::vector<uint32_t> fat(fatSectors * kIdsPerSector, kFreeSector);
    std::fill_n(fat.begin(), fatSectors, kFatSector);
    std::fill_n(fat.begin() + firstDifat, difatSectors, kDifatSector);
    linkChain(fat, firstDirectory, directorySectors);
    linkChain(fat, firstMiniFat, miniFatSectors);
    linkChain(fat, firstMiniStream, miniStreamSectors);
    std::vector<uint32_t> miniFat(miniFatSectors * kIdsPerSector, kFreeSector);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::size_t size = streams[i].data.size();
        if (placements[i].inMiniStream) {
            linkChain(miniFat, placements[i].start, unitsFor(size, kMiniSectorSize));
        } else if (size > 0) {
            placements[i].start = nextSector;
            linkChain(fat, nextSector, unitsFor(size, kSectorSize));
            nextSector += static_cast<uint32_t>(unitsFor(size, kSectorSize));
        }
    }

    std::vector<uint8_t> file(kHeaderSize + totalSectors * kSectorSize, 0);
    auto sector = [&](std::size_t id) { return file.data() + kHeaderSize + id * kSectorSize; };

    uint8_t* header = file.data();
    std::copy(kSignature.begin(), kSignature.end(), header);
    writeU16(header + kMinorVersionAt, 0x003E);
    writeU16(header + kMajorVersionAt, 3);
    writeU16(header + kByteOrderAt, 0xFFFE);
    writeU16(header + kSectorShiftAt, kSectorShift);
    writeU16(header + kMiniSectorShiftAt, kMiniSectorShift);
    writeU32(header + kFatSectorCountAt, static_cast<uint32_t>(fatSectors));
    writeU32(header + kFirstDirectorySectorAt, firstDirectory);
    writeU32(header + kMiniStreamCutoffAt, kMiniStreamCutoff);
    writeU32(header + kFirstMiniFatSectorAt, miniFatSectors > 0 ? firstMiniFat : kEndOfChain);
    writeU32(header + kMiniFatSectorCountAt, static_cast<uint32_t>(miniFatSectors));
    writeU32(header + kFirstDifatSectorAt, difatSectors > 0 ? firstDifat : kEndOfChain);
    writeU32(header + kDifatSectorCountAt, static_cast<uint32_t>(difatSectors));

    // The DIFAT lists the FAT sectors (ids 0 .. fatSectors-1): 109 in the header, the rest in DIFAT sectors.
    std::vector<uint32_t> difat(kHeaderDifatSlots + difatSectors * kIdsPerDifatSector, kFreeSector);
    std::iota(difat.begin(), difat.begin() + static_cast<std::ptrdiff_t>(fatSectors), 0u);
    writeIds(header + kHeaderDifatAt, difat.data(), kHeaderDifatSlots);
    for (std::size_t d = 0; d < difatSectors; ++d) {
        uint8_t* at = sector(firstDifat + d);
        writeIds(at, difat.data() + kHeaderDifatSlots + d * kIdsPerDifatSector, kIdsPerDifatSector);
        writeU32(at + kIdsPerDifatSector * 4,
                 d + 1 < difatSectors ? static_cast<uint32_t>(firstDifat + d + 1) : kEndOfChain);
    }
    writeIds(sector(0), fat.data(), fat.size());
    writeIds(sector(firstMiniFat), miniFat.data(), miniFat.size());

    uint8_t* directory = sector(firstDirectory);
    writeEntry(directory, u"Root Entry", kRootEntry, TreeLinks{}, treeTop,
               miniStreamBytes > 0 ? firstMiniStream : kEndOfChain, static_cast<uint32_t>(miniStreamBytes));
    std::memcpy(directory + kEntryClassIdAt, rootClass.data(), rootClass.size());
    for (std::size_t i = 0; i < streams.size(); ++i)
        writeEntry(directory + (i + 1) * kDirectoryEntrySize, streams[i].name, kStreamEntry, links[i + 1], kNoStream,
                   placements[i].start, static_cast<uint32_t>(streams[i].data.size()));
    for (std::size_t i = streams.size() + 1; i < directorySectors * kEntriesPerSector; ++i)
        writeEmptyEntry(directory + i * kDirectoryEntrySize);

    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::vector<uint8_t>& data = streams[i].data;
        if (data.empty()) continue;
        uint8_t* at = placements[i].inMiniStream ? sector(firstMiniStream) + placements[i].start * kMiniSectorSize
                                                 : sector(placements[i].start);
        std::memcpy(at, data.data(), data.size());
    }
    return file;
}

}  // namespace xls::cfb
