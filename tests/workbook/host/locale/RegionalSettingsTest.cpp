// The settings of each category as a desktop session's environment chooses them, and what each
// category governs: a region panel that sets money or dates apart from the language gets each rule
// from its own category.
#include "workbook/host/LocaleAdapter.h"
#include "workbook/host/RegionalSettings.h"
#include "workbook/model/AmountText.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale kGermany(QLocale::German, QLocale::Germany);
const QLocale kFrance(QLocale::French, QLocale::France);

RegionalSettings fromEnvironment(const QMap<QString, QString>& variables) {
    return RegionalSettingsFromEnvironment(
        [&variables](const char* name) { return variables.value(QString::fromLatin1(name)); });
}

// "numbers money dates" by locale name.
std::string names(const RegionalSettings& settings) {
    return QStringList{SettingsName(settings.numbers), SettingsName(settings.money), SettingsName(settings.dates)}
        .join(u' ')
        .toStdString();
}

// What each category gave the engine: "decimal group true-word | symbol place spacing negatives
// language | short date, March".
std::string categories(const xls::LocaleInfo& info) {
    return info.decimal + " " + info.group + " " + info.trueWord + " | " + info.currencySymbol +
           (info.currencyBefore ? " before" : " after") + (info.currencySpaced ? " spaced" : " unspaced") +
           (info.negativeParentheses ? " parentheses " : " minus ") +
           QString::number(info.languageId, 16).toStdString() + " | " + info.shortDateCode + " " + info.monthNames[2];
}

}  // namespace

TEST(RegionalSettings, EachCategoryIsChosenByLcAllThenItsOwnVariableThenLang) {
    EXPECT_EQ(names(fromEnvironment({{"LANG", "de_DE.UTF-8"}})), "de_DE de_DE de_DE");
    EXPECT_EQ(names(fromEnvironment({{"LANG", "en_US.UTF-8"}, {"LC_MONETARY", "de_DE.UTF-8"}})), "en_US de_DE en_US");
    EXPECT_EQ(names(fromEnvironment({{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "de_DE.UTF-8"}})), "de_DE en_US en_US");
    EXPECT_EQ(names(fromEnvironment({{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "en_US.UTF-8"}})), "de_DE de_DE en_US");
    EXPECT_EQ(names(fromEnvironment({{"LC_ALL", "fr_FR.UTF-8"},
                                     {"LANG", "en_US.UTF-8"},
                                     {"LC_NUMERIC", "de_DE.UTF-8"},
                                     {"LC_MONETARY", "en_GB.UTF-8"},
                                     {"LC_TIME", "de_DE.UTF-8"}})),
              "fr_FR fr_FR fr_FR");
    // An empty variable is no choice: the next in line decides.
    EXPECT_EQ(names(fromEnvironment({{"LC_ALL", ""}, {"LC_TIME", ""}, {"LC_NUMERIC", "de_DE"}, {"LANG", "en_GB"}})),
              "de_DE en_GB en_GB");
    // A desktop's own category names only it; the language's messages take nothing from it.
    EXPECT_EQ(names(fromEnvironment({{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}})), "en_US en_US en_US");
    EXPECT_EQ(names(fromEnvironment({})), "C C C");
    EXPECT_EQ(names(fromEnvironment({{"LANG", "C.UTF-8"}})), "C C C");
}

TEST(RegionalSettings, AChosenDefaultLocaleGovernsEveryCategory) {
    QLocale::setDefault(kGermany);
    EXPECT_EQ(names(CurrentRegionalSettings()), "de_DE de_DE de_DE");
    QLocale::setDefault(kUnitedStates);
    EXPECT_EQ(names(CurrentRegionalSettings()), "en_US en_US en_US");
}

TEST(RegionalSettings, TheEngineTakesSeparatorsFromNumbersCurrencyFromMoneyAndDatesFromTime) {
    EXPECT_EQ(categories(LocaleInfoFromQLocale(RegionalSettings(kUnitedStates, kGermany, kFrance))),
              ". , TRUE | € after spaced minus 407 | dd/mm/yyyy mars");
    EXPECT_EQ(categories(LocaleInfoFromQLocale(RegionalSettings(kGermany, kUnitedStates, kUnitedStates))),
              ", . WAHR | $ before unspaced parentheses 409 | m/d/yyyy March");
}

// An amount is shown as the sheet shows a currency cell, and read back by the same rule.
TEST(RegionalSettings, AmountsTakeTheMoneysFormAroundTheNumbersDigits) {
    const RegionalSettings germanMoney(kUnitedStates, kGermany, kUnitedStates);
    EXPECT_EQ(CurrencyForm(Amount{123457}, germanMoney), QString::fromUtf8("1,234.57\u00a0€"));
    EXPECT_EQ(CurrencyForm(Amount{-300}, germanMoney), QString::fromUtf8("-3.00\u00a0€"));
    EXPECT_EQ(ParseAmount(QString::fromUtf8("1,234.57 €"), germanMoney), Amount{123457});
    EXPECT_EQ(ParseAmount(QStringLiteral("1234.5"), germanMoney), Amount{123450});
    EXPECT_EQ(ParseAmount(QString::fromUtf8("1.234,57 €"), germanMoney), std::nullopt);

    const RegionalSettings germanNumbers(kGermany, kUnitedStates, kUnitedStates);
    EXPECT_EQ(CurrencyForm(Amount{123457}, germanNumbers), QStringLiteral("$1.234,57"));
    EXPECT_EQ(CurrencyForm(Amount{-300}, germanNumbers), QStringLiteral("($3,00)"));
    EXPECT_EQ(ParseAmount(QStringLiteral("$1.234,57"), germanNumbers), Amount{123457});
    EXPECT_EQ(ParseAmount(QStringLiteral("$1,234.57"), germanNumbers), std::nullopt);

    for (const RegionalSettings& settings :
         {germanMoney, germanNumbers, RegionalSettings(kFrance, kUnitedStates, kGermany),
          RegionalSettings(kUnitedStates, kFrance, kUnitedStates)})
        for (const qint64 cents : {0LL, 1LL, -1LL, 99LL, 123456789LL, -100000LL, 999999999999999LL})
            EXPECT_EQ(ParseAmount(CurrencyForm(Amount{cents}, settings), settings), Amount{cents})
                << CurrencyForm(Amount{cents}, settings).toStdString();
}

// The suite's own C.UTF-8, as a desktop without regional settings: amounts keep the grouping the
// program has always shown there.
TEST(RegionalSettings, TheCSettingsGroupAmountsAsTheDesktopDoes) {
    const RegionalSettings plain = fromEnvironment({{"LANG", "C.UTF-8"}});
    EXPECT_EQ(CurrencyForm(Amount{-123450}, plain), QStringLiteral("-1,234.50"));
    EXPECT_EQ(ParseAmount(QStringLiteral("1,234.50"), plain), Amount{123450});
}
