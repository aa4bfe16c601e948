// Colour indices of BIFF8: eight fixed colours, a 56-entry palette (indices 8..63) and system colours.
#pragma once

#include "xls/Model.h"

#include <array>
#include <cstdint>
#include <vector>

namespace xls::biff {

using PaletteColours = std::array<uint32_t, 56>;

inline constexpr uint16_t kSystemForeground = 0x40;
inline constexpr uint16_t kSystemBackground = 0x41;
inline constexpr uint16_t kFontAutomatic = 0x7FFF;

const PaletteColours& defaultPalette();

// The colour of an index under a palette; system and unknown indices give kAutomaticColour.
uint32_t colourOfIndex(const PaletteColours& palette, uint16_t index);

// Assigns palette slots to the colours a workbook uses: a colour already in the default palette
// keeps its index, other colours take over slots no used colour needs, so they round-trip exactly;
// beyond 56 distinct colours the nearest entry is used.
class PaletteBuilder {
public:
    explicit PaletteBuilder(const Workbook& workbook);

    uint16_t indexOf(uint32_t rgb) const;
    bool isDefault() const { return colours_ == defaultPalette(); }
    const PaletteColours& colours() const { return colours_; }

private:
    PaletteColours colours_;
};

}  // namespace xls::biff
