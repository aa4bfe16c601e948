// Replacing a file so that the target is either the complete new file or left as it was.
#pragma once

#include "PreviewError.h"
#include "receipts/HandInPdf.h"

#include <QString>

#include <vector>

// Both write next to the file target names (through the user's own links), then rename over that
// file in one step. They throw PreviewError with the reason when the new file cannot be
// made, or when target is a link planted by another user or not a regular file.

// A copy of source, byte for byte.
void ReplaceWithCopy(const QString& source, const QString& target);

// The PDF of the workbook file's active sheet, printed by its own page setup, then the receipts.
void ReplaceWithPdf(const QString& workbook, const std::vector<HandInReceipt>& receipts, const QString& target);

// The workbook file as an Excel Workbook (.xlsx): the same cells, formulas, formats and page setup.
void ReplaceWithXlsx(const QString& workbook, const QString& target);
