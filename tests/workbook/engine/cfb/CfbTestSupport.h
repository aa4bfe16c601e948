// Helpers for building compound files and finding their parts by following the header, as a reader would.
#pragma once

#include "CfbFormat.h"
#include "xls/Cfb.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cfbtest {

using namespace xls::cfb::format;

constexpr std::size_t kSector = 512;

// Distinct bytes per stream and position, so swapped or shifted sectors show up.
inline xls::cfb::Stream patternedStream(std::u16string name, std::size_t size) {
    xls::cfb::Stream stream{std::move(name), std::vector<uint8_t>(size)};
    const auto seed = static_cast<uint32_t>(stream.name.size() * 131 + (stream.name.empty() ? 0 : stream.name[0]));
    for (std::size_t i = 0; i < size; ++i) stream.data[i] = static_cast<uint8_t>((i * 2654435761u + seed) >> 13);
    return stream;
}

inline uint32_t u32At(const std::vector<uint8_t>& file, std::size_t offset) { return readU32(file.data() + offset); }
inline void putU32(std::vector<uint8_t>& file, std::size_t offset, uint32_t value) {
    writeU32(file.data() + offset, value);
}
inline std::size_t sectorOffset(uint32_t sector) { return (std::size_t{sector} + 1) * kSector; }

// Offset of a sector's FAT entry; only FAT sectors listed in the header are followed.
inline std::size_t fatEntryOffset(const std::vector<uint8_t>& file, uint32_t sector) {
    const uint32_t fatSector = u32At(file, kHeaderDifatAt + 4 * (sector / (kSector / 4)));
    return sectorOffset(fatSector) + 4 * (sector % (kSector / 4));
}

inline std::size_t directoryEntryOffset(const std::vector<uint8_t>& file, uint32_t index) {
    const std::size_t perSector = kSector / kDirectoryEntrySize;
    uint32_t sector = u32At(file, kFirstDirectorySectorAt);
    for (uint32_t i = 0; i < index / perSector; ++i) sector = u32At(file, fatEntryOffset(file, sector));
    return sectorOffset(sector) + (index % perSector) * kDirectoryEntrySize;
}

}  // namespace cfbtest
