// Numbers as typed under a locale: signs, parentheses, grouping, decimals, exponent, percent, currency,
// fractions; 15 significant digits kept.
#pragma once

#include "xls/Locale.h"

#include <optional>
#include <string>
#include <string_view>

namespace xls::typed {

struct TypedNumber {
    double value = 0;
    bool percent = false;
    bool currency = false;
    bool grouped = false;
    bool exponent = false;
    bool decimals = false;
    int fractionDigits = 0;  // digits of the denominator of a typed fraction
};

std::optional<TypedNumber> parseTypedNumber(std::string_view text, const LocaleInfo& locale);

// The format a General cell takes for the number as typed; nullopt when it stays General.
std::optional<std::string> formatForTypedNumber(const TypedNumber& number, const LocaleInfo& locale);

}  // namespace xls::typed
