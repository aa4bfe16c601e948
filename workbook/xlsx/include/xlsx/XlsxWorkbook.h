// The Excel Workbook (.xlsx) form of an engine workbook: the same cells, formulas with their
// computed results, formats, merges, sizes, view and page setup as the 97–2003 file carries.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <cstdint>
#include <vector>

namespace xlsx {

// The whole .xlsx file, made in memory: nothing is written beside it. Throws xls::Error, naming
// the sheet and cell, for anything the .xlsx form cannot carry as it stands (an error or boolean
// formula result, a formula this engine cannot show as text, a number format it cannot name), and
// when the file cannot be made. The currency and accounting built-ins are written in the words of
// the settings the workbook was filled under, as the 97–2003 file stores them.
std::vector<uint8_t> writeXlsx(const xls::Workbook& workbook, const xls::LocaleInfo& locale = {});

}  // namespace xlsx
