// Whole-file reading and writing of 97–2003 workbooks (BIFF8 inside a compound file).
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <cstdint>
#include <span>
#include <vector>

namespace xls {

// Parses a .xls/.xlt file. Throws xls::Error with a clear description for anything that is not
// a readable BIFF8 workbook (not a compound file, no Workbook stream, damaged records).
Workbook readWorkbook(std::span<const uint8_t> file);

// Serialises the workbook as a compound file with the Workbook stream and neutral summary streams;
// the currency and accounting built-ins are stored in the forms of the given settings.
// Cached formula results are written as they stand: the writes before it keep them current
// (writeCellValue, or storeCellValue and recalculateReadersOf in xls/Formula.h). Throws
// xls::Error, writing nothing, for a workbook holding anything the file format cannot: a cell,
// merge, column setting, print area or active cell beyond column IV, a text over 32,767 characters,
// a header or footer over 255, a sheet or font name over 31, a formula or kept record over the
// 8,224-byte record, a zoom or print scale outside 10% to 400%, and the like.
std::vector<uint8_t> writeWorkbook(const Workbook& workbook, const LocaleInfo& locale = {});

// The Workbook stream on its own (BIFF8 records, padded to at least 4096 bytes) and its reading.
std::vector<uint8_t> writeWorkbookStream(const Workbook& workbook, const LocaleInfo& locale = {});
Workbook readWorkbookStream(std::span<const uint8_t> stream);

}  // namespace xls
