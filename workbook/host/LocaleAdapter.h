// The user's regional settings, read from Qt, in the form the workbook engine takes them.
#pragma once

#include "xls/Locale.h"

#include <QLocale>

xls::LocaleInfo LocaleInfoFromQLocale(const QLocale& locale);
