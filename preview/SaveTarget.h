// What a save of the result workbook writes, and where: the workbook itself, or its PDF.
#pragma once

#include "preview/SaveDialog.h"

#include <QString>

inline const QString kWorkbookFilter = QStringLiteral("Excel Files (*.xls)");
inline const QString kPdfFilter = QStringLiteral("PDF Files (*.pdf)");
// The save dialog's filters, the workbook's first.
inline const QString kSaveFilters = kWorkbookFilter + QStringLiteral(";;") + kPdfFilter;

struct SaveTarget {
    enum class Format { Workbook, Pdf };
    QString path;  // empty when the dialog was cancelled
    Format format = Format::Workbook;
};

// A path ending in ".pdf" (any case) is a PDF whichever filter was selected. With the PDF filter
// selected, the save is a PDF and a file name without an extension gets ".pdf", as the dialog's
// own default suffix would give it; every other path is used unchanged.
SaveTarget SaveTargetOf(const SaveDialogAnswer& answer);
