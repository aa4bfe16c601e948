// Decides where and how a cell's value is drawn: its formatted text (numbers shortened or shown
// as "#" when they do not fit), the resolved alignment, and the columns it may run across.
#pragma once

#include "CellLookup.h"
#include "CellTextPainter.h"
#include "TextOverflow.h"
#include "xls/Locale.h"
#include "xls/SheetGeometry.h"

#include <optional>
#include <vector>

namespace xls {

struct CellTextJob {
    int row;
    ColumnSpan span;  // the columns the text runs across
    DisplayText text;
    TextStyle style;
    TextPlacement placement;
    const TextWidths* widths = nullptr;  // measures in style.font; the layout's own
};

class CellTextLayout {
public:
    CellTextLayout(const CellLookup& cells, const SheetGeometry& geometry, const LocaleInfo& locale,
                   std::vector<QFont> fonts, int maxDigitWidth);

    // Nothing for empty cells and for cells hidden under a merged range's top-left cell.
    std::optional<CellTextJob> layout(int row, int col) const;

private:
    size_t fontIndex(uint16_t index) const;
    const QFont& fontAt(uint16_t index) const;
    const TextWidths& widthsAt(uint16_t index) const;
    bool emboldenAt(uint16_t index) const;
    // What of a long text the cell can show: bounded by the cell (or, for text running on, by
    // the picture), never by the text's length.
    std::string visiblePart(const std::string& text, const TextPlacement& placement, const QRect& reachable,
                            const TextWidths& widths) const;
    DisplayText fitNumber(const Value& value, const std::string& code, const TextWidths& widths, int room) const;

    const CellLookup& cells_;
    const SheetGeometry& geometry_;
    const LocaleInfo& locale_;
    std::vector<QFont> fonts_;
    std::vector<TextWidths> widths_;  // one for each font
    std::vector<bool> emboldened_;    // bold fonts whose bold face draws no heavier than regular
    int indentStep_;
};

}  // namespace xls
