#include "SaveDialog.h"

#include <QFileDialog>

namespace {

SaveDialogHandler& Handler() {
    static SaveDialogHandler handler;
    return handler;
}

}  // namespace

SaveDialogAnswer ShowSaveDialog(QWidget* parent, const QString& title, const QString& filters) {
    if (Handler()) return Handler()(parent, title, filters);
    // The overwrite question is the window's own, so the dialog must not ask it as well.
    QString selected;
    QString path =
        QFileDialog::getSaveFileName(parent, title, QString(), filters, &selected, QFileDialog::DontConfirmOverwrite);
    return {std::move(path), std::move(selected)};
}

void SetSaveDialogHandler(SaveDialogHandler handler) { Handler() = std::move(handler); }
