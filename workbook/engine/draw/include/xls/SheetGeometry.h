// Pixel geometry of a sheet at 100 % and 96 dpi, by the rules of the 97–2003 spreadsheet program:
// column widths from 1/256 characters of the default font's widest digit, row heights from twips.
#pragma once

#include "xls/ColumnWidth.h"
#include "xls/Model.h"

#include <QRect>

#include <vector>

namespace xls {

// Pixel width of a column without COLINFO: STANDARDWIDTH when present, else DEFCOLWIDTH
// characters plus padding, widened to a multiple of 8 pixels.
int defaultColumnWidthPixels(const Sheet& sheet, int maxDigitWidth);
int rowHeightPixels(uint16_t heightTwips);

// Lefts, widths, tops and heights of a range's columns and rows, relative to the range's top-left
// corner. Hidden columns and rows take no pixels.
class SheetGeometry {
public:
    SheetGeometry(const Sheet& sheet, const Range& range, int maxDigitWidth);

    const Range& range() const { return range_; }
    int width() const { return columnLefts_.back(); }
    int height() const { return rowTops_.back(); }

    // Columns and rows outside the range are measured too, so that merged ranges reaching past
    // it still get their true rectangle.
    int columnLeft(int col) const;
    int columnWidth(int col) const;
    int rowTop(int row) const;
    int rowHeight(int row) const;
    QRect rectOf(const Range& cells) const;

private:
    const Sheet& sheet_;
    Range range_;
    int maxDigitWidth_;
    int defaultColumnWidth_;
    std::vector<int> columnLefts_;  // one more than the range's columns: the last is the total width
    std::vector<int> rowTops_;
};

}  // namespace xls
