#include "xls/SheetPainter.h"

namespace xls {

QImage renderRange(const Workbook&, const Sheet&, const Range&, const LocaleInfo&) { return {}; }

}  // namespace xls
