// The two locales the text tests pin: United States and Germany (comma decimals).
#pragma once

#include "xls/Locale.h"

inline xls::LocaleInfo unitedStates() { return xls::LocaleInfo{}; }

inline xls::LocaleInfo germany() {
    xls::LocaleInfo locale;
    locale.decimal = ",";
    locale.group = ".";
    locale.currencySymbol = "€";
    locale.currencyBefore = false;
    locale.currencySpaced = true;
    locale.negativeParentheses = false;
    locale.dateOrder = xls::DateOrder::DayMonthYear;
    locale.dateSeparator = ".";
    locale.shortDateCode = "dd.mm.yyyy";
    locale.monthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    locale.monthAbbreviations = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    locale.dayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
    locale.dayAbbreviations = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    locale.trueWord = "WAHR";
    locale.falseWord = "FALSCH";
    locale.am = "vorm.";
    locale.pm = "nachm.";
    return locale;
}
