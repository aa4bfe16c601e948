// The programs' side of the calls the output module carries: each loads it on first use and fails
// as the call itself fails when the module cannot be used.
#include "OutputModule.h"

#include "receipts/PdfReceiptCheck.h"
#include "receipts/ReceiptError.h"
#include "xls/Error.h"
#include "xlsx/XlsxWorkbook.h"

namespace {

const OutputFunctions& ForReceipts() {
    try {
        return LoadedOutputFunctions();
    } catch (const OutputModuleMissing& missing) {
        throw ReceiptError::notMade(QString::fromStdString(missing.what()));
    }
}

}  // namespace

QByteArray HandInPdf(const QByteArray& reportPdf, const QPageLayout& paper,
                     const std::vector<HandInReceipt>& receipts) {
    // The report's own PDF needs no PDF library.
    if (receipts.empty()) return reportPdf;
    return ForReceipts().handInPdf(reportPdf, paper, receipts);
}

void CheckPdfReceipt(const QByteArray& bytes, const QString& name) { ForReceipts().checkPdfReceipt(bytes, name); }

std::vector<uint8_t> xlsx::writeXlsx(const xls::Workbook& workbook, const xls::LocaleInfo& locale) {
    try {
        return LoadedOutputFunctions().writeXlsx(workbook, locale);
    } catch (const OutputModuleMissing& missing) {
        throw xls::Error(missing.what());
    }
}
