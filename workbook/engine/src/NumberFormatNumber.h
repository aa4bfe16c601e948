// Applies a section of digit placeholders (0 # ?), exponent or fraction to a number.
#pragma once

#include "NumberFormatCode.h"
#include "NumberFormatPieces.h"
#include "xls/Locale.h"

namespace xls::numfmt {

// Writes magnitude (not negative) through the section; showMinus puts a minus sign in front.
void writeNumberSection(const Section& section, double magnitude, bool showMinus, const LocaleInfo& locale,
                        int maxGeneralChars, PieceWriter& out);

}  // namespace xls::numfmt
