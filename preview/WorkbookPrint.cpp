#include "preview/WorkbookPrint.h"

#include "preview/WorkbookFile.h"
#include "workbook/host/LocaleAdapter.h"
#include "xls/PagePainter.h"
#include "xls/PdfExport.h"
#include "xls/PrintPlan.h"

#include <stdexcept>

namespace {

const QString kCannotBePrinted = QStringLiteral("cannot be printed");

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw std::runtime_error(QStringLiteral("%1 %2: %3").arg(path, kCannotBePrinted, reason).toStdString());
}

const QString kNothingToPrint = QStringLiteral("the sheet has nothing to print");

}  // namespace

void PrintWorkbookFile(const QString& path, QPagedPaintDevice& device) {
    const xls::Workbook book = ReadWorkbookFile(path, kCannotBePrinted);
    if (!xls::printSheet(device, book, book.sheets[book.activeSheet], LocaleInfoFromQLocale(CurrentRegionalSettings())))
        fail(path, kNothingToPrint);
}

QByteArray WorkbookFilePdf(const QString& path, const std::vector<HandInReceipt>& receipts) {
    const xls::Workbook book = ReadWorkbookFile(path, kCannotBePrinted);
    const xls::Sheet& sheet = book.sheets[book.activeSheet];
    QByteArray pdf = xls::renderPdf(book, sheet, LocaleInfoFromQLocale(CurrentRegionalSettings()));
    if (pdf.isEmpty()) fail(path, kNothingToPrint);
    return HandInPdf(pdf, xls::planPrint(book, sheet).layout, receipts);
}
