// Draws a range of a sheet as a spreadsheet shows it at 100 % (96 dpi), without gridlines unless
// the sheet shows them.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <QImage>

namespace xls {

QImage renderRange(const Workbook& workbook, const Sheet& sheet, const Range& range, const LocaleInfo& locale);

}  // namespace xls
