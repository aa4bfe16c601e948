// Decimal digits of a double as a spreadsheet shows them: 15 significant digits, halves rounded away from zero.
#pragma once

#include <string>

namespace xls::numfmt {

struct Decimal {
    std::string digits;  // significant digits, no leading zero ("0" only for zero)
    int exponent = 0;    // value = d.ddd × 10^exponent
};

// Rounded to at most `count` significant digits (count >= 1).
Decimal significantDigits(double magnitude, int count = 15);

// "1234.50" for (1234.5, 2): plain digits with '.' and exactly `decimals` decimals.
std::string fixedText(double magnitude, int decimals);

}  // namespace xls::numfmt
