// libxlsxwriter's results as the engine's errors.
#pragma once

#include "xls/Error.h"
#include "xls/Model.h"

#include <xlsxwriter.h>

#include <string>

namespace xlsx {

// Throws xls::Error naming where and libxlsxwriter's reason when result is not success.
inline void check(lxw_error result, const std::string& where) {
    if (result != LXW_NO_ERROR) throw xls::Error(where + ": " + lxw_strerror(result));
}

// "Expense report!C4", for messages.
std::string cellName(const xls::Sheet& sheet, uint16_t row, uint16_t col);

}  // namespace xlsx
