// Layout constants of the compound file container, shared by its reader and writer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace xls::cfb::format {

constexpr std::array<uint8_t, 8> kSignature{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kDirectoryEntrySize = 128;
constexpr std::size_t kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr std::size_t kHeaderDifatSlots = 109;
constexpr std::size_t kMaxNameChars = 31;

// Sector ids with a meaning of their own; real ids stay below kMaxRegularSector.
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kFatSector = 0xFFFFFFFD;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;

// Header field offsets.
constexpr std::size_t kMinorVersionAt = 0x18;
constexpr std::size_t kMajorVersionAt = 0x1A;
constexpr std::size_t kByteOrderAt = 0x1C;
constexpr std::size_t kSectorShiftAt = 0x1E;
constexpr std::size_t kMiniSectorShiftAt = 0x20;
constexpr std::size_t kFatSectorCountAt = 0x2C;
constexpr std::size_t kFirstDirectorySectorAt = 0x30;
constexpr std::size_t kMiniStreamCutoffAt = 0x38;
constexpr std::size_t kFirstMiniFatSectorAt = 0x3C;
constexpr std::size_t kMiniFatSectorCountAt = 0x40;
constexpr std::size_t kFirstDifatSectorAt = 0x44;
constexpr std::size_t kDifatSectorCountAt = 0x48;
constexpr std::size_t kHeaderDifatAt = 0x4C;

// Directory entry field offsets.
constexpr std::size_t kEntryNameLengthAt = 0x40;
constexpr std::size_t kEntryTypeAt = 0x42;
constexpr std::size_t kEntryColourAt = 0x43;
constexpr std::size_t kEntryLeftAt = 0x44;
constexpr std::size_t kEntryRightAt = 0x48;
constexpr std::size_t kEntryChildAt = 0x4C;
constexpr std::size_t kEntryClassIdAt = 0x50;
constexpr std::size_t kEntryStartSectorAt = 0x74;
constexpr std::size_t kEntrySizeAt = 0x78;

enum EntryType : uint8_t { kUnusedEntry = 0, kStorageEntry = 1, kStreamEntry = 2, kRootEntry = 5 };
enum EntryColour : uint8_t { kRed = 0, kBlack = 1 };

inline uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

inline void writeU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void writeU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace xls::cfb::format
