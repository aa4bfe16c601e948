#include "workbook/host/CellRange.h"

#include "workbook/host/HostError.h"
#include "workbook/host/HostWorkbook.h"
#include "xls/Error.h"
#include "xls/SheetPainter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace host {

CellRange::CellRange(std::shared_ptr<Workbook> book, int sheetIndex, const xls::Range& bounds)
    : m_book(std::move(book)), m_sheetIndex(sheetIndex), m_bounds(bounds) {}

void CellRange::Select() {
    xls::Workbook& book = m_book->model();
    book.activeSheet = uint16_t(m_sheetIndex);
    book.sheets.at(size_t(m_sheetIndex)).activeCell = {m_bounds.firstRow, m_bounds.firstCol};
}

void CellRange::CopyPicture() {
    xls::Workbook& book = m_book->model();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw HostError(QStringLiteral("The clipboard is not available to take the picture."));
    // At the screen's resolution, as a spreadsheet copies what it shows.
    QImage picture;
    try {
        picture = xls::renderRange(book, book.sheets.at(size_t(m_sheetIndex)), m_bounds, m_book->localeInfo(),
                                   qGuiApp->devicePixelRatio());
    } catch (const xls::Error&) {
        throw HostError(QStringLiteral("The picture of the range could not be drawn."));
    }
    QGuiApplication::clipboard()->setImage(picture);
}

RangeLines CellRange::Rows() const { return RangeLines(m_book, m_sheetIndex, m_bounds, true); }

RangeLines CellRange::Columns() const { return RangeLines(m_book, m_sheetIndex, m_bounds, false); }

int CellRange::Row() const {
    m_book->model();
    return m_bounds.firstRow + 1;
}

int CellRange::Column() const {
    m_book->model();
    return m_bounds.firstCol + 1;
}

RangeLines::RangeLines(std::shared_ptr<Workbook> book, int sheetIndex, const xls::Range& bounds, bool rows)
    : m_book(std::move(book)), m_sheetIndex(sheetIndex), m_bounds(bounds), m_rows(rows) {}

int RangeLines::Count() const {
    m_book->model();
    return m_rows ? m_bounds.lastRow - m_bounds.firstRow + 1 : m_bounds.lastCol - m_bounds.firstCol + 1;
}

CellRange RangeLines::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(QStringLiteral("The range has no %1 number %2.").arg(m_rows ? "row" : "column").arg(index));
    xls::Range line = m_bounds;
    if (m_rows) {
        line.firstRow = line.lastRow = uint16_t(m_bounds.firstRow + index - 1);
    } else {
        line.firstCol = line.lastCol = uint16_t(m_bounds.firstCol + index - 1);
    }
    return CellRange(m_book, m_sheetIndex, line);
}

}  // namespace host
