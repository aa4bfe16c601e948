// Workbook fonts as drawable Qt fonts: the named family when installed, else a metric-compatible
// substitute, else a plain sans; sized in pixels at 96 dpi.
#pragma once

#include "xls/Model.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <vector>

namespace xls {

// The installed family that draws `name`. Needs a QGuiApplication.
QString screenFamily(const std::string& name);
// Bold, italic, single underline and strikeout are set on the font; double and accounting
// underlines are drawn by the caller.
QFont screenFont(const Font& font);
// Every font of the workbook in its order; never empty, so the first is the standard font.
std::vector<QFont> screenFonts(const Workbook& workbook);
// The widest of the digits 0-9 in whole pixels: the unit of column widths.
int maxDigitWidth(const QFont& font);
// Whether a bold font's face draws no heavier than its regular face (some bold faces only widen
// the letters), so that drawing has to thicken it.
bool needsEmboldening(const QFont& font);
QColor screenColour(uint32_t rgb, const QColor& automatic);

}  // namespace xls
