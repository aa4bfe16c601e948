#include "CellFormats.h"

#include "xls/Error.h"
#include "xls/LocalFormats.h"

namespace xlsx {
namespace {

// The built-in number formats every .xlsx reader knows by their id alone. Some readers know no
// currency or accounting formats (5 to 8, 41 to 44) by id, and 23 to 36 differ by country: those
// are written with their code.
bool knownById(uint16_t id) {
    return id <= 4 || (id >= 9 && id <= 22) || (id >= 37 && id <= 40) || (id >= 45 && id <= 49);
}

// libxlsxwriter takes 0 for "no colour", so black has a value of its own.
lxw_color_t colourOf(uint32_t rgb) { return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : lxw_color_t(rgb); }

bool isSet(uint32_t colour) { return colour != xls::kAutomaticColour; }

uint8_t underlineOf(xls::Underline underline) {
    switch (underline) {
    case xls::Underline::None: return LXW_UNDERLINE_NONE;
    case xls::Underline::Single: return LXW_UNDERLINE_SINGLE;
    case xls::Underline::Double: return LXW_UNDERLINE_DOUBLE;
    case xls::Underline::SingleAccounting: return LXW_UNDERLINE_SINGLE_ACCOUNTING;
    case xls::Underline::DoubleAccounting: return LXW_UNDERLINE_DOUBLE_ACCOUNTING;
    }
    return LXW_UNDERLINE_NONE;
}

uint8_t horizontalOf(xls::HAlign align) {
    switch (align) {
    case xls::HAlign::General: return LXW_ALIGN_NONE;
    case xls::HAlign::Left: return LXW_ALIGN_LEFT;
    case xls::HAlign::Center: return LXW_ALIGN_CENTER;
    case xls::HAlign::Right: return LXW_ALIGN_RIGHT;
    case xls::HAlign::Fill: return LXW_ALIGN_FILL;
    case xls::HAlign::Justify: return LXW_ALIGN_JUSTIFY;
    case xls::HAlign::CenterAcross: return LXW_ALIGN_CENTER_ACROSS;
    case xls::HAlign::Distributed: return LXW_ALIGN_DISTRIBUTED;
    }
    return LXW_ALIGN_NONE;
}

uint8_t verticalOf(xls::VAlign align) {
    switch (align) {
    case xls::VAlign::Top: return LXW_ALIGN_VERTICAL_TOP;
    case xls::VAlign::Center: return LXW_ALIGN_VERTICAL_CENTER;
    case xls::VAlign::Bottom: return LXW_ALIGN_VERTICAL_BOTTOM;
    case xls::VAlign::Justify: return LXW_ALIGN_VERTICAL_JUSTIFY;
    case xls::VAlign::Distributed: return LXW_ALIGN_VERTICAL_DISTRIBUTED;
    }
    return LXW_ALIGN_VERTICAL_BOTTOM;
}

// The 97–2003 angle (0–90 up, 91–180 down, 255 stacked) as the .xlsx form gives it.
int16_t rotationOf(uint8_t rotation) {
    if (rotation == 255) return 270;
    return rotation <= 90 ? int16_t(rotation) : int16_t(90 - rotation);
}

void setFont(lxw_format* target, const xls::Font& font) {
    format_set_font_name(target, font.name.c_str());
    format_set_font_size(target, font.heightTwips / 20.0);
    if (font.bold) format_set_bold(target);
    if (font.italic) format_set_italic(target);
    if (font.strikeout) format_set_font_strikeout(target);
    if (font.underline != xls::Underline::None) format_set_underline(target, underlineOf(font.underline));
    if (isSet(font.colour)) format_set_font_color(target, colourOf(font.colour));
    if (font.family != 0) format_set_font_family(target, font.family);
    if (font.charset != 0) format_set_font_charset(target, font.charset);
}

using BorderSetter = void (*)(lxw_format*, uint8_t);
using BorderColourSetter = void (*)(lxw_format*, lxw_color_t);

void setBorder(lxw_format* target, const xls::Border& border, BorderSetter style, BorderColourSetter colour) {
    if (border.style == xls::BorderStyle::None) return;
    // The border styles share their numbering with the 97–2003 file's.
    style(target, uint8_t(border.style));
    if (isSet(border.colour)) colour(target, colourOf(border.colour));
}

}  // namespace

CellFormats::CellFormats(lxw_workbook* target, const xls::Workbook& source, const xls::LocaleInfo& locale)
    : m_target(target), m_source(source), m_locale(locale), m_made(source.formats.size(), nullptr) {}

lxw_format* CellFormats::of(uint16_t xf, const std::string& where) {
    if (xf >= m_made.size()) throw xls::Error(where + ": the cell's format is not in the workbook");
    if (!m_made[xf]) m_made[xf] = make(m_source.formats[xf], where);
    return m_made[xf];
}

lxw_format* CellFormats::make(const xls::CellFormat& format, const std::string& where) {
    lxw_format* target = workbook_add_format(m_target);
    if (!target) throw xls::Error(where + ": no memory for the cell's format");
    if (format.font >= m_source.fonts.size()) throw xls::Error(where + ": the cell's font is not in the workbook");
    setFont(target, m_source.fonts[format.font]);

    if (knownById(format.numFmt)) {
        format_set_num_format_index(target, uint8_t(format.numFmt));
    } else {
        const std::string code =
            xls::localBuiltinFormat(format.numFmt, m_locale).value_or(m_source.numberFormatCode(format.numFmt));
        if (code.empty())
            throw xls::Error(where + ": number format " + std::to_string(format.numFmt) + " has no format code");
        format_set_num_format(target, code.c_str());
    }

    if (format.hAlign != xls::HAlign::General) format_set_align(target, horizontalOf(format.hAlign));
    if (format.vAlign != xls::VAlign::Bottom) format_set_align(target, verticalOf(format.vAlign));
    if (format.wrap) format_set_text_wrap(target);
    if (format.indent != 0) format_set_indent(target, format.indent);
    if (format.rotation != 0) format_set_rotation(target, rotationOf(format.rotation));

    setBorder(target, format.left, format_set_left, format_set_left_color);
    setBorder(target, format.right, format_set_right, format_set_right_color);
    setBorder(target, format.top, format_set_top, format_set_top_color);
    setBorder(target, format.bottom, format_set_bottom, format_set_bottom_color);

    if (format.fill != xls::kNoFill) {
        format_set_pattern(target, LXW_PATTERN_SOLID);
        format_set_bg_color(target, colourOf(format.fill));
    }
    if (!format.locked) format_set_unlocked(target);
    if (format.hidden) format_set_hidden(target);
    return target;
}

}  // namespace xlsx
