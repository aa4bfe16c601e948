// A workbook shaped like the expense template: fonts, fills, borders, formats, merges, formulas,
// view and print settings, so that tests exercise every record the engine writes.
#pragma once

#include "xls/Model.h"

#include <string>

namespace biff_test {

xls::Workbook sampleWorkbook();
// A text of the given length in UTF-16 units mixing Latin, Cyrillic, CJK and characters outside the BMP.
std::string mixedText(size_t units, unsigned seed);

}  // namespace biff_test
