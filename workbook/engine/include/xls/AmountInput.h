// Amounts of money typed under a locale, read and rounded to the cent in decimal: never through a
// binary fraction, so "2.675" is 2.68 as a spreadsheet rounds it, not the 2.67 of the nearest double.
#pragma once

#include "xls/Locale.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace xls {

// The largest amount a cell holds to the cent, 9,999,999,999,999.99: 15 significant digits, what
// a double keeps exactly enough that every cent reads back.
inline constexpr std::int64_t kLargestAmountCents = 999'999'999'999'999;

// UTF-8 text as an amount in cents: the number forms of typed input (signs, parentheses, the
// currency symbol, grouping as the locale groups, decimals, an exponent), without percent or
// fractions, rounded half away from zero to the cent. nullopt for other text and for an amount
// whose cents a cell could not hold.
std::optional<std::int64_t> parseAmountCents(std::string_view text, const LocaleInfo& locale);

}  // namespace xls
