#include "workbook/host/Worksheet.h"

#include "workbook/host/HostError.h"
#include "workbook/host/HostWorkbook.h"
#include "workbook/host/LocaleAdapter.h"
#include "xls/A1Reference.h"
#include "xls/Formula.h"
#include "xls/LocalFormats.h"
#include "xls/TypedInput.h"

namespace host {
namespace {

constexpr uint16_t kGeneral = 0;
constexpr uint16_t kShortDate = 14;

// The dates the 1900 date system holds.
const QDate kFirstSerialDate(1900, 1, 1);
const QDate kLastSerialDate(9999, 12, 31);

void checkCell(int row, int column) {
    if (row < 1 || row > int(xls::kMaxRows) + 1 || column < 1 || column > int(xls::kMaxColumns))
        throw HostError(QStringLiteral("Cells(%1, %2) lies outside the worksheet.").arg(row).arg(column));
}

}  // namespace

Cell::Cell(std::shared_ptr<Workbook> book, int sheetIndex, int row, int column)
    : m_book(std::move(book)), m_sheetIndex(sheetIndex), m_row(uint16_t(row - 1)), m_column(uint16_t(column - 1)) {}

Cell& Cell::operator=(const QString& text) {
    xls::Workbook& book = m_book->modelAsWritten();
    const xls::Cell* existing = book.sheets.at(size_t(m_sheetIndex)).find(m_row, m_column);
    const uint16_t numFmt = book.formats.at(existing ? existing->xf : 0).numFmt;
    const xls::TypedValue typed =
        xls::interpretTypedInput(text.toStdString(), book.numberFormatCode(numFmt), m_book->localeInfo());
    store(typed.value, typed.formatCode ? &*typed.formatCode : nullptr);
    return *this;
}

Cell& Cell::operator=(const QDate& date) {
    if (!date.isValid()) {
        store(std::monostate{}, nullptr);
        return *this;
    }
    if (date < kFirstSerialDate || date > kLastSerialDate) {
        // No serial can stand for it: as text, every reader shows the date that was picked.
        store(FullYearShortDate(CurrentRegionalSettings().dates, date).toStdString(), nullptr);
        return *this;
    }
    const std::string shortDate = m_book->modelAsWritten().numberFormatCode(kShortDate);
    store(xls::dateSerial(date.year(), date.month(), date.day()), &shortDate);
    showInSettingsOrder();
    return *this;
}

xls::Value Cell::Value() const {
    const xls::Cell* cell = m_book->model().sheets.at(size_t(m_sheetIndex)).find(m_row, m_column);
    if (!cell) return {};
    return cell->formula ? cell->formula->cached : cell->value;
}

// A date is typed under the host's settings, so a cell whose own date format stands the other way
// round (the template's month-first "m/d/yyyy;;" under day-first settings) would show another date.
void Cell::showInSettingsOrder() {
    xls::Workbook& book = m_book->modelAsWritten();
    xls::Sheet& sheet = book.sheets.at(size_t(m_sheetIndex));
    xls::CellFormat format = book.formats.at(sheet.at(m_row, m_column).xf);
    // The built-in short date already shows in the settings' order.
    const auto own = book.numberFormats.find(format.numFmt);
    if (own == book.numberFormats.end()) return;
    const std::optional<std::string> reordered = xls::dateCodeInSettingsOrder(own->second, m_book->localeInfo());
    if (!reordered) return;
    format.numFmt = book.numberFormatId(*reordered);
    sheet.at(m_row, m_column).xf = book.addFormat(format);
}

void Cell::store(const xls::Value& value, const std::string* suggestedFormat) {
    xls::Workbook& book = m_book->modelAsWritten();
    xls::Sheet& sheet = book.sheets.at(size_t(m_sheetIndex));
    if (suggestedFormat) {
        const xls::Cell* existing = sheet.find(m_row, m_column);
        xls::CellFormat format = book.formats.at(existing ? existing->xf : 0);
        if (format.numFmt == kGeneral) {
            format.numFmt = book.numberFormatId(*suggestedFormat);
            sheet.at(m_row, m_column).xf = book.addFormat(format);
        }
    }
    m_book->writeCellValue(m_sheetIndex, {m_row, m_column}, value);
}

Worksheet::Worksheet(std::shared_ptr<Workbook> book, int sheetIndex)
    : m_book(std::move(book)), m_sheetIndex(sheetIndex) {}

Cell Worksheet::Cells(int row, int column) {
    sheetAsWritten();
    checkCell(row, column);
    return Cell(m_book, m_sheetIndex, row, column);
}

CellRange Worksheet::Range(const QString& address) {
    sheetAsWritten();
    const auto bounds = xls::parseA1Range(address.toStdString());
    if (!bounds) throw HostError(QStringLiteral("\"%1\" is not a cell address.").arg(address));
    return CellRange(m_book, m_sheetIndex, *bounds);
}

CellRange Worksheet::UsedRange() {
    return CellRange(m_book, m_sheetIndex, sheetAsWritten().usedRange().value_or(xls::Range{}));
}

xls::Sheet& Worksheet::model() const { return m_book->model().sheets.at(size_t(m_sheetIndex)); }

xls::Sheet& Worksheet::sheetAsWritten() const { return m_book->modelAsWritten().sheets.at(size_t(m_sheetIndex)); }

}  // namespace host
