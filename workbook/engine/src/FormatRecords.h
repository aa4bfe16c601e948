// FONT and XF record layouts, both directions.
#pragma once

#include "Palette.h"
#include "xls/Model.h"

#include <cstdint>
#include <span>
#include <vector>

namespace xls::biff {

// Model font i is file font i below 4 and i + 1 from 4 on: file index 4 does not exist.
inline uint16_t fileFontIndex(uint16_t modelIndex) { return modelIndex < 4 ? modelIndex : uint16_t(modelIndex + 1); }
// The other way; a file naming font 4 gets the first font.
inline uint16_t modelFontIndex(uint16_t fileIndex) {
    return fileIndex < 4 ? fileIndex : (fileIndex == 4 ? 0 : uint16_t(fileIndex - 1));
}

std::vector<uint8_t> encodeFont(const Font& font, const PaletteBuilder& palette);
Font decodeFont(std::span<const uint8_t> data, const PaletteColours& palette);

// The style XFs the file format expects before the cell XFs (all based on the Normal style).
inline constexpr uint16_t kStyleXfCount = 15;
std::vector<uint8_t> encodeStyleXf(uint16_t fileFont);
std::vector<uint8_t> encodeCellXf(const CellFormat& format, uint16_t fileFont, const PaletteBuilder& palette);

struct DecodedXf {
    CellFormat format;  // font holds the file font index
    bool isStyle = false;
};
DecodedXf decodeXf(std::span<const uint8_t> data, const PaletteColours& palette);

}  // namespace xls::biff
