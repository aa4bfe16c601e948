#include "CellTextLayout.h"

#include "xls/ScreenFonts.h"

#include <algorithm>
#include <cctype>

namespace xls {
namespace {

// Text keeps this many pixels from the cell's left edge and from the gridline on its right.
constexpr int kPadding = 2;
constexpr int kGeneralChars = 11;
constexpr uint16_t kShortDateFormatId = 14;

bool isGeneralCode(const std::string& code) {
    std::string lower(code);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return lower.find("general") != std::string::npos;
}

HAlign resolvedAlignment(HAlign align, const Value& value, const DisplayText& text) {
    switch (align) {
    case HAlign::General:
        if (std::holds_alternative<bool>(value) || std::holds_alternative<ErrorCode>(value)) return HAlign::Center;
        return text.isNumber ? HAlign::Right : HAlign::Left;
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

}  // namespace

CellTextLayout::CellTextLayout(const CellLookup& cells, const SheetGeometry& geometry, const LocaleInfo& locale,
                               std::vector<QFont> fonts, int maxDigitWidth)
    : cells_(cells), geometry_(geometry), locale_(locale), fonts_(std::move(fonts)),
      indentStep_(3 * maxDigitWidth) {}

const QFont& CellTextLayout::fontAt(uint16_t index) const { return fonts_[index < fonts_.size() ? index : 0]; }

DisplayText CellTextLayout::fitNumber(const Value& value, const std::string& code, const QFontMetrics& metrics,
                                      int room) const {
    if (isGeneralCode(code)) {
        for (int chars = kGeneralChars - 1; chars > 0; --chars) {
            DisplayText shorter = formatValue(value, code, locale_, chars, cells_.workbook().date1904);
            if (displayWidth(metrics, shorter) <= room) return shorter;
        }
    }
    DisplayText hashes;
    hashes.isNumber = true;
    const int hashWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('#')));
    hashes.pieces.push_back({DisplayPiece::Kind::Text, std::string(size_t(std::max(0, room / hashWidth)), '#')});
    return hashes;
}

std::optional<CellTextJob> CellTextLayout::layout(int row, int col) const {
    const Value& value = cells_.valueAt(row, col);
    if (std::holds_alternative<std::monostate>(value)) return std::nullopt;
    const Range* merge = cells_.mergeAt(row, col);
    if (merge && (merge->firstRow != row || merge->firstCol != col)) return std::nullopt;

    const CellFormat& format = cells_.formatAt(row, col);
    const Font& font = cells_.fontOf(format);
    // Built-in 14 is the reader's own short date, not the United States form the table holds.
    const std::string code =
        format.numFmt == kShortDateFormatId ? locale_.shortDateCode : cells_.workbook().numberFormatCode(format.numFmt);
    CellTextJob job{row, {col, col}, formatValue(value, code, locale_, kGeneralChars, cells_.workbook().date1904), {}, {}};

    job.style.font = fontAt(format.font);
    job.style.underline = font.underline;
    job.style.colour = job.text.colour ? screenColour(*job.text.colour, Qt::black) : screenColour(font.colour, Qt::black);

    TextPlacement& placement = job.placement;
    placement.align = resolvedAlignment(format.hAlign, value, job.text);
    placement.vAlign = format.vAlign;
    placement.wrap = format.wrap || format.hAlign == HAlign::Justify || format.hAlign == HAlign::Distributed;
    if (placement.align == HAlign::Left || placement.align == HAlign::Right || format.hAlign == HAlign::Distributed)
        placement.indent = format.indent * indentStep_;

    if (format.hAlign == HAlign::CenterAcross && !merge) job.span = centreAcrossSpan(cells_, row, col);
    const QRect cell = merge ? geometry_.rectOf(*merge)
                             : geometry_.rectOf({uint16_t(row), uint16_t(job.span.firstCol), uint16_t(row),
                                                 uint16_t(job.span.lastCol)});
    if (cell.width() <= 0 || cell.height() <= 0) return std::nullopt;
    placement.area = textArea(cell);
    placement.clip = inside(cell);

    const QFontMetrics metrics(job.style.font);
    const int room = placement.area.width() - placement.indent;
    const int width = displayWidth(metrics, job.text);
    if (job.text.isNumber) {
        if (width > room && !placement.wrap) job.text = fitNumber(value, code, metrics, room);
    } else if (!merge && !placement.wrap && placement.align != HAlign::Fill && format.hAlign != HAlign::CenterAcross) {
        job.span = overflowSpan(cells_, geometry_, row, col, overflowSide(placement.align), width - room);
        placement.clip = inside(geometry_.rectOf(
            {uint16_t(row), uint16_t(job.span.firstCol), uint16_t(row), uint16_t(job.span.lastCol)}));
    }
    return job;
}

}  // namespace xls
