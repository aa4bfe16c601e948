// Applies a section of date and time codes to a day serial.
#pragma once

#include "NumberFormatCode.h"
#include "NumberFormatPieces.h"
#include "xls/Locale.h"

namespace xls::numfmt {

// Serials outside the calendar (negative, past 9999-12-31) fill the cell with #.
void writeDateSection(const Section& section, double serial, bool date1904, const LocaleInfo& locale, PieceWriter& out);

}  // namespace xls::numfmt
