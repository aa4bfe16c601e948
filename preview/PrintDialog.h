// The preview window's print dialog, replaceable so that tests can answer it without a printer.
#pragma once

#include <functional>

class QPrinter;
class QWidget;

// Sets up the printer as the user chose and returns true, or returns false when cancelled.
using PrintDialogHandler = std::function<bool(QWidget* parent, QPrinter& printer)>;

bool ShowPrintDialog(QWidget* parent, QPrinter& printer);

// An empty handler restores the system's dialog.
void SetPrintDialogHandler(PrintDialogHandler handler);
