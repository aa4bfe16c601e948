#include "CellTextLayout.h"

#include "DrawnText.h"
#include "TextWindow.h"
#include "xls/LocalFormats.h"
#include "xls/ScreenFonts.h"
#include "xls/AsciiText.h"

#include <algorithm>
#include <limits>

namespace xls {
namespace {

// Text keeps this many pixels from the cell's left edge and from the gridline on its right.
constexpr int kPadding = 2;
constexpr int kGeneralChars = 11;
// Overflow as far as the neighbours allow.
constexpr int kUnlimited = std::numeric_limits<int>::max() / 4;

bool isGeneralCode(const std::string& code) { return asciiLowered(code).find("general") != std::string::npos; }

HAlign resolvedAlignment(HAlign align, const Value& value) {
    switch (align) {
    case HAlign::General:
        if (std::holds_alternative<bool>(value) || std::holds_alternative<ErrorCode>(value)) return HAlign::Center;
        return std::holds_alternative<double>(value) ? HAlign::Right : HAlign::Left;
    case HAlign::Justify: return HAlign::Left;
    case HAlign::Distributed:
    case HAlign::CenterAcross: return HAlign::Center;
    default: return align;
    }
}

OverflowSide overflowSide(HAlign align) {
    switch (align) {
    case HAlign::Right: return OverflowSide::Left;
    case HAlign::Center: return OverflowSide::Both;
    default: return OverflowSide::Right;
    }
}

// The cell's inside: the gridline on its right and bottom belongs to the cell.
QRect inside(const QRect& cell) { return cell.adjusted(0, 0, -1, -1); }

QRect textArea(const QRect& cell) { return inside(cell).adjusted(kPadding, 0, -kPadding, -1); }

Range rowSpan(int row, const ColumnSpan& span) {
    return {uint16_t(row), uint16_t(span.firstCol), uint16_t(row), uint16_t(span.lastCol)};
}

// The shortest window from `side` (to a factor of two) that is at least `pixels` wide, or the whole
// text: measuring grows with what the cell shows, not with the text.
std::string windowCovering(const std::string& text, WindowSide side, int pixels, const TextWidths& widths) {
    size_t chars = size_t(std::max(0, pixels) / std::max(1, widths.metrics().averageCharWidth())) + 8;
    for (;; chars *= 2) {
        std::string window = textWindow(text, chars, side);
        if (window.size() == text.size() || widths.advance(drawnText(window)) >= pixels) return window;
    }
}

}  // namespace

CellTextLayout::CellTextLayout(const CellLookup& cells, const SheetGeometry& geometry, const LocaleInfo& locale,
                               std::vector<QFont> fonts, int maxDigitWidth)
    : cells_(cells), geometry_(geometry), locale_(locale), fonts_(std::move(fonts)), indentStep_(3 * maxDigitWidth) {
    for (const QFont& font : fonts_) {
        widths_.emplace_back(font);
        emboldened_.push_back(needsEmboldening(font));
    }
}

size_t CellTextLayout::fontIndex(uint16_t index) const { return index < fonts_.size() ? index : 0; }
const QFont& CellTextLayout::fontAt(uint16_t index) const { return fonts_[fontIndex(index)]; }
const TextWidths& CellTextLayout::widthsAt(uint16_t index) const { return widths_[fontIndex(index)]; }
bool CellTextLayout::emboldenAt(uint16_t index) const { return emboldened_[fontIndex(index)]; }

DisplayText CellTextLayout::fitNumber(const Value& value, const std::string& code, const TextWidths& widths,
                                      int room) const {
    if (isGeneralCode(code)) {
        for (int chars = kGeneralChars - 1; chars > 0; --chars) {
            DisplayText shorter = formatValue(value, code, locale_, chars, cells_.workbook().date1904);
            if (displayWidth(widths, shorter) <= room) return shorter;
        }
    }
    DisplayText hashes;
    hashes.isNumber = true;
    const int hashWidth = std::max(1, widths.metrics().horizontalAdvance(QLatin1Char('#')));
    hashes.pieces.push_back({DisplayPiece::Kind::Text, std::string(size_t(std::max(0, room / hashWidth)), '#')});
    return hashes;
}

std::string CellTextLayout::visiblePart(const std::string& text, const TextPlacement& placement, const QRect& reachable,
                                        const TextWidths& widths) const {
    if (placement.wrap) {
        // Lines never hold more than the area's width, so this much text fills every line shown.
        const int lines = wrappedLinesShown(widths.metrics(), placement.area.height());
        return windowCovering(text, WindowSide::Start, lines * (placement.area.width() + 1), widths);
    }
    // Only what lies inside the picture can be seen.
    const int left = std::max(reachable.left(), 0);
    const int right = std::min(reachable.right(), geometry_.width() - 1);
    switch (placement.align) {
    case HAlign::Right: return windowCovering(text, WindowSide::End, placement.area.right() - left + 1, widths);
    case HAlign::Center: {
        const int centre = placement.area.center().x();
        return windowCovering(text, WindowSide::Middle, 2 * (std::max(centre - left, right - centre) + 1), widths);
    }
    default: return windowCovering(text, WindowSide::Start, right - placement.area.left() + 1, widths);
    }
}

std::optional<CellTextJob> CellTextLayout::layout(int row, int col) const {
    const Value& value = cells_.valueAt(row, col);
    if (std::holds_alternative<std::monostate>(value)) return std::nullopt;
    const Range* merge = cells_.mergeAt(row, col);
    if (merge && (merge->firstRow != row || merge->firstCol != col)) return std::nullopt;

    const CellFormat& format = cells_.formatAt(row, col);
    const Font& font = cells_.fontOf(format);
    // Built-in dates and currencies show in the reader's own settings, not the table's United States forms.
    const std::string code = displayedFormatCode(cells_.workbook(), format.numFmt, locale_);
    const bool number = std::holds_alternative<double>(value);
    CellTextJob job{row, {col, col}, {}, {}, {}};
    job.style.font = fontAt(format.font);
    job.widths = &widthsAt(format.font);
    job.style.embolden = emboldenAt(format.font);
    job.style.underline = font.underline;

    TextPlacement& placement = job.placement;
    placement.align = resolvedAlignment(format.hAlign, value);
    placement.vAlign = format.vAlign;
    // A number stays on one line: it is shortened or shown as "#" instead.
    placement.wrap =
        !number && (format.wrap || format.hAlign == HAlign::Justify || format.hAlign == HAlign::Distributed);
    if (placement.align == HAlign::Left || placement.align == HAlign::Right || format.hAlign == HAlign::Distributed)
        placement.indent = format.indent * indentStep_;

    if (format.hAlign == HAlign::CenterAcross && !merge) job.span = centreAcrossSpan(cells_, row, col);
    const QRect cell = merge ? geometry_.rectOf(*merge) : geometry_.rectOf(rowSpan(row, job.span));
    if (cell.width() <= 0 || cell.height() <= 0) return std::nullopt;
    placement.area = textArea(cell);
    placement.clip = inside(cell);

    const TextWidths& widths = *job.widths;
    const bool overflows = !number && !merge && !placement.wrap && placement.align != HAlign::Fill &&
                           format.hAlign != HAlign::CenterAcross;
    const OverflowSide side = overflowSide(placement.align);
    if (const std::string* text = std::get_if<std::string>(&value)) {
        const QRect reachable =
            overflows
                ? inside(geometry_.rectOf(rowSpan(row, overflowSpan(cells_, geometry_, row, col, side, kUnlimited))))
                : placement.clip;
        job.text = formatValue(visiblePart(*text, placement, reachable, widths), code, locale_);
    } else {
        job.text = formatValue(value, code, locale_, kGeneralChars, cells_.workbook().date1904);
    }
    job.style.colour =
        job.text.colour ? screenColour(*job.text.colour, Qt::black) : screenColour(font.colour, Qt::black);
    if (placement.wrap) return job;

    const int room = placement.area.width() - placement.indent;
    const int width = displayWidth(widths, job.text);
    if (number && width > room) {
        job.text = fitNumber(value, code, widths, room);
    } else if (overflows) {
        job.span = overflowSpan(cells_, geometry_, row, col, side, width - room);
        placement.clip = inside(geometry_.rectOf(rowSpan(row, job.span)));
    }
    return job;
}

}  // namespace xls
