// The sheet snapshot: the used range of a workbook's active sheet as a picture file.
#pragma once

#include "workbook/host/HostWorkbook.h"
#include "ClipboardPicture.h"

#include <QString>

#include <memory>

// Copies the active sheet's used range to the clipboard as a picture and saves that picture at
// path (BMP) as a new file, replacing whatever is there without following a link. A used range
// ending in row 1 or column A gives no file and no message. Failing statements are reported under
// "Excel1.saveCellsActivesheet" and the next statement runs.
void saveCellsActivesheet(const std::shared_ptr<host::Workbook>& book, const QString& path,
                          const ClipboardAttempt& attempt = ReadClipboardImage);
