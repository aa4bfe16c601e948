// Where each field of the expense report lands in the template: 14 header and footer cells,
// 7 headings and 15 rows of 10 cells, written one host call each, in the run's order.
#pragma once

#include "workbook/host/Application.h"
#include "workbook/model/ExpenseReport.h"

#include <functional>

// Runs one numbered statement of the run; the generation run reports a failure and goes on.
using StatementRunner = std::function<void(int line, const std::function<void()>& statement)>;

// Runs the statement and lets a failure pass to the caller.
void RunStatement(int line, const std::function<void()>& statement);

// Writes the report into the first worksheet of the instance's active workbook: texts unchanged
// (the host reads them as typed input), dates as dates. Statement numbers 118 to 180.
void WriteReportCells(host::Application& instance, const ExpenseReport& report,
                      const StatementRunner& run = RunStatement);
