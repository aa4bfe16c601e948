// Draws a range of a sheet as a spreadsheet shows it at 100 % (96 dpi), without gridlines unless
// the sheet shows them.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <QImage>

namespace xls {

// Throws xls::Error, with the reason, for a range that holds no cell, one whose rows or columns
// are all hidden, and a picture too large to hold.
QImage renderRange(const Workbook& workbook, const Sheet& sheet, const Range& range, const LocaleInfo& locale);

// The same for a screen with devicePixelRatio device pixels to a pixel: the layout stays in 96-dpi
// pixels, the picture holds that many times the pixels each way and says so in its device pixel
// ratio and its resolution (which survives a picture file). Throws as above, and for a ratio that
// is not above zero.
QImage renderRange(const Workbook& workbook, const Sheet& sheet, const Range& range, const LocaleInfo& locale,
                   qreal devicePixelRatio);

}  // namespace xls
