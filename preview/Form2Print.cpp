// Ctrl+P in the preview: the system print dialog, then the result workbook's sheet on paper as
// its page setup lays it out. Printed to a PDF file, the receipts follow the sheet.
#include "preview/Form2.h"

#include "app/ErrorHandler.h"
#include "FileReplace.h"
#include "PrintDialog.h"
#include "WorkbookPrint.h"

#include <QPrinter>
#include <QShortcut>

void Form2::installPrintShortcut() {
    auto* shortcut = new QShortcut(QKeySequence::Print, this);
    connect(shortcut, &QShortcut::activated, this, &Form2::PrintPage);
}

void Form2::PrintPage() {
    ErrorHandler eh(QStringLiteral("Form2.PrintPage"));
    QPrinter printer(QPrinter::HighResolution);
    bool accepted = false;
    eh.step(100, [&] { accepted = ShowPrintDialog(this, printer); });
    if (!accepted) return;
    // A printer draws pages of one paper; the hand-in PDF keeps each receipt page as it is.
    if (printer.outputFormat() == QPrinter::PdfFormat && !mReceipts.empty())
        eh.step(102, [&] { ReplaceWithPdf(mExcelFile.path(), mReceipts, printer.outputFileName()); });
    else
        eh.step(102, [&] { PrintWorkbookFile(mExcelFile.path(), printer); });
}
