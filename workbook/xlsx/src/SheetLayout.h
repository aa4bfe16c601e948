// A sheet's sizes, view and page setup.
#pragma once

#include "CellFormats.h"
#include "xls/Model.h"

#include <xlsxwriter.h>

namespace xlsx {

// Column widths and formats, row heights, gridlines, zoom, the selected cell, the print area and
// the page setup. Throws xls::Error for what the .xlsx form cannot carry.
void writeLayout(lxw_worksheet* target, const xls::Sheet& sheet, CellFormats& formats);

}  // namespace xlsx
