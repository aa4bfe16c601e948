#include "app/CursorFile.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 256;
constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Little-endian reads that fail instead of leaving the buffer.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    bool has(size_t offset, size_t count) const { return offset <= m_bytes.size() && count <= m_bytes.size() - offset; }
    uint8_t u8(size_t offset) const { return m_bytes[offset]; }
    uint16_t u16(size_t offset) const { return uint16_t(m_bytes[offset] | m_bytes[offset + 1] << 8); }
    uint32_t u32(size_t offset) const { return uint32_t(u16(offset)) | uint32_t(u16(offset + 2)) << 16; }
    std::span<const uint8_t> slice(size_t offset, size_t count) const { return m_bytes.subspan(offset, count); }

private:
    std::span<const uint8_t> m_bytes;
};

size_t RowStride(int width, int bitsPerPixel) { return (size_t(width) * size_t(bitsPerPixel) + 31) / 32 * 4; }

// The colour index or BGR(A) value of pixel x in one row of the colour image.
uint32_t PixelValue(std::span<const uint8_t> row, int x, int bitsPerPixel) {
    const size_t bit = size_t(x) * size_t(bitsPerPixel);
    switch (bitsPerPixel) {
    case 1: return (row[bit / 8] >> (7 - bit % 8)) & 0x1;
    case 4: return (row[bit / 8] >> (4 - bit % 8)) & 0xF;
    case 8: return row[bit / 8];
    case 24: return uint32_t(row[bit / 8]) | uint32_t(row[bit / 8 + 1]) << 8 | uint32_t(row[bit / 8 + 2]) << 16;
    default:
        return uint32_t(row[bit / 8]) | uint32_t(row[bit / 8 + 1]) << 8 | uint32_t(row[bit / 8 + 2]) << 16 |
               uint32_t(row[bit / 8 + 3]) << 24;
    }
}

std::optional<CursorImage> ParseBitmap(const Reader& image, CursorImage cursor) {
    if (!image.has(0, kInfoHeaderSize)) return std::nullopt;
    const uint32_t headerSize = image.u32(0);
    const auto width = int32_t(image.u32(4));
    const auto doubledHeight = int32_t(image.u32(8));
    const int bitsPerPixel = image.u16(14);
    const uint32_t compression = image.u32(16);
    const uint32_t coloursUsed = image.u32(32);
    if (headerSize < kInfoHeaderSize || !image.has(0, headerSize) || image.u16(12) != 1 || compression != 0)
        return std::nullopt;
    if (width < 1 || width > kMaxSide || doubledHeight < 2 || doubledHeight > 2 * kMaxSide || doubledHeight % 2 != 0)
        return std::nullopt;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return std::nullopt;
    const int height = doubledHeight / 2;

    const uint32_t paletteSize = bitsPerPixel > 8 ? 0 : coloursUsed != 0 ? coloursUsed : 1u << bitsPerPixel;
    if (bitsPerPixel <= 8 && paletteSize > (1u << bitsPerPixel)) return std::nullopt;
    const size_t paletteOffset = headerSize;
    const size_t colourOffset = paletteOffset + size_t(paletteSize) * 4;
    const size_t colourStride = RowStride(width, bitsPerPixel);
    const size_t maskOffset = colourOffset + colourStride * size_t(height);
    const size_t maskStride = RowStride(width, 1);
    if (!image.has(paletteOffset, colourOffset - paletteOffset) ||
        !image.has(colourOffset, maskOffset - colourOffset) || !image.has(maskOffset, maskStride * size_t(height)))
        return std::nullopt;

    cursor.width = width;
    cursor.height = height;
    cursor.argb.assign(size_t(width) * size_t(height), 0);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        const size_t storedRow = size_t(height - 1 - y);
        const auto colourRow = image.slice(colourOffset + storedRow * colourStride, colourStride);
        const auto maskRow = image.slice(maskOffset + storedRow * maskStride, maskStride);
        for (int x = 0; x < width; ++x) {
            uint32_t value = PixelValue(colourRow, x, bitsPerPixel);
            if (bitsPerPixel <= 8) {
                if (value >= paletteSize) return std::nullopt;
                value = image.u32(paletteOffset + size_t(value) * 4);
            }
            const bool transparent = (maskRow[size_t(x) / 8] >> (7 - x % 8)) & 0x1;
            uint32_t pixel = value & 0x00FFFFFF;
            if (bitsPerPixel == 32) {
                pixel |= value & 0xFF000000;
                anyAlpha = anyAlpha || (value >> 24) != 0;
            } else if (!transparent) {
                pixel |= 0xFF000000;
            }
            cursor.argb[size_t(y) * size_t(width) + size_t(x)] = pixel;
        }
    }
    // A 32-bit image without any alpha relies on its mask, like the older depths.
    if (bitsPerPixel == 32 && !anyAlpha) {
        for (int y = 0; y < height; ++y) {
            const auto maskRow = image.slice(maskOffset + size_t(height - 1 - y) * maskStride, maskStride);
            for (int x = 0; x < width; ++x)
                if (!((maskRow[size_t(x) / 8] >> (7 - x % 8)) & 0x1))
                    cursor.argb[size_t(y) * size_t(width) + size_t(x)] |= 0xFF000000;
        }
    }
    return cursor;
}

}  // namespace

std::optional<CursorImage> ParseCursorFile(std::span<const uint8_t> bytes) {
    const Reader file(bytes);
    if (!file.has(0, kDirectorySize) || file.u16(0) != 0 || file.u16(2) != 2 || file.u16(4) == 0) return std::nullopt;
    if (!file.has(kDirectorySize, kEntrySize)) return std::nullopt;
    const size_t entry = kDirectorySize;
    CursorImage cursor;
    cursor.hotspotX = file.u16(entry + 4);
    cursor.hotspotY = file.u16(entry + 6);
    const uint32_t imageSize = file.u32(entry + 8);
    const uint32_t imageOffset = file.u32(entry + 12);
    if (!file.has(imageOffset, imageSize)) return std::nullopt;
    const Reader image(file.slice(imageOffset, imageSize));
    if (image.has(0, kPngSignature.size())) {
        const auto head = image.slice(0, kPngSignature.size());
        if (std::equal(head.begin(), head.end(), kPngSignature.begin())) return std::nullopt;
    }
    auto parsed = ParseBitmap(image, std::move(cursor));
    if (parsed && (parsed->hotspotX >= parsed->width || parsed->hotspotY >= parsed->height)) return std::nullopt;
    return parsed;
}
