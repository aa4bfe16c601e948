// A block of cells of one worksheet, as the host's Range object offers it.
#pragma once

#include "xls/Model.h"

#include <memory>

namespace host {

class Workbook;
class RangeLines;

class CellRange {
public:
    CellRange(std::shared_ptr<Workbook> book, int sheetIndex, const xls::Range& bounds);

    // Makes the range's first cell the sheet's active cell.
    void Select();
    // Puts a picture of the range, as the sheet shows it, on the clipboard.
    void CopyPicture();

    RangeLines Rows() const;
    RangeLines Columns() const;
    int Row() const;     // 1-based number of the first row
    int Column() const;  // 1-based number of the first column

    const xls::Range& bounds() const { return m_bounds; }

private:
    std::shared_ptr<Workbook> m_book;
    int m_sheetIndex;
    xls::Range m_bounds;
};

// The rows or the columns of a range, each a range of its own (Rows(n), Columns(n)).
class RangeLines {
public:
    RangeLines(std::shared_ptr<Workbook> book, int sheetIndex, const xls::Range& bounds, bool rows);

    int Count() const;
    CellRange Item(int index) const;  // 1-based
    CellRange operator()(int index) const { return Item(index); }

private:
    std::shared_ptr<Workbook> m_book;
    int m_sheetIndex;
    xls::Range m_bounds;
    bool m_rows;
};

}  // namespace host
