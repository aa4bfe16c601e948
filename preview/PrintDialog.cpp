#include "PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

PrintDialogHandler& Handler() {
    static PrintDialogHandler handler;
    return handler;
}

}  // namespace

bool ShowPrintDialog(QWidget* parent, QPrinter& printer) {
    if (Handler()) return Handler()(parent, printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void SetPrintDialogHandler(PrintDialogHandler handler) { Handler() = std::move(handler); }
