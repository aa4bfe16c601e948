// The receipt files a report names: each must be a whole receipt before anything is written.
#pragma once

#include "workbook/model/ExpenseReport.h"

#include <QString>

// Reads and checks every receipt of the report. Throws BatchFailure (bad input) naming name, the
// row's key and the file that is not a whole receipt, and what is wrong with it.
void CheckReceipts(const ExpenseReport& report, const QString& name);
