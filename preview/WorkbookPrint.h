// The active sheet of a workbook file on paper, by the sheet's own page setup: printed on a
// device, or as a PDF document.
#pragma once

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

// Numbers and dates appear as under the default locale, as in the preview's picture. Both throw
// std::runtime_error naming the file when it cannot be read or its sheet has nothing to print.
void PrintWorkbookFile(const QString& path, QPagedPaintDevice& device);
QByteArray WorkbookFilePdf(const QString& path);
