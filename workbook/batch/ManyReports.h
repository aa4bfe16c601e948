// One run over many reports: each written into the output folder under its own name.
#pragma once

#include "BatchOptions.h"

// Writes DIR/NAME.xls (or .xlsx, or both, and DIR/NAME.png, .pdf) for every report of the options. A bad report or a
// failed write is named on stderr and the run goes on; returns the exit code of the worst failure
// (could not write before bad input), or kBatchDone. Throws BatchFailure when the run cannot start.
int WriteManyReports(const BatchOptions& options);
