// The sheet picture's file as the run writes it: a Windows bitmap of 32-bit pixels stored top row
// first, each row the bytes of one row of an RGB32 image, so that writing and reading the file are
// one copy each, with no conversion. Any reader of bitmaps reads it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The file header and the information header before the pixels.
inline constexpr size_t kPictureHeaderSize = 54;

struct PictureLayout {
    int32_t width = 0;
    int32_t height = 0;
    int32_t dotsPerMeterX = 0;
    int32_t dotsPerMeterY = 0;
    size_t pixelBytes = 0;  // they follow the header
};

// The header of a picture of width by height pixels (each at most kMaxPictureSide).
std::array<uint8_t, kPictureHeaderSize> PictureFileHeader(int32_t width, int32_t height, int32_t dotsPerMeterX,
                                                          int32_t dotsPerMeterY);

// The layout of a file of fileSize bytes that begins with header, when it is laid out exactly as
// PictureFileHeader says; nothing for any other file, which a general reader then takes.
std::optional<PictureLayout> ReadPictureLayout(std::span<const uint8_t> header, uint64_t fileSize);

inline constexpr int32_t kMaxPictureSide = 32767;
