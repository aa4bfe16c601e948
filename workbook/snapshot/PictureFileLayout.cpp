#include "workbook/snapshot/PictureFileLayout.h"

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint16_t kBitsPerPixel = 32;
constexpr uint32_t kUncompressed = 0;

void Put16(uint8_t* at, uint16_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}

uint16_t Get16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }

uint32_t Get32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

}  // namespace

std::array<uint8_t, kPictureHeaderSize> PictureFileHeader(int32_t width, int32_t height, int32_t dotsPerMeterX,
                                                          int32_t dotsPerMeterY) {
    const uint32_t pixelBytes = uint32_t(width) * uint32_t(height) * 4;
    std::array<uint8_t, kPictureHeaderSize> header{};
    uint8_t* h = header.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, uint32_t(kPictureHeaderSize) + pixelBytes);
    Put32(h + 10, uint32_t(kPictureHeaderSize));
    Put32(h + 14, kInfoHeaderSize);
    Put32(h + 18, uint32_t(width));
    Put32(h + 22, uint32_t(-height));  // a negative height stores the top row first
    Put16(h + 26, 1);
    Put16(h + 28, kBitsPerPixel);
    Put32(h + 30, kUncompressed);
    Put32(h + 34, pixelBytes);
    Put32(h + 38, uint32_t(dotsPerMeterX));
    Put32(h + 42, uint32_t(dotsPerMeterY));
    return header;
}

std::optional<PictureLayout> ReadPictureLayout(std::span<const uint8_t> header, uint64_t fileSize) {
    if (header.size() < kPictureHeaderSize) return std::nullopt;
    const uint8_t* h = header.data();
    if (h[0] != 'B' || h[1] != 'M' || Get32(h + 10) != kPictureHeaderSize || Get32(h + 14) != kInfoHeaderSize)
        return std::nullopt;
    if (Get16(h + 26) != 1 || Get16(h + 28) != kBitsPerPixel || Get32(h + 30) != kUncompressed) return std::nullopt;
    const int64_t width = int32_t(Get32(h + 18));
    const int64_t height = -int64_t(int32_t(Get32(h + 22)));
    if (width < 1 || width > kMaxPictureSide || height < 1 || height > kMaxPictureSide) return std::nullopt;
    PictureLayout layout;
    layout.width = int32_t(width);
    layout.height = int32_t(height);
    layout.dotsPerMeterX = int32_t(Get32(h + 38));
    layout.dotsPerMeterY = int32_t(Get32(h + 42));
    layout.pixelBytes = size_t(width) * size_t(height) * 4;
    if (Get32(h + 34) != layout.pixelBytes || Get32(h + 2) != kPictureHeaderSize + layout.pixelBytes ||
        fileSize != kPictureHeaderSize + layout.pixelBytes)
        return std::nullopt;
    return layout;
}
