// A sheet's cells and merged ranges.
#pragma once

#include "CellFormats.h"
#include "xls/Model.h"

#include <xlsxwriter.h>

namespace xlsx {

// Every cell with its value or formula (its computed result cached beside it) and format, and
// every merge. Text is always text: a text that looks like a formula or number stays as typed.
// Throws xls::Error naming the cell that cannot be carried over.
void writeCells(lxw_worksheet* target, const xls::Sheet& sheet, CellFormats& formats);

}  // namespace xlsx
