// Prints a sheet on paged devices (a PDF writer, a printer) by its own page setup, as vector
// drawing: text stays text and borders stay lines.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <QPagedPaintDevice>

namespace xls {

// Gives the device the sheet's paper, orientation and margins (a printer that refuses them keeps
// its own; the cells still land where the sheet puts them on the paper) and draws every page of
// planPrint. Throws xls::Error when there is nothing to print ("the sheet has nothing to print")
// or the device cannot be painted on.
void printSheet(QPagedPaintDevice& device, const Workbook& workbook, const Sheet& sheet, const LocaleInfo& locale);

}  // namespace xls
