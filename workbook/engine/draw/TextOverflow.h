// How far a cell's text may reach beyond its own column: into empty neighbours (not merged, no
// value) as a spreadsheet lets unwrapped text run on, or across following centre-across cells.
#pragma once

#include "CellLookup.h"
#include "xls/SheetGeometry.h"

namespace xls {

struct ColumnSpan {
    int firstCol;
    int lastCol;
};

enum class OverflowSide { Right, Left, Both };

// The columns text `extraWidth` pixels wider than its cell covers, stopping at the first
// neighbour that is occupied or merged. Centred text needs half the extra on each side.
ColumnSpan overflowSpan(const CellLookup& cells, const SheetGeometry& geometry, int row, int col, OverflowSide side,
                        int extraWidth);
// The cell and the empty centre-across cells that follow it.
ColumnSpan centreAcrossSpan(const CellLookup& cells, int row, int col);

}  // namespace xls
