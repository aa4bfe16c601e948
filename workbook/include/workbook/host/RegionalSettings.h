// The desktop's regional settings, one locale per category: numbers (LC_NUMERIC), money
// (LC_MONETARY), dates and times (LC_TIME). A region panel may set them apart (United States
// words with German money); each rule follows its own category, and every message names the
// locale the rule followed.
#pragma once

#include <QLocale>
#include <QString>

#include <functional>

struct RegionalSettings {
    // One locale for every category (the batch's --locale, or a caller's own choice).
    RegionalSettings(const QLocale& every);  // NOLINT(google-explicit-constructor): a locale is whole settings
    RegionalSettings(const QLocale& numbers, const QLocale& money, const QLocale& dates);

    QLocale numbers;
    QLocale money;
    QLocale dates;

    friend bool operator==(const RegionalSettings&, const RegionalSettings&) = default;
};

// Each category chosen the POSIX way: LC_ALL if set and not empty, else the category's own
// variable, else LANG, else C. `variable` gives an environment variable's value.
RegionalSettings RegionalSettingsFromEnvironment(const std::function<QString(const char* name)>& variable);

// The settings the program works under: the process's chosen default locale for every category
// when one was chosen (QLocale::setDefault, as --locale does), else the environment's, read once.
RegionalSettings CurrentRegionalSettings();

// How messages name a locale: "de_DE", "C".
QString SettingsName(const QLocale& locale);
