#include "preview/SaveDialog.h"

#include <QFileDialog>

namespace {

SaveDialogHandler& Handler() {
    static SaveDialogHandler handler;
    return handler;
}

}  // namespace

QString ShowSaveDialog(QWidget* parent, const QString& title, const QString& filter) {
    if (Handler()) return Handler()(parent, title, filter);
    // The overwrite question is the window's own, so the dialog must not ask it as well.
    return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

void SetSaveDialogHandler(SaveDialogHandler handler) {
    Handler() = std::move(handler);
}
