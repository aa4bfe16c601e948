// The active sheet of a workbook file on paper, by the sheet's own page setup: printed on a
// device, or as a PDF document followed by the receipts handed in with it.
#pragma once

#include "PreviewError.h"
#include "receipts/HandInPdf.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QPagedPaintDevice;

// Numbers, money and dates appear as under the current regional settings, as in the preview's
// picture. Both throw PreviewError naming the file when it cannot be read or its sheet cannot be
// printed (nothing to print, a device that cannot be drawn on), the PDF also ReceiptError for a
// receipt that cannot be read.
void PrintWorkbookFile(const QString& path, QPagedPaintDevice& device);
QByteArray WorkbookFilePdf(const QString& path, const std::vector<HandInReceipt>& receipts = {});
