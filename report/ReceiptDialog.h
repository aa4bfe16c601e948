// The entry window's dialog for choosing receipt files, replaceable so that tests can answer it.
#pragma once

#include <QStringList>

#include <functional>

class QWidget;

// The chosen files (empty when cancelled).
using ReceiptDialogHandler = std::function<QStringList(QWidget* parent)>;

// Offers every receipt type this system reads.
QStringList ShowReceiptDialog(QWidget* parent);

// An empty handler restores the real dialog.
void SetReceiptDialogHandler(ReceiptDialogHandler handler);
