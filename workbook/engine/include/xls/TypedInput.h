// What a spreadsheet makes of text typed into a cell.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <optional>
#include <string>
#include <string_view>

namespace xls {

struct TypedValue {
    Value value;                            // empty, number (dates as 1900-system serials), boolean or text
    std::optional<std::string> formatCode;  // a format the cell should get (only when it is General)
};

struct CivilDate {
    int year = 1900;
    int month = 1;
    int day = 1;
};

// Interprets UTF-8 text as typed into a cell whose number format code is currentFormat.
// Never yields a formula; text is cut to 32,767 characters. A date typed without a year falls in
// the current year of the system clock.
TypedValue interpretTypedInput(std::string_view text, std::string_view currentFormat, const LocaleInfo& locale);

// The same with the date that stands for today given by the caller.
TypedValue interpretTypedInput(std::string_view text, std::string_view currentFormat, const LocaleInfo& locale,
                               const CivilDate& today);

// Days since 1899-12-30 for a proleptic Gregorian date (1900 system, with its fictitious 1900-02-29).
double dateSerial(int year, int month, int day);

}  // namespace xls
