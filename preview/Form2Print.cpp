// Ctrl+P in the preview: the system print dialog, then the result workbook's sheet on paper as
// its page setup lays it out.
#include "preview/Form2.h"

#include "app/ErrorHandler.h"
#include "preview/PrintDialog.h"
#include "preview/WorkbookPrint.h"

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
    if (accepted) eh.step(102, [&] { PrintWorkbookFile(mExcelFile.path(), printer); });
}
