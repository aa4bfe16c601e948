#include "Palette.h"

#include <algorithm>
#include <limits>

namespace xls::biff {
namespace {

constexpr uint16_t kFixedColourCount = 8;
constexpr uint16_t kPaletteEnd = kFixedColourCount + 56;

int distance(uint32_t a, uint32_t b) {
    auto channel = [](uint32_t c, int shift) { return int(c >> shift & 0xFF); };
    int total = 0;
    for (int shift : {0, 8, 16}) {
        const int d = channel(a, shift) - channel(b, shift);
        total += d * d;
    }
    return total;
}

std::vector<uint32_t> usedColours(const Workbook& workbook) {
    std::vector<uint32_t> used;
    auto note = [&used](uint32_t colour) {
        if (colour == kAutomaticColour) return;
        colour &= 0xFFFFFF;
        if (std::find(used.begin(), used.end(), colour) == used.end()) used.push_back(colour);
    };
    for (const Font& font : workbook.fonts) note(font.colour);
    for (const CellFormat& format : workbook.formats) {
        note(format.fill);
        for (const Border* border : {&format.left, &format.right, &format.top, &format.bottom})
            if (border->style != BorderStyle::None) note(border->colour);
    }
    return used;
}

}  // namespace

const PaletteColours& defaultPalette() {
    static const PaletteColours palette{0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
                                        0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
                                        0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
                                        0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
                                        0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
                                        0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
                                        0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};
    return palette;
}

uint32_t colourOfIndex(const PaletteColours& palette, uint16_t index) {
    // The fixed colours are the default palette's first eight, whatever the workbook's palette says.
    if (index < kFixedColourCount) return defaultPalette()[index];
    if (index < kPaletteEnd) return palette[index - kFixedColourCount];
    return kAutomaticColour;
}

PaletteBuilder::PaletteBuilder(const Workbook& workbook) : colours_(defaultPalette()) {
    const std::vector<uint32_t> used = usedColours(workbook);
    std::vector<bool> taken(colours_.size(), false);
    std::vector<uint32_t> missing;
    for (uint32_t colour : used) {
        auto it = std::find(colours_.begin(), colours_.end(), colour);
        if (it == colours_.end())
            missing.push_back(colour);
        else
            taken[size_t(it - colours_.begin())] = true;
    }
    // Slots are given away from the end, keeping the common colours at the start in place.
    size_t slot = colours_.size();
    for (uint32_t colour : missing) {
        while (slot > 0 && taken[slot - 1]) --slot;
        if (slot == 0) break;
        --slot;
        colours_[slot] = colour;
        taken[slot] = true;
    }
}

uint16_t PaletteBuilder::indexOf(uint32_t rgb) const {
    rgb &= 0xFFFFFF;
    size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < colours_.size(); ++i) {
        const int d = distance(colours_[i], rgb);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return uint16_t(best + kFixedColourCount);
}

}  // namespace xls::biff
