// The engine's readings of workbook files, remembered for the last few files read: a generation run
// opens the same template as the run before, and for an unchanged report the same result.
#pragma once

#include "xls/Model.h"

#include <QByteArray>

namespace host {

// xls::readWorkbook of the bytes; throws what it throws.
xls::Workbook ReadWorkbookBytes(const QByteArray& bytes);

}  // namespace host
