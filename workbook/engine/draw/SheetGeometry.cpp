#include "xls/SheetGeometry.h"

#include <algorithm>
#include <cmath>

namespace xls {

int defaultColumnWidthPixels(const Sheet& sheet, int maxDigitWidth) {
    if (sheet.standardWidth) return columnWidthPixels(*sheet.standardWidth, maxDigitWidth);
    const int pixels = columnPixels(sheet.defaultColumnWidth, maxDigitWidth);
    return (pixels + 7) / 8 * 8;
}

int rowHeightPixels(uint16_t heightTwips) { return int(std::lround(heightTwips / 15.0)); }

SheetGeometry::SheetGeometry(const Sheet& sheet, const Range& range, int maxDigitWidth)
    : sheet_(sheet),
      range_(range),
      maxDigitWidth_(maxDigitWidth),
      defaultColumnWidth_(defaultColumnWidthPixels(sheet, maxDigitWidth)) {
    columnLefts_.push_back(0);
    for (int col = range.firstCol; col <= range.lastCol; ++col)
        columnLefts_.push_back(columnLefts_.back() + columnWidth(col));
    rowTops_.push_back(0);
    for (int row = range.firstRow; row <= range.lastRow; ++row) rowTops_.push_back(rowTops_.back() + rowHeight(row));
}

int SheetGeometry::columnWidth(int col) const {
    if (col < 0 || col >= kMaxColumns) return 0;
    auto it = std::find_if(sheet_.columns.begin(), sheet_.columns.end(),
                           [col](const ColumnInfo& info) { return col >= info.first && col <= info.last; });
    if (it == sheet_.columns.end()) return defaultColumnWidth_;
    return it->hidden ? 0 : columnWidthPixels(it->width, maxDigitWidth_);
}

int SheetGeometry::rowHeight(int row) const {
    if (row < 0 || row > kMaxRows) return 0;
    auto it = sheet_.rows.find(uint16_t(row));
    if (it == sheet_.rows.end()) return rowHeightPixels(sheet_.defaultRowHeightTwips);
    return it->second.hidden ? 0 : rowHeightPixels(it->second.heightTwips);
}

int SheetGeometry::columnLeft(int col) const {
    if (col >= range_.firstCol && col <= range_.lastCol + 1) return columnLefts_[size_t(col - range_.firstCol)];
    int left = 0;
    if (col < range_.firstCol) {
        for (int c = col; c < range_.firstCol; ++c) left -= columnWidth(c);
    } else {
        left = width();
        for (int c = range_.lastCol + 1; c < col; ++c) left += columnWidth(c);
    }
    return left;
}

int SheetGeometry::rowTop(int row) const {
    if (row >= range_.firstRow && row <= range_.lastRow + 1) return rowTops_[size_t(row - range_.firstRow)];
    int top = 0;
    if (row < range_.firstRow) {
        for (int r = row; r < range_.firstRow; ++r) top -= rowHeight(r);
    } else {
        top = height();
        for (int r = range_.lastRow + 1; r < row; ++r) top += rowHeight(r);
    }
    return top;
}

QRect SheetGeometry::rectOf(const Range& cells) const {
    const int left = columnLeft(cells.firstCol);
    const int top = rowTop(cells.firstRow);
    return QRect(left, top, columnLeft(cells.lastCol + 1) - left, rowTop(cells.lastRow + 1) - top);
}

}  // namespace xls
