// The user's regional settings, read from Qt, in the form the workbook engine takes them.
#pragma once

#include "workbook/host/RegionalSettings.h"
#include "xls/Locale.h"

#include <QDate>
#include <QLocale>
#include <QString>

// Separators, grouping, minus and the boolean words from the numbers; the currency's symbol, place,
// spacing, negative form and language tag from the money; dates, times and their names from the dates.
xls::LocaleInfo LocaleInfoFromQLocale(const RegionalSettings& settings);

// The date in the locale's short form with the full year (3/4/1850, 04.03.1850), so that no
// century is lost.
QString FullYearShortDate(const QLocale& locale, const QDate& date);
