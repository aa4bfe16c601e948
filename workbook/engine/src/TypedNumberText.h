// The parts of a number as typed under a locale: the decorations around it (signs, parentheses,
// currency symbol, percent) and its decimal digits, grouped only as the locale groups them.
#pragma once

#include "xls/Locale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xls::typed {

struct Decorated {
    std::string_view number;  // what the decorations enclose, blanks trimmed
    bool negative = false;    // a minus sign before or after, or parentheses
    bool currency = false;
    bool percent = false;
};

// Each decoration at most once, before or after the number; nullopt for unbalanced parentheses,
// parentheses with a sign, or percent with currency.
std::optional<Decorated> stripDecorations(std::string_view text, const LocaleInfo& locale);

// [digits][decimal separator digits][E[sign]digits], the digits exactly as written: the value is
// integer.fraction times ten to the exponent. Grouping separators stand only between groups of the
// locale's sizes, before the decimal separator; where the locale groups with a blank, any blank
// (space, no-break space, narrow no-break space) may stand for it.
struct DecimalDigits {
    std::string integer;
    std::string fraction;
    std::int64_t exponent = 0;  // held within +-kExponentBound, far beyond any finite double
    bool grouped = false;
    bool decimals = false;
    bool exponentWritten = false;
};

inline constexpr std::int64_t kExponentBound = 100000;

// The ASCII digits at the start of text, taken off it.
std::string_view readDigits(std::string_view& text);

std::optional<DecimalDigits> readDecimalDigits(std::string_view text, const LocaleInfo& locale);

}  // namespace xls::typed
