// Regional conventions the engine needs, handed in by the caller (the engine does not read the system).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace xls {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

struct LocaleInfo {
    std::string decimal = ".";
    std::string group = ",";
    int groupSize = 3;            // digits of the group just before the decimal separator; 0: no grouping
    int secondaryGroupSize = 3;   // digits of each group further left (2 under Indian settings)
    std::string minusSign = "-";  // the settings' own, typed as well as "-" (U+2212 under Swedish settings)
    std::string currencySymbol = "$";
    bool currencyBefore = true;       // "$1.00" rather than "1.00 $"
    bool currencySpaced = false;      // a space between symbol and number
    bool negativeParentheses = true;  // currency negatives as "($1.00)", else with a leading minus
    uint16_t languageId = 0x0409;     // the Windows language id that tags a currency in format codes; 0 none
    DateOrder dateOrder = DateOrder::MonthDayYear;
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    std::string shortDateCode = "m/d/yyyy";  // the code built-in format 14 shows
    std::array<std::string, 12> monthNames{"January", "February", "March",     "April",   "May",      "June",
                                           "July",    "August",   "September", "October", "November", "December"};
    std::array<std::string, 12> monthAbbreviations{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 7> dayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    std::array<std::string, 7> dayAbbreviations{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::string trueWord = "TRUE";  // what typed input takes for the booleans, in any case
    std::string falseWord = "FALSE";
    std::string am = "AM";
    std::string pm = "PM";
};

}  // namespace xls
