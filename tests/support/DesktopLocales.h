// The locales the tests run real programs under, as a desktop session names them (de_DE.UTF-8).
// ./do test generates them (TEST_LOCALES); elsewhere one may be missing, and the test skips.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Skips the calling test (GTEST_SKIP) unless every locale the NAME=value pairs name is installed.
#define SKIP_WITHOUT_LOCALES(pairs)                                                         \
    do {                                                                                    \
        if (const QString missing = MissingLocale(pairs); !missing.isEmpty())               \
            GTEST_SKIP() << "the locale " << missing.toStdString()                          \
                         << " is not generated (./do test generates it, see TEST_LOCALES)"; \
    } while (false)

// The first locale a value of the NAME=value pairs names that `locale -a` does not list; empty
// when all are there. C and POSIX are always there.
QString MissingLocale(const QStringList& pairs);

// The environment as a desktop with those settings starts a program: every category variable
// cleared, then the NAME=value pairs (LANG=de_DE.UTF-8, LC_MONETARY=...) set.
QProcessEnvironment WithDesktopSettings(QProcessEnvironment environment, const QStringList& pairs);
