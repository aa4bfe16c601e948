#include "RangePainter.h"

#include "BorderPainter.h"
#include "xls/ScreenFonts.h"

#include <algorithm>
#include <set>

namespace xls {
namespace {

const QColor kGridlineColour(0xC0, 0xC0, 0xC0);

QColor fillColour(const CellFormat& format) { return screenColour(format.fill, Qt::white); }

void paintGridlines(QPainter& painter, const SheetGeometry& geometry) {
    const Range& range = geometry.range();
    for (int col = range.firstCol; col <= range.lastCol; ++col)
        if (geometry.columnWidth(col) > 0)
            painter.fillRect(QRect(geometry.columnLeft(col + 1) - 1, 0, 1, geometry.height()), kGridlineColour);
    for (int row = range.firstRow; row <= range.lastRow; ++row)
        if (geometry.rowHeight(row) > 0)
            painter.fillRect(QRect(0, geometry.rowTop(row + 1) - 1, geometry.width(), 1), kGridlineColour);
}

// Filled cells cover their own gridlines; a merged range is one cell, so its inner gridlines go
// even when it has no fill.
void paintFills(QPainter& painter, const SheetGeometry& geometry, const CellLookup& cells, bool gridlines) {
    const Range& range = geometry.range();
    for (int row = range.firstRow; row <= range.lastRow; ++row)
        for (int col = range.firstCol; col <= range.lastCol; ++col) {
            const CellFormat& format = cells.formatAt(row, col);
            if (format.fill != kNoFill && !cells.mergeAt(row, col))
                painter.fillRect(geometry.rectOf({uint16_t(row), uint16_t(col), uint16_t(row), uint16_t(col)}),
                                 fillColour(format));
        }
    for (const Range& merge : cells.sheet().merges) {
        const CellFormat& format = cells.formatAt(merge.firstRow, merge.firstCol);
        const QRect rect = geometry.rectOf(merge);
        if (format.fill != kNoFill)
            painter.fillRect(rect, fillColour(format));
        else if (gridlines)
            painter.fillRect(rect.adjusted(0, 0, -1, -1), Qt::white);
    }
}

// Text running on into empty neighbours hides the gridlines it crosses.
void hideCrossedGridlines(QPainter& painter, const SheetGeometry& geometry, const CellLookup& cells,
                          const CellTextJob& job) {
    const int top = geometry.rowTop(job.row);
    const int height = geometry.rowHeight(job.row) - 1;
    for (int col = job.span.firstCol; col < job.span.lastCol; ++col)
        painter.fillRect(QRect(geometry.columnLeft(col + 1) - 1, top, 1, height),
                         fillColour(cells.formatAt(job.row, col)));
}

// Cells whose text shows in the range: those inside it, and the top-left cells of merged ranges
// reaching into it from outside.
std::set<uint32_t> textCells(const Sheet& sheet, const Range& range) {
    std::set<uint32_t> keys;
    for (auto it = sheet.cells.lower_bound(Sheet::key(range.firstRow, 0)); it != sheet.cells.end(); ++it) {
        const uint16_t row = uint16_t(it->first >> 16);
        const uint16_t col = uint16_t(it->first & 0xFFFF);
        if (row > range.lastRow) break;
        if (range.contains(row, col)) keys.insert(it->first);
    }
    for (const Range& merge : sheet.merges)
        if (merge.firstRow <= range.lastRow && merge.lastRow >= range.firstRow && merge.firstCol <= range.lastCol &&
            merge.lastCol >= range.firstCol)
            keys.insert(Sheet::key(merge.firstRow, merge.firstCol));
    return keys;
}

}  // namespace

std::optional<Range> drawableRange(const Range& requested) {
    Range range = requested;
    range.lastCol = std::min<uint16_t>(range.lastCol, kMaxColumns - 1);
    if (range.firstRow > range.lastRow || range.firstCol > range.lastCol) return std::nullopt;
    return range;
}

RangePainter::RangePainter(const Workbook& workbook, const Sheet& sheet, const Range& range, const LocaleInfo& locale)
    : sheet_(sheet),
      fonts_(screenFonts(workbook)),
      digitWidth_(maxDigitWidth(fonts_.front())),
      geometry_(sheet, range, digitWidth_),
      cells_(workbook, sheet),
      layout_(cells_, geometry_, locale, fonts_, digitWidth_) {}

void RangePainter::paint(QPainter& painter, const RangeLook& look) const {
    if (look.gridlines) paintGridlines(painter, geometry_);
    paintFills(painter, geometry_, cells_, look.gridlines);
    for (uint32_t key : textCells(sheet_, geometry_.range())) {
        std::optional<CellTextJob> job = layout_.layout(int(key >> 16), int(key & 0xFFFF));
        if (!job) continue;
        if (look.gridlines) hideCrossedGridlines(painter, geometry_, cells_, *job);
        job->style.overstrike = look.overstrike;
        paintDisplayText(painter, job->text, job->style, job->placement, *job->widths);
    }
    paintBorders(painter, geometry_, cells_);
}

}  // namespace xls
