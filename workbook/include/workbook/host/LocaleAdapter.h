// The user's regional settings, read from Qt, in the form the workbook engine takes them.
#pragma once

#include "xls/Locale.h"

#include <QDate>
#include <QLocale>
#include <QString>

xls::LocaleInfo LocaleInfoFromQLocale(const QLocale& locale);

// The date in the locale's short form with the full year (3/4/1850, 04.03.1850), so that no
// century is lost.
QString FullYearShortDate(const QLocale& locale, const QDate& date);
