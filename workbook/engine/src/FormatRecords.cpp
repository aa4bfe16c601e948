#include "FormatRecords.h"

#include "ByteIo.h"
#include "RecordFlags.h"
#include "Utf16.h"

#include <array>

namespace xls::biff {
namespace {

struct UnderlineCode {
    Underline underline;
    uint8_t code;
};
constexpr std::array<UnderlineCode, 5> kUnderlineCodes{{{Underline::None, 0x00},
                                                        {Underline::Single, 0x01},
                                                        {Underline::Double, 0x02},
                                                        {Underline::SingleAccounting, 0x21},
                                                        {Underline::DoubleAccounting, 0x22}}};

uint8_t underlineCode(Underline underline) {
    for (const UnderlineCode& entry : kUnderlineCodes)
        if (entry.underline == underline) return entry.code;
    return 0;
}

// Unknown codes read as no underline.
Underline underlineOf(uint8_t code) {
    for (const UnderlineCode& entry : kUnderlineCodes)
        if (entry.code == code) return entry.underline;
    return Underline::None;
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
    out.u16(uint16_t((font.italic ? kFontItalic : 0) | (font.strikeout ? kFontStrikeout : 0)));
    out.u16(font.colour == kAutomaticColour ? kFontAutomatic : palette.indexOf(font.colour));
    out.u16(font.bold ? kFontBoldWeight : kFontNormalWeight);
    out.u16(0);  // no superscript or subscript
    out.u8(underlineCode(font.underline));
    out.u8(font.family);
    out.u8(font.charset);
    out.u8(0);
    const std::u16string name(toUtf16(font.name));
    out.u8(uint8_t(name.size()));
    out.u8(kStringWide);
    for (char16_t unit : name) out.u16(unit);
    return out.take();
}

Font decodeFont(std::span<const uint8_t> data, const PaletteColours& palette) {
    ByteReader in(data);
    Font font;
    font.heightTwips = in.u16();
    const uint16_t flags = in.u16();
    font.italic = flags & kFontItalic;
    font.strikeout = flags & kFontStrikeout;
    const uint16_t colour = in.u16();
    font.colour = colour == kFontAutomatic ? kAutomaticColour : colourOfIndex(palette, colour);
    font.bold = in.u16() >= kFontBoldWeight;
    in.u16();
    font.underline = underlineOf(in.u8());
    font.family = in.u8();
    font.charset = in.u8();
    in.u8();
    const uint8_t length = in.u8();
    const bool wide = in.u8() & kStringWide;
    std::u16string name;
    for (uint8_t i = 0; i < length; ++i) name.push_back(wide ? char16_t(in.u16()) : char16_t(in.u8()));
    font.name = toUtf8(name);
    return font;
}

std::vector<uint8_t> encodeStyleXf(uint16_t fileFont) {
    ByteWriter out;
    // Locked, bottom-aligned, no fill, automatic pattern colours.
    writeXf(out, fileFont, 0, kXfLocked | kXfStyle | kXfNoParent, uint8_t(uint8_t(VAlign::Bottom) << kXfVAlignShift), 0,
            0, kXfStyleAttributes, 0, 0, uint16_t(kSystemForeground | kSystemBackground << kXfBackgroundShift));
    return out.take();
}

std::vector<uint8_t> encodeCellXf(const CellFormat& format, uint16_t fileFont, const PaletteBuilder& palette) {
    const uint16_t protection = uint16_t((format.locked ? kXfLocked : 0) | (format.hidden ? kXfHidden : 0));
    const uint8_t alignment = uint8_t((uint8_t(format.hAlign) & kXfHAlignMask) | (format.wrap ? kXfWrap : 0) |
                                      (uint8_t(format.vAlign) & kXfVAlignMask) << kXfVAlignShift);
    const uint32_t borders = uint32_t(format.left.style) | uint32_t(format.right.style) << kXfRightStyleShift |
                             uint32_t(format.top.style) << kXfTopStyleShift |
                             uint32_t(format.bottom.style) << kXfBottomStyleShift |
                             uint32_t(borderColourIndex(format.left, palette)) << kXfLeftColourShift |
                             uint32_t(borderColourIndex(format.right, palette)) << kXfRightColourShift;
    const bool filled = format.fill != kNoFill;
    const uint32_t bordersAndFill = uint32_t(borderColourIndex(format.top, palette)) |
                                    uint32_t(borderColourIndex(format.bottom, palette)) << kXfBottomColourShift |
                                    (filled ? kXfSolidPattern : 0) << kXfPatternShift;
    const uint16_t foreground = filled ? palette.indexOf(format.fill) : kSystemForeground;
    ByteWriter out;
    // Every attribute is the cell's own rather than its style's.
    writeXf(out, fileFont, format.numFmt, protection, alignment, format.rotation, format.indent, kXfCellAttributes,
            borders, bordersAndFill, uint16_t(foreground | kSystemBackground << kXfBackgroundShift));
    return out.take();
}

DecodedXf decodeXf(std::span<const uint8_t> data, const PaletteColours& palette) {
    ByteReader in(data);
    DecodedXf xf;
    CellFormat& format = xf.format;
    format.font = in.u16();
    format.numFmt = in.u16();
    const uint16_t protection = in.u16();
    format.locked = protection & kXfLocked;
    format.hidden = protection & kXfHidden;
    xf.isStyle = protection & kXfStyle;
    const uint8_t alignment = in.u8();
    format.hAlign = HAlign(alignment & kXfHAlignMask);
    format.wrap = alignment & kXfWrap;
    const uint8_t v = alignment >> kXfVAlignShift & kXfVAlignMask;
    format.vAlign = v <= uint8_t(VAlign::Distributed) ? VAlign(v) : VAlign::Bottom;
    format.rotation = in.u8();
    format.indent = in.u8() & kXfIndentMask;
    in.u8();
    const uint32_t borders = in.u32();
    const uint32_t bordersAndFill = in.u32();
    const uint16_t fillColours = in.u16();
    format.left = borderOf(borders & kXfBorderStyleMask, borders >> kXfLeftColourShift & kXfColourMask, palette);
    format.right = borderOf(borders >> kXfRightStyleShift & kXfBorderStyleMask,
                            borders >> kXfRightColourShift & kXfColourMask, palette);
    format.top = borderOf(borders >> kXfTopStyleShift & kXfBorderStyleMask, bordersAndFill & kXfColourMask, palette);
    format.bottom = borderOf(borders >> kXfBottomStyleShift & kXfBorderStyleMask,
                             bordersAndFill >> kXfBottomColourShift & kXfColourMask, palette);
    const uint32_t pattern = bordersAndFill >> kXfPatternShift & kXfPatternMask;
    // Patterned fills other than solid are shown with their foreground colour.
    format.fill = pattern == 0 ? kNoFill : colourOfIndex(palette, fillColours & kXfColourMask);
    return xf;
}

}  // namespace xls::biff
