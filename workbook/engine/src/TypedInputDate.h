// Dates and times as typed under a locale: 11/5/2016, 1-2-12, 5-Nov-2016, Nov 5, 2016, 13:45, 1:45 PM.
#pragma once

#include "xls/Locale.h"
#include "xls/TypedInput.h"

#include <optional>
#include <string>
#include <string_view>

namespace xls::typed {

struct TypedDate {
    double serial = 0;
    std::string formatCode;  // what a General cell shows it with
};

std::optional<TypedDate> parseTypedDateTime(std::string_view text, const LocaleInfo& locale, const CivilDate& today);

}  // namespace xls::typed
