// The bits and fixed values inside BIFF8 record fields, named once for the reader and the writer.
#pragma once

#include <cstdint>

namespace xls::biff {

inline constexpr uint16_t kBiff8Version = 0x0600;  // BOF

// XLUnicodeString options.
inline constexpr uint8_t kStringWide = 0x01;      // characters take two bytes, else one
inline constexpr uint8_t kStringHasExtra = 0x04;  // phonetic data follows the characters
inline constexpr uint8_t kStringHasRuns = 0x08;   // formatting runs follow the characters

// ROW
inline constexpr uint16_t kRowHeightMask = 0x7FFF;
inline constexpr uint16_t kRowHidden = 0x0020;
inline constexpr uint16_t kRowCustomHeight = 0x0040;
inline constexpr uint16_t kRowHasFormat = 0x0080;
inline constexpr uint16_t kRowAlwaysSet = 0x0100;  // a reserved bit that must be 1
inline constexpr uint16_t kRowFormatMask = 0x0FFF;

// COLINFO
inline constexpr uint16_t kColumnHidden = 0x0001;
inline constexpr uint16_t kColumnUserSet = 0x0002;  // width set by the user

// WINDOW2
inline constexpr uint16_t kWindowShowGridlines = 0x0002;
inline constexpr uint16_t kWindowShowHeadings = 0x0004;
inline constexpr uint16_t kWindowShowZeros = 0x0010;
inline constexpr uint16_t kWindowDefaultGridColour = 0x0020;
inline constexpr uint16_t kWindowShowOutline = 0x0080;
inline constexpr uint16_t kWindowSelected = 0x0200;
inline constexpr uint16_t kWindowShown = 0x0400;  // the sheet shown in the workbook window
inline constexpr uint32_t kWindowAutomaticGridColour = 0x40;

// WSBOOL
inline constexpr uint16_t kSheetShowPageBreaks = 0x0001;
inline constexpr uint16_t kSheetSummaryRowsBelow = 0x0040;
inline constexpr uint16_t kSheetSummaryColumnsRight = 0x0080;
inline constexpr uint16_t kSheetFitToPage = 0x0100;
inline constexpr uint16_t kSheetShowRowOutline = 0x0400;

// SETUP
inline constexpr uint16_t kSetupPortrait = 0x0002;
inline constexpr uint16_t kSetupNeverSet = 0x0004;       // paper, scale and orientation were never chosen
inline constexpr uint16_t kSetupNoOrientation = 0x0040;  // orientation not set: portrait

// FONT
inline constexpr uint16_t kFontItalic = 0x0002;
inline constexpr uint16_t kFontStrikeout = 0x0008;
inline constexpr uint16_t kFontBoldWeight = 700;
inline constexpr uint16_t kFontNormalWeight = 400;

// XF: protection and parent, alignment, used attributes, borders and fill.
inline constexpr uint16_t kXfLocked = 0x0001;
inline constexpr uint16_t kXfHidden = 0x0002;
inline constexpr uint16_t kXfStyle = 0x0004;
inline constexpr uint16_t kXfNoParent = 0xFFF0;  // a style XF's parent field
inline constexpr uint8_t kXfHAlignMask = 0x07;
inline constexpr uint8_t kXfWrap = 0x08;
inline constexpr int kXfVAlignShift = 4;
inline constexpr uint8_t kXfVAlignMask = 0x07;
inline constexpr uint8_t kXfIndentMask = 0x0F;
inline constexpr uint8_t kXfCellAttributes = 0xFC;   // every attribute is the cell's own
inline constexpr uint8_t kXfStyleAttributes = 0xF4;  // every attribute but the font is the style's
inline constexpr uint32_t kXfBorderStyleMask = 0x0F;
inline constexpr uint32_t kXfColourMask = 0x7F;
inline constexpr int kXfRightStyleShift = 4;
inline constexpr int kXfTopStyleShift = 8;
inline constexpr int kXfBottomStyleShift = 12;
inline constexpr int kXfLeftColourShift = 16;
inline constexpr int kXfRightColourShift = 23;
inline constexpr int kXfBottomColourShift = 7;  // in the second border field, after the top colour
inline constexpr int kXfPatternShift = 26;
inline constexpr uint32_t kXfPatternMask = 0x3F;
inline constexpr uint32_t kXfSolidPattern = 1;
inline constexpr int kXfBackgroundShift = 7;  // in the fill colours, after the foreground

// FORMULA
inline constexpr uint16_t kFormulaAlwaysCalculate = 0x0001;
inline constexpr uint16_t kCachedResultMarker = 0xFFFF;  // top two bytes of a result that is not a number
enum CachedResultType : uint8_t { kCachedString = 0, kCachedBool = 1, kCachedError = 2, kCachedEmpty = 3 };

// RK
inline constexpr uint32_t kRkDividedBy100 = 0x01;
inline constexpr uint32_t kRkInteger = 0x02;

// NAME
inline constexpr uint16_t kNameBuiltin = 0x0020;
inline constexpr uint8_t kBuiltinPrintArea = 0x06;

// STYLE
inline constexpr uint16_t kStyleBuiltin = 0x8000;

}  // namespace xls::biff
