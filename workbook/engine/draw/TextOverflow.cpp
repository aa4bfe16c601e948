#include "TextOverflow.h"

namespace xls {
namespace {

bool acceptsOverflow(const CellLookup& cells, int row, int col) {
    return col >= 0 && col < kMaxColumns && !cells.isOccupied(row, col) && !cells.mergeAt(row, col);
}

// The last column reached by walking `step` from `col` until `needed` pixels are covered.
int reach(const CellLookup& cells, const SheetGeometry& geometry, int row, int col, int step, int needed) {
    int covered = 0;
    while (covered < needed && acceptsOverflow(cells, row, col + step)) {
        col += step;
        covered += geometry.columnWidth(col);
    }
    return col;
}

}  // namespace

ColumnSpan overflowSpan(const CellLookup& cells, const SheetGeometry& geometry, int row, int col, OverflowSide side,
                        int extraWidth) {
    if (extraWidth <= 0) return {col, col};
    switch (side) {
    case OverflowSide::Right: return {col, reach(cells, geometry, row, col, 1, extraWidth)};
    case OverflowSide::Left: return {reach(cells, geometry, row, col, -1, extraWidth), col};
    case OverflowSide::Both: {
        const int half = (extraWidth + 1) / 2;
        return {reach(cells, geometry, row, col, -1, half), reach(cells, geometry, row, col, 1, half)};
    }
    }
    return {col, col};
}

ColumnSpan centreAcrossSpan(const CellLookup& cells, int row, int col) {
    int last = col;
    while (acceptsOverflow(cells, row, last + 1) && cells.formatAt(row, last + 1).hAlign == HAlign::CenterAcross)
        ++last;
    return {col, last};
}

}  // namespace xls
