// The result workbook file read back into the engine's model, for what is made from it.
#pragma once

#include "PreviewError.h"
#include "xls/Model.h"

#include <QString>

// Throws PreviewError "PATH FAILURE: reason" (failure as in "cannot be printed") when the
// file cannot be read, is no workbook or has no active sheet.
xls::Workbook ReadWorkbookFile(const QString& path, const QString& failure);
