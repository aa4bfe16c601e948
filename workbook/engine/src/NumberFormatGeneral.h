// The General format: as many significant digits as fit the characters a cell allows.
#pragma once

#include "xls/Locale.h"

#include <string>

namespace xls::numfmt {

// The text of a finite number under General, at most maxChars characters where any form fits.
std::string generalNumberText(double value, int maxChars, const LocaleInfo& locale);

}  // namespace xls::numfmt
