// Prints the active sheet of a workbook file by the sheet's own page setup.
#pragma once

#include <QString>

class QPagedPaintDevice;

// Numbers and dates appear as under the default locale, as in the preview's picture. Throws
// std::runtime_error naming the file when it cannot be read or its sheet has nothing to print.
void PrintWorkbookFile(const QString& path, QPagedPaintDevice& device);
