// Read access to what a sheet shows at a position: its format (cell, else row, else column
// default), its displayed value and the merged range covering it. Out-of-range format and font
// indices fall back to the defaults instead of reading past the tables.
#pragma once

#include "xls/Model.h"

namespace xls {

class CellLookup {
public:
    CellLookup(const Workbook& workbook, const Sheet& sheet);

    const CellFormat& formatAt(int row, int col) const;
    const Font& fontOf(const CellFormat& format) const;
    // The formula's cached result for formula cells, else the stored value.
    const Value& valueAt(int row, int col) const;
    // A position no text may overflow into: it holds a value or a formula.
    bool isOccupied(int row, int col) const;
    const Range* mergeAt(int row, int col) const;

    const Workbook& workbook() const { return workbook_; }
    const Sheet& sheet() const { return sheet_; }

private:
    const Workbook& workbook_;
    const Sheet& sheet_;
};

}  // namespace xls
