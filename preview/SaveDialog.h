// The preview window's save dialog, replaceable so that tests can answer it.
#pragma once

#include <QString>

#include <functional>
#include <utility>

class QWidget;

// The chosen path exactly as the dialog gives it (empty when cancelled) and the filter the user
// had selected (empty: the first). A handler may answer with the path alone.
struct SaveDialogAnswer {
    SaveDialogAnswer(QString chosenPath = {}, QString selectedFilter = {})
        : path(std::move(chosenPath)), filter(std::move(selectedFilter)) {}
    QString path;
    QString filter;
};

// filters are separated by ";;", the first one selected.
using SaveDialogHandler =
    std::function<SaveDialogAnswer(QWidget* parent, const QString& title, const QString& filters)>;

SaveDialogAnswer ShowSaveDialog(QWidget* parent, const QString& title, const QString& filters);

// An empty handler restores the real dialog.
void SetSaveDialogHandler(SaveDialogHandler handler);
