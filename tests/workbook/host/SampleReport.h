// The example report of the sample-data button, as the entry window holds it under United States settings.
#pragma once

#include "workbook/model/ExpenseReport.h"

ExpenseReport SampleReport();
