#include "FormatRecords.h"

#include "ByteIo.h"
#include "Utf16.h"

namespace xls::biff {
namespace {

constexpr uint16_t kBoldWeight = 700;
constexpr uint16_t kNormalWeight = 400;

uint8_t underlineCode(Underline underline) {
    switch (underline) {
        case Underline::None: return 0x00;
        case Underline::Single: return 0x01;
        case Underline::Double: return 0x02;
        case Underline::SingleAccounting: return 0x21;
        case Underline::DoubleAccounting: return 0x22;
    }
    return 0;
}

Underline underlineOf(uint8_t code) {
    switch (code) {
        case 0x01: return Underline::Single;
        case 0x02: return Underline::Double;
        case 0x21: return Underline::SingleAccounting;
        case 0x22: return Underline::DoubleAccounting;
        default: return Underline::None;
    }
}

uint16_t borderColourIndex(const Border& border, const PaletteBuilder& palette) {
    if (border.style == BorderStyle::None) return 0;
    return border.colour == kAutomaticColour ? kSystemForeground : palette.indexOf(border.colour);
}

Border borderOf(uint32_t style, uint32_t colourIndex, const PaletteColours& palette) {
    if (style == 0 || style > uint32_t(BorderStyle::SlantedDashDot)) return Border{};
    return Border{BorderStyle(style), colourOfIndex(palette, uint16_t(colourIndex))};
}

void writeXf(ByteWriter& out, uint16_t fileFont, uint16_t numFmt, uint16_t protectionAndParent, uint8_t alignment,
             uint8_t rotation, uint8_t indent, uint8_t usedAttributes, uint32_t borders, uint32_t bordersAndFill,
             uint16_t fillColours) {
    out.u16(fileFont);
    out.u16(numFmt);
    out.u16(protectionAndParent);
    out.u8(alignment);
    out.u8(rotation);
    out.u8(indent);
    out.u8(usedAttributes);
    out.u32(borders);
    out.u32(bordersAndFill);
    out.u16(fillColours);
}

}  // namespace

std::vector<uint8_t> encodeFont(const Font& font, const PaletteBuilder& palette) {
    ByteWriter out;
    out.u16(font.heightTwips);
    out.u16(uint16_t((font.italic ? 0x0002 : 0) | (font.strikeout ? 0x0008 : 0)));
    out.u16(font.colour == kAutomaticColour ? kFontAutomatic : palette.indexOf(font.colour));
    out.u16(font.bold ? kBoldWeight : kNormalWeight);
    out.u16(0);  // no superscript or subscript
    out.u8(underlineCode(font.underline));
    out.u8(font.family);
    out.u8(font.charset);
    out.u8(0);
    const std::u16string name(toUtf16(font.name));
    out.u8(uint8_t(name.size()));
    out.u8(0x01);
    for (char16_t unit : name) out.u16(unit);
    return out.take();
}

Font decodeFont(std::span<const uint8_t> data, const PaletteColours& palette) {
    ByteReader in(data);
    Font font;
    font.heightTwips = in.u16();
    const uint16_t flags = in.u16();
    font.italic = flags & 0x0002;
    font.strikeout = flags & 0x0008;
    const uint16_t colour = in.u16();
    font.colour = colour == kFontAutomatic ? kAutomaticColour : colourOfIndex(palette, colour);
    font.bold = in.u16() >= kBoldWeight;
    in.u16();
    font.underline = underlineOf(in.u8());
    font.family = in.u8();
    font.charset = in.u8();
    in.u8();
    const uint8_t length = in.u8();
    const bool wide = in.u8() & 0x01;
    std::u16string name;
    for (uint8_t i = 0; i < length; ++i) name.push_back(wide ? char16_t(in.u16()) : char16_t(in.u8()));
    font.name = toUtf8(name);
    return font;
}

std::vector<uint8_t> encodeStyleXf(uint16_t fileFont) {
    ByteWriter out;
    // Locked, a style, parent 0xFFF; no fill, automatic pattern colours.
    writeXf(out, fileFont, 0, 0xFFF5, 0x20, 0, 0, 0xF4, 0, 0, uint16_t(kSystemForeground | kSystemBackground << 7));
    return out.take();
}

std::vector<uint8_t> encodeCellXf(const CellFormat& format, uint16_t fileFont, const PaletteBuilder& palette) {
    const uint16_t protection = uint16_t((format.locked ? 0x0001 : 0) | (format.hidden ? 0x0002 : 0));
    const uint8_t alignment = uint8_t((uint8_t(format.hAlign) & 0x07) | (format.wrap ? 0x08 : 0) |
                                      (uint8_t(format.vAlign) & 0x07) << 4);
    const uint32_t borders = uint32_t(format.left.style) | uint32_t(format.right.style) << 4 |
                             uint32_t(format.top.style) << 8 | uint32_t(format.bottom.style) << 12 |
                             uint32_t(borderColourIndex(format.left, palette)) << 16 |
                             uint32_t(borderColourIndex(format.right, palette)) << 23;
    const bool filled = format.fill != kNoFill;
    const uint32_t bordersAndFill = uint32_t(borderColourIndex(format.top, palette)) |
                                    uint32_t(borderColourIndex(format.bottom, palette)) << 7 |
                                    uint32_t(filled ? 1 : 0) << 26;
    const uint16_t foreground = filled ? palette.indexOf(format.fill) : kSystemForeground;
    ByteWriter out;
    // Every attribute is the cell's own rather than its style's.
    writeXf(out, fileFont, format.numFmt, protection, alignment, format.rotation, format.indent, 0xFC,
            borders, bordersAndFill, uint16_t(foreground | kSystemBackground << 7));
    return out.take();
}

DecodedXf decodeXf(std::span<const uint8_t> data, const PaletteColours& palette) {
    ByteReader in(data);
    DecodedXf xf;
    CellFormat& format = xf.format;
    format.font = in.u16();
    format.numFmt = in.u16();
    const uint16_t protection = in.u16();
    format.locked = protection & 0x0001;
    format.hidden = protection & 0x0002;
    xf.isStyle = protection & 0x0004;
    const uint8_t alignment = in.u8();
    const uint8_t h = alignment & 0x07;
    format.hAlign = HAlign(h);
    format.wrap = alignment & 0x08;
    const uint8_t v = alignment >> 4 & 0x07;
    format.vAlign = v <= uint8_t(VAlign::Distributed) ? VAlign(v) : VAlign::Bottom;
    format.rotation = in.u8();
    format.indent = in.u8() & 0x0F;
    in.u8();
    const uint32_t borders = in.u32();
    const uint32_t bordersAndFill = in.u32();
    const uint16_t fillColours = in.u16();
    format.left = borderOf(borders & 0x0F, borders >> 16 & 0x7F, palette);
    format.right = borderOf(borders >> 4 & 0x0F, borders >> 23 & 0x7F, palette);
    format.top = borderOf(borders >> 8 & 0x0F, bordersAndFill & 0x7F, palette);
    format.bottom = borderOf(borders >> 12 & 0x0F, bordersAndFill >> 7 & 0x7F, palette);
    const uint32_t pattern = bordersAndFill >> 26 & 0x3F;
    // Patterned fills other than solid are shown with their foreground colour.
    format.fill = pattern == 0 ? kNoFill : colourOfIndex(palette, fillColours & 0x7F);
    return xf;
}

}  // namespace xls::biff
