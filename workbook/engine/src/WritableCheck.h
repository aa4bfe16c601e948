// What the file format can hold, decided once for the whole workbook before a byte is written:
// the writer never cuts, clamps or drops what does not fit.
#pragma once

#include "xls/Model.h"

namespace xls::biff {

// Throws xls::Error naming the first thing in the workbook that the file format cannot hold; the
// message reads on after a caller's own "could not be saved" words.
void checkWritable(const Workbook& workbook);

}  // namespace xls::biff
