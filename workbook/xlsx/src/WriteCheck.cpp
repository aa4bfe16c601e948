#include "WriteCheck.h"

namespace xlsx {

std::string cellName(const xls::Sheet& sheet, uint16_t row, uint16_t col) {
    char address[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(address, row, col);
    return sheet.name + "!" + address;
}

}  // namespace xlsx
