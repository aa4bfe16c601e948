#include "WorkbookPrint.h"

#include "PreviewError.h"
#include "WorkbookFile.h"
#include "workbook/host/LocaleAdapter.h"
#include "xls/Error.h"
#include "xls/PagePainter.h"
#include "xls/PdfExport.h"
#include "xls/PrintPlan.h"

namespace {

const QString kCannotBePrinted = QStringLiteral("cannot be printed");

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw PreviewError(QStringLiteral("%1 %2: %3").arg(path, kCannotBePrinted, reason));
}

}  // namespace

void PrintWorkbookFile(const QString& path, QPagedPaintDevice& device) {
    const xls::Workbook book = ReadWorkbookFile(path, kCannotBePrinted);
    try {
        xls::printSheet(device, book, book.sheets[book.activeSheet], LocaleInfoFromQLocale(CurrentRegionalSettings()));
    } catch (const xls::Error& error) {
        fail(path, QString::fromUtf8(error.what()));
    }
}

QByteArray WorkbookFilePdf(const QString& path, const std::vector<HandInReceipt>& receipts) {
    const xls::Workbook book = ReadWorkbookFile(path, kCannotBePrinted);
    const xls::Sheet& sheet = book.sheets[book.activeSheet];
    QByteArray pdf;
    try {
        pdf = xls::renderPdf(book, sheet, LocaleInfoFromQLocale(CurrentRegionalSettings()));
    } catch (const xls::Error& error) {
        fail(path, QString::fromUtf8(error.what()));
    }
    return HandInPdf(pdf, xls::planPrint(book, sheet).layout, receipts);
}
