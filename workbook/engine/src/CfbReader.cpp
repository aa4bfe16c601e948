#include "xls/Cfb.h"

#include "CfbFormat.h"
#include "Concat.h"
#include "xls/Error.h"

#include <algorithm>
#include <limits>
#include <string>

namespace xls::cfb {
namespace {

using namespace format;

constexpr std::size_t kReadAll = std::numeric_limits<std::size_t>::max();

[[noreturn]] void damaged(const std::string& what) { throw Error("damaged compound file: " + what); }

std::size_t unitsFor(uint64_t bytes, std::size_t unit) { return static_cast<std::size_t>((bytes + unit - 1) / unit); }

// Reads the container defensively: every sector belongs to at most one chain, so a loop in any chain shows as a
// sector claimed twice, and the streams together never take more memory than the file itself.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> file) : file_(file) {
        readHeader();
        readFat();
        readDirectory();
    }

    std::vector<Stream> rootStreams();

private:
    void readHeader();
    void readFat();
    void readDirectory();
    void readMiniStream();
    std::vector<uint32_t> chain(uint32_t start, std::size_t needed, const char* what);
    void claim(uint32_t sector, const char* what);
    void appendSector(std::vector<uint8_t>& out, uint32_t sector, std::size_t bytes) const;
    std::vector<uint8_t> readChain(uint32_t start, std::size_t bytes, const char* what);
    std::vector<uint8_t> readStream(uint32_t start, uint64_t size);
    uint64_t entrySize(const uint8_t* entry) const;
    const uint8_t* entry(uint32_t id) const { return directory_.data() + std::size_t{id} * kDirectoryEntrySize; }

    std::span<const uint8_t> file_;
    std::size_t sectorSize_ = 0;
    uint32_t sectorCount_ = 0;  // sectors that start inside the file
    bool version3_ = true;
    uint32_t miniStreamCutoff_ = kMiniStreamCutoff;
    std::vector<uint32_t> fat_;
    std::vector<bool> claimed_;
    std::vector<uint8_t> directory_;
    uint32_t entryCount_ = 0;
    bool miniStreamRead_ = false;
    std::vector<uint8_t> miniStream_;
    std::vector<uint32_t> miniFat_;
    std::vector<bool> miniClaimed_;
};

void Reader::readHeader() {
    if (file_.size() < kSignature.size() || !std::equal(kSignature.begin(), kSignature.end(), file_.begin()))
        throw Error("not a compound file");
    if (file_.size() < kHeaderSize) damaged("the header is cut short");
    const uint8_t* header = file_.data();
    const uint16_t major = readU16(header + kMajorVersionAt);
    const uint16_t sectorShift = readU16(header + kSectorShiftAt);
    if (major != 3 && major != 4) damaged(concat({"unknown version ", std::to_string(major)}));
    if (sectorShift != (major == 3 ? 9 : 12)) damaged("the sector size does not match the version");
    if (readU16(header + kByteOrderAt) != 0xFFFE) damaged("wrong byte order mark");
    if (readU16(header + kMiniSectorShiftAt) != 6) damaged("the mini sector size is not 64 bytes");
    version3_ = major == 3;
    sectorSize_ = std::size_t{1} << sectorShift;
    if (file_.size() < sectorSize_) damaged("the file is cut short");
    const std::size_t sectors = unitsFor(file_.size() - sectorSize_, sectorSize_);
    sectorCount_ = static_cast<uint32_t>(std::min<std::size_t>(sectors, kMaxRegularSector));
    claimed_.assign(sectorCount_, false);
    miniStreamCutoff_ = readU32(header + kMiniStreamCutoffAt);
}

void Reader::claim(uint32_t sector, const char* what) {
    if (sector >= sectorCount_)
        damaged(sector < fat_.size() ? std::string("the file is cut short")
                                     : std::string(what) + " refers to a sector outside the file");
    if (claimed_[sector]) damaged(std::string(what) + " loops or overlaps another part of the file");
    claimed_[sector] = true;
}

void Reader::appendSector(std::vector<uint8_t>& out, uint32_t sector, std::size_t bytes) const {
    const std::size_t offset = (std::size_t{sector} + 1) * sectorSize_;
    if (offset + bytes > file_.size()) damaged("the file is cut short");
    out.insert(out.end(), file_.begin() + static_cast<std::ptrdiff_t>(offset),
               file_.begin() + static_cast<std::ptrdiff_t>(offset + bytes));
}

void Reader::readFat() {
    const uint8_t* header = file_.data();
    const uint32_t fatSectors = readU32(header + kFatSectorCountAt);
    if (fatSectors > sectorCount_) damaged("the FAT sector count exceeds the file");

    std::vector<uint32_t> fatIds;
    fatIds.reserve(fatSectors);
    for (std::size_t i = 0; i < kHeaderDifatSlots && fatIds.size() < fatSectors; ++i)
        fatIds.push_back(readU32(header + kHeaderDifatAt + 4 * i));

    const std::size_t idsPerSector = sectorSize_ / 4;
    uint32_t difat = readU32(header + kFirstDifatSectorAt);
    while (fatIds.size() < fatSectors) {
        claim(difat, "the DIFAT");
        std::vector<uint8_t> bytes;
        appendSector(bytes, difat, sectorSize_);
        for (std::size_t i = 0; i + 1 < idsPerSector && fatIds.size() < fatSectors; ++i)
            fatIds.push_back(readU32(bytes.data() + 4 * i));
        difat = readU32(bytes.data() + 4 * (idsPerSector - 1));
    }

    fat_.reserve(fatIds.size() * idsPerSector);
    std::vector<uint8_t> bytes;
    for (uint32_t id : fatIds) {
        claim(id, "the FAT");
        bytes.clear();
        appendSector(bytes, id, sectorSize_);
        for (std::size_t i = 0; i < idsPerSector; ++i) fat_.push_back(readU32(bytes.data() + 4 * i));
    }
}

std::vector<uint32_t> Reader::chain(uint32_t start, std::size_t needed, const char* what) {
    std::vector<uint32_t> sectors;
    for (uint32_t id = start; sectors.size() < needed && id != kEndOfChain; id = fat_[id]) {
        claim(id, what);
        if (id >= fat_.size()) damaged(std::string(what) + " refers to a sector the FAT does not cover");
        sectors.push_back(id);
    }
    if (needed != kReadAll && sectors.size() < needed) damaged(std::string(what) + " ends before its stated size");
    return sectors;
}

std::vector<uint8_t> Reader::readChain(uint32_t start, std::size_t bytes, const char* what) {
    const std::vector<uint32_t> sectors =
        chain(start, bytes == kReadAll ? kReadAll : unitsFor(bytes, sectorSize_), what);
    std::vector<uint8_t> out;
    out.reserve(bytes == kReadAll ? sectors.size() * sectorSize_ : bytes);
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const std::size_t rest = bytes == kReadAll ? sectorSize_ : bytes - i * sectorSize_;
        appendSector(out, sectors[i], std::min(rest, sectorSize_));
    }
    return out;
}

uint64_t Reader::entrySize(const uint8_t* entry) const {
    const uint64_t low = readU32(entry + kEntrySizeAt);
    // Version 3 files only use the low half; old writers left garbage in the high half.
    const uint64_t high = version3_ ? 0 : readU32(entry + kEntrySizeAt + 4);
    return low | (high << 32);
}

void Reader::readDirectory() {
    directory_ = readChain(readU32(file_.data() + kFirstDirectorySectorAt), kReadAll, "the directory");
    entryCount_ = static_cast<uint32_t>(directory_.size() / kDirectoryEntrySize);
    if (entryCount_ == 0 || entry(0)[kEntryTypeAt] != kRootEntry) damaged("the root entry is missing");
}

void Reader::readMiniStream() {
    miniStreamRead_ = true;
    const uint8_t* root = entry(0);
    const uint64_t size = entrySize(root);
    if (size > file_.size()) damaged("the mini stream is larger than the file");
    miniStream_ = readChain(readU32(root + kEntryStartSectorAt), static_cast<std::size_t>(size), "the mini stream");

    const std::vector<uint8_t> miniFat =
        readChain(readU32(file_.data() + kFirstMiniFatSectorAt), kReadAll, "the mini FAT");
    miniFat_.resize(miniFat.size() / 4);
    for (std::size_t i = 0; i < miniFat_.size(); ++i) miniFat_[i] = readU32(miniFat.data() + 4 * i);
    miniClaimed_.assign(miniStream_.size() / kMiniSectorSize, false);
}

std::vector<uint8_t> Reader::readStream(uint32_t start, uint64_t size) {
    if (size == 0) return {};
    if (size > file_.size()) damaged("a stream is larger than the file");
    if (size >= miniStreamCutoff_) return readChain(start, static_cast<std::size_t>(size), "a stream");

    if (!miniStreamRead_) readMiniStream();
    std::vector<uint8_t> out;
    out.reserve(static_cast<std::size_t>(size));
    for (uint32_t id = start; out.size() < size; id = miniFat_[id]) {
        if (id >= miniClaimed_.size() || id >= miniFat_.size())
            damaged("a stream refers to a mini sector outside the mini stream");
        if (miniClaimed_[id]) damaged("a stream in the mini stream loops or overlaps another");
        miniClaimed_[id] = true;
        const auto at = miniStream_.begin() + static_cast<std::ptrdiff_t>(std::size_t{id} * kMiniSectorSize);
        const std::size_t bytes = std::min<std::size_t>(kMiniSectorSize, static_cast<std::size_t>(size) - out.size());
        out.insert(out.end(), at, at + static_cast<std::ptrdiff_t>(bytes));
    }
    return out;
}

std::vector<Stream> Reader::rootStreams() {
    // Walk the root's sibling tree; storages are skipped along with everything below them.
    std::vector<bool> visited(entryCount_, false);
    visited[0] = true;
    std::vector<uint32_t> pending{readU32(entry(0) + kEntryChildAt)};
    std::vector<uint32_t> streamIds;
    while (!pending.empty()) {
        const uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoStream) continue;
        if (id >= entryCount_) damaged("the directory refers to an entry that does not exist");
        if (visited[id]) damaged("the directory tree loops");
        visited[id] = true;
        const uint8_t* e = entry(id);
        if (e[kEntryTypeAt] == kStreamEntry)
            streamIds.push_back(id);
        else if (e[kEntryTypeAt] != kStorageEntry)
            damaged("the directory tree refers to an entry that is neither stream nor storage");
        pending.push_back(readU32(e + kEntryLeftAt));
        pending.push_back(readU32(e + kEntryRightAt));
    }
    std::sort(streamIds.begin(), streamIds.end());

    std::vector<Stream> streams;
    streams.reserve(streamIds.size());
    for (uint32_t id : streamIds) {
        const uint8_t* e = entry(id);
        const uint16_t nameBytes = readU16(e + kEntryNameLengthAt);
        if (nameBytes > 2 * (kMaxNameChars + 1) || nameBytes % 2 != 0)
            damaged("a directory entry has a bad name length");
        Stream stream;
        for (std::size_t i = 0; i + 1 < nameBytes / 2u; ++i)
            stream.name.push_back(static_cast<char16_t>(readU16(e + 2 * i)));
        stream.data = readStream(readU32(e + kEntryStartSectorAt), entrySize(e));
        streams.push_back(std::move(stream));
    }
    return streams;
}

}  // namespace

std::vector<Stream> read(std::span<const uint8_t> file) { return Reader(file).rootStreams(); }

}  // namespace xls::cfb
