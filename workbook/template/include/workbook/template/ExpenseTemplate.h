// The blank expense report form the generation run fills, described cell by cell.
#pragma once

#include "xls/Model.h"

#include <string_view>

inline constexpr std::string_view kTemplateSheetName = "Expense report";

// The template workbook with its formulas' results computed. Writing it with xls::writeWorkbook
// gives the bytes the program embeds.
xls::Workbook BuildExpenseTemplate();
