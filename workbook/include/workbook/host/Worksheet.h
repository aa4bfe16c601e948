// A worksheet of an open host workbook, and one of its cells as an assignment target.
#pragma once

#include "workbook/host/CellRange.h"
#include "xls/Model.h"

#include <QDate>
#include <QString>

#include <memory>

namespace host {

class Workbook;

// Cells(row, column) := value. Text is taken as if typed in the default locale: numbers and dates
// become numbers and dates, text that looks like a formula stays text, the empty text empties it.
class Cell {
public:
    Cell(std::shared_ptr<Workbook> book, int sheetIndex, int row, int column);

    Cell& operator=(const QString& text);
    // A date serial; a General cell gets the short date format. An invalid date empties the cell; a
    // date outside the 1900 date system is written as text, in the default locale's short form.
    Cell& operator=(const QDate& date);

    xls::Value Value() const;

private:
    void store(const xls::Value& value, const std::string* suggestedFormat);
    void showInSettingsOrder();

    std::shared_ptr<Workbook> m_book;
    int m_sheetIndex;
    uint16_t m_row;
    uint16_t m_column;
};

class Worksheet {
public:
    Worksheet(std::shared_ptr<Workbook> book, int sheetIndex);

    Cell Cells(int row, int column);  // 1-based
    CellRange Range(const QString& address);
    // Rows and columns holding content or formatting; A1 for an empty sheet.
    CellRange UsedRange();

    // The engine sheet, every formula result current.
    xls::Sheet& model() const;

private:
    // Bounds, names and which cells exist: what a write leaves to recalculation does not matter.
    xls::Sheet& sheetAsWritten() const;

    std::shared_ptr<Workbook> m_book;
    int m_sheetIndex;
};

}  // namespace host
