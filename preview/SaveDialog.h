// The preview window's save dialog, replaceable so that tests can answer it.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Returns the chosen path exactly as the dialog gives it, or an empty text when cancelled.
using SaveDialogHandler = std::function<QString(QWidget* parent, const QString& title, const QString& filter)>;

QString ShowSaveDialog(QWidget* parent, const QString& title, const QString& filter);

// An empty handler restores the real dialog.
void SetSaveDialogHandler(SaveDialogHandler handler);
