#include "preview/WorkbookPrint.h"

#include "workbook/host/LocaleAdapter.h"
#include "xls/PagePainter.h"
#include "xls/PdfExport.h"
#include "xls/PrintPlan.h"
#include "xls/WorkbookIo.h"

#include <QFile>
#include <QLocale>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw std::runtime_error(QStringLiteral("%1 cannot be printed: %2").arg(path, reason).toStdString());
}

xls::Workbook readWorkbookFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail(path, file.errorString());
    const QByteArray bytes = file.readAll();
    xls::Workbook book;
    try {
        book = xls::readWorkbook({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
    } catch (const std::exception& error) {
        fail(path, QString::fromUtf8(error.what()));
    }
    if (book.activeSheet >= book.sheets.size()) fail(path, QStringLiteral("the workbook has no active sheet"));
    return book;
}

const QString kNothingToPrint = QStringLiteral("the sheet has nothing to print");

}  // namespace

void PrintWorkbookFile(const QString& path, QPagedPaintDevice& device) {
    const xls::Workbook book = readWorkbookFile(path);
    if (!xls::printSheet(device, book, book.sheets[book.activeSheet], LocaleInfoFromQLocale(QLocale())))
        fail(path, kNothingToPrint);
}

QByteArray WorkbookFilePdf(const QString& path, const std::vector<HandInReceipt>& receipts) {
    const xls::Workbook book = readWorkbookFile(path);
    const xls::Sheet& sheet = book.sheets[book.activeSheet];
    QByteArray pdf = xls::renderPdf(book, sheet, LocaleInfoFromQLocale(QLocale()));
    if (pdf.isEmpty()) fail(path, kNothingToPrint);
    return HandInPdf(pdf, xls::planPrint(book, sheet).layout, receipts);
}
