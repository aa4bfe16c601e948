#include "workbook/model/AmountText.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

namespace {

const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale kGermany(QLocale::German, QLocale::Germany);
const QLocale kFrance(QLocale::French, QLocale::France);
const QLocale kIndia(QLocale::English, QLocale::India);
const QLocale kSweden(QLocale::Swedish, QLocale::Sweden);

void ExpectAccepted(const QLocale& locale, const std::vector<std::pair<QString, qint64>>& accepted) {
    for (const auto& [text, cents] : accepted)
        EXPECT_EQ(ParseAmount(text, locale), Amount{cents}) << locale.name().toStdString() << " " << text.toStdString();
}

void ExpectRefused(const QLocale& locale, const std::vector<QString>& refused) {
    for (const QString& text : refused)
        EXPECT_FALSE(ParseAmount(text, locale).has_value()) << locale.name().toStdString() << " " << text.toStdString();
}

TEST(AmountText, AcceptsTheNumericFormsOfTheUnitedStatesSettings) {
    ExpectAccepted(kUnitedStates, {{"12.5", 1250},
                                   {"1,234.567", 123457},
                                   {"$7", 700},
                                   {"-3", -300},
                                   {"3-", -300},
                                   {"+4", 400},
                                   {"  8  ", 800},
                                   {"(5)", -500},
                                   {"($5.25)", -525},
                                   {"-$3.00", -300},
                                   {"$-3", -300},
                                   {"1E3", 100000},
                                   {"2.5e-1", 25},
                                   {".5", 50},
                                   {"7.", 700},
                                   {"1,234,567", 123456700},
                                   {"-0.001", 0}});
    ExpectRefused(kUnitedStates, {"",    "   ",     "abc",  "12.5.3", "12a",    "$",   ".",   "1e", "--3", "(-3)", "(3",
                                  "1 2", "3,5.1,2", "0x1F", "1e400",  "-1e400", "inf", "nan", "€3", "5%",  "1 1/2"});
}

TEST(AmountText, GroupingSeparatorsStandOnlyBetweenTheSettingsGroups) {
    ExpectRefused(kUnitedStates, {"1,23", "12,34", "1234,567", "1,2345", ",123", "1,234,56", "1,,234", "1,234.5,6"});
    ExpectAccepted(kGermany,
                   {{"12,5", 1250}, {"1.234,567", 123457}, {"7 €", 700}, {"-3", -300}, {"1.234.567", 123456700}});
    ExpectRefused(kGermany, {"1.23", "1234.57", "12,5,3", "$7", "1.2345,00", "1,234.56"});
    // French settings group with a narrow no-break space; people type an ordinary or a no-break one.
    ExpectAccepted(kFrance, {{"1 234,5", 123450},
                             {QStringLiteral("1\u00a0234,5\u00a0€"), 123450},
                             {QStringLiteral("1\u202f234\u202f567,89"), 123456789},
                             {"-3 €", -300}});
    ExpectRefused(kFrance, {"12 34,5", "1 2345", "1 234.5"});
    // Indian settings group by three and then by two.
    ExpectAccepted(kIndia, {{"12,34,567.5", 1234567'50}, {"1,234", 123400}});
    ExpectAccepted(kIndia, {{"12,345", 1234500}});
    ExpectRefused(kIndia, {"1,234,567", "123,45,678"});
    // Swedish settings write their negatives with the minus sign U+2212.
    ExpectAccepted(kSweden, {{QStringLiteral("\u22123,00 kr"), -300}, {"-3", -300}});
}

// Each read follows the settings in force at that moment, also when they change between two reads
// of the same text.
TEST(AmountText, EachAmountIsReadUnderTheSettingsOfItsMoment) {
    const QLocale before;
    for (int round = 0; round < 2; ++round) {
        QLocale::setDefault(kGermany);
        EXPECT_EQ(ParseAmount("1.234,57"), Amount{123457});
        EXPECT_EQ(ParseAmount("1,5"), Amount{150});
        QLocale::setDefault(kUnitedStates);
        EXPECT_EQ(ParseAmount("1,234.57"), Amount{123457});
        EXPECT_FALSE(ParseAmount("1,5").has_value());
        EXPECT_EQ(ParseAmount("1.234,57", kGermany), Amount{123457});
        EXPECT_EQ(ParseAmount("1,234.57"), Amount{123457});
    }
    QLocale::setDefault(before);
}

TEST(AmountText, HalfCentsRoundAwayFromZeroInDecimal) {
    ExpectAccepted(kUnitedStates, {{"2.675", 268},
                                   {"0.015", 2},
                                   {"-0.015", -2},
                                   {"1.005", 101},
                                   {"0.0049999", 0},
                                   {"2.6749999", 267},
                                   {"26.75e-1", 268},
                                   {"0.000000000000000000001", 0}});
    EXPECT_EQ(AmountOf(2.675), Amount{268});
    EXPECT_EQ(AmountOf(0.015), Amount{2});
    EXPECT_EQ(AmountOf(-0.255), Amount{-26});
    EXPECT_EQ(AmountOf(112.57), Amount{11257});
}

TEST(AmountText, TheLargestAmountIsWhatACellHoldsToTheCent) {
    constexpr qint64 kLargest = 999'999'999'999'999;
    ExpectAccepted(
        kUnitedStates,
        {{"9,999,999,999,999.99", kLargest}, {"-9999999999999.99", -kLargest}, {"9999999999999.994", kLargest}});
    ExpectRefused(kUnitedStates, {"10,000,000,000,000.00", "9999999999999.995", "99999999999999.99", "1e13",
                                  "922337203685477.58", "1e99999999999999999999"});
    EXPECT_EQ(AmountOf(9999999999999.99), Amount{kLargest});
    EXPECT_FALSE(AmountOf(99999999999999.99).has_value());
    EXPECT_FALSE(AmountOf(1e300).has_value());
    EXPECT_FALSE(AmountOf(std::numeric_limits<double>::infinity()).has_value());
}

TEST(AmountText, CurrencyFormHasTwoDecimalsInTheLocalesForm) {
    EXPECT_EQ(CurrencyForm(Amount{1250}, kUnitedStates), "$12.50");
    EXPECT_EQ(CurrencyForm(Amount{123457}, kUnitedStates), "$1,234.57");
    EXPECT_EQ(CurrencyForm(Amount{}, kUnitedStates), "$0.00");
    EXPECT_EQ(CurrencyForm(Amount{-300}, kUnitedStates), kUnitedStates.toCurrencyString(-3.0, "$", 2));
    EXPECT_EQ(CurrencyForm(Amount{999'999'999'999'999}, kUnitedStates), "$9,999,999,999,999.99");
    EXPECT_EQ(CurrencyForm(Amount{1250}, kGermany), QString::fromUtf8("12,50\u00a0€"));
    EXPECT_EQ(CurrencyForm(Amount{123457}, kGermany), QString::fromUtf8("1.234,57\u00a0€"));
}

TEST(AmountText, EveryCurrencyFormIsNumericAndKeepsItsAmount) {
    for (const QLocale& locale : {kUnitedStates, kGermany, kFrance, kIndia, kSweden}) {
        for (const qint64 cents : {0LL, 7LL, 1250LL, -300LL, 123457LL, -9876543LL, 1LL, 999'999'999'999'999LL,
                                   -999'999'999'999'999LL, 123'456'789'012'345LL}) {
            const QString text = CurrencyForm(Amount{cents}, locale);
            EXPECT_EQ(ParseAmount(text, locale), Amount{cents})
                << locale.name().toStdString() << " " << text.toStdString();
        }
    }
}

}  // namespace
