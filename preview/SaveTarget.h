// What a save of the result workbook writes, and where: one row per format the save dialog offers.
#pragma once

#include "SaveDialog.h"
#include "receipts/HandInPdf.h"

#include <QString>

#include <array>
#include <vector>

struct SaveFormat {
    QString filter;     // as the dialog lists it
    QString extension;  // lower case, without the dot
    // Replaces target with the format's rendering of the result workbook (with the receipts handed
    // in with it, where the format holds them), or leaves it as it was.
    void (*write)(const QString& workbook, const std::vector<HandInReceipt>& receipts, const QString& target);
};

// The dialog's formats in the order it lists them; the first is chosen when no filter was selected.
extern const std::array<SaveFormat, 3> kSaveFormats;

// The dialog's filters, separated by ";;".
QString SaveFilters();

struct SaveTarget {
    QString path;  // empty when the dialog was cancelled
    const SaveFormat* format = nullptr;
};

// One rule for name and filter: a name whose extension (in any case) is a format's is saved in that
// format under that name, whichever filter was selected; any other name is saved in the selected
// filter's format with its extension added.
SaveTarget SaveTargetOf(const SaveDialogAnswer& answer);
