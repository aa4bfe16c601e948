#include "ReceiptDialog.h"

#include "receipts/ReceiptType.h"

#include <QFileDialog>

namespace {

ReceiptDialogHandler& Handler() {
    static ReceiptDialogHandler handler;
    return handler;
}

}  // namespace

QStringList ShowReceiptDialog(QWidget* parent) {
    if (Handler()) return Handler()(parent);
    return QFileDialog::getOpenFileNames(parent, QStringLiteral("Attach Receipt"), QString(), ReceiptFileFilter());
}

void SetReceiptDialogHandler(ReceiptDialogHandler handler) { Handler() = std::move(handler); }
