#include "workbook/model/AmountText.h"

#include <gtest/gtest.h>

namespace {

const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale kGermany(QLocale::German, QLocale::Germany);

TEST(AmountText, AcceptsTheNumericFormsOfTheUnitedStatesSettings) {
    const std::vector<std::pair<QString, double>> accepted{{"12.5", 12.5},     {"1,234.567", 1234.567},
                                                           {"$7", 7},          {"-3", -3},
                                                           {"3-", -3},         {"+4", 4},
                                                           {"  8  ", 8},       {"(5)", -5},
                                                           {"($5.25)", -5.25}, {"-$3.00", -3},
                                                           {"$-3", -3},        {"1E3", 1000},
                                                           {"2.5e-1", 0.25},   {".5", 0.5},
                                                           {"7.", 7},          {"922337203685477.58", kCurrencyLimit}};
    for (const auto& [text, value] : accepted) {
        const std::optional<double> parsed = ParseAmount(text, kUnitedStates);
        ASSERT_TRUE(parsed.has_value()) << text.toStdString();
        EXPECT_DOUBLE_EQ(*parsed, value) << text.toStdString();
    }
}

TEST(AmountText, RefusesTextThatIsNotAnAmount) {
    for (const char* text :
         {"",     "   ",   "abc",    "12.5.3",          "12a", "$",   ".", "1e", "--3", "(-3)", "(3", "1 2", "3,5.1,2",
          "0x1F", "1e400", "-1e400", "922337203685478", "inf", "nan", "€3"}) {
        EXPECT_FALSE(ParseAmount(text, kUnitedStates).has_value()) << text;
    }
}

TEST(AmountText, ReadsCommaDecimalSettings) {
    EXPECT_DOUBLE_EQ(*ParseAmount("12,5", kGermany), 12.5);
    EXPECT_DOUBLE_EQ(*ParseAmount("1.234,567", kGermany), 1234.567);
    EXPECT_DOUBLE_EQ(*ParseAmount("7 €", kGermany), 7);
    EXPECT_DOUBLE_EQ(*ParseAmount("-3", kGermany), -3);
    EXPECT_FALSE(ParseAmount("12,5,3", kGermany).has_value());
    EXPECT_FALSE(ParseAmount("$7", kGermany).has_value());
}

TEST(AmountText, CurrencyFormHasTwoDecimalsInTheLocalesForm) {
    EXPECT_EQ(CurrencyForm(12.5, kUnitedStates), "$12.50");
    EXPECT_EQ(CurrencyForm(1234.567, kUnitedStates), "$1,234.57");
    EXPECT_EQ(CurrencyForm(0, kUnitedStates), "$0.00");
    EXPECT_EQ(CurrencyForm(-0.001, kUnitedStates), "$0.00");
    EXPECT_EQ(CurrencyForm(-3, kUnitedStates), kUnitedStates.toCurrencyString(-3.0, "$", 2));
    EXPECT_EQ(CurrencyForm(12.5, kGermany), QString::fromUtf8("12,50\u00a0€"));
    EXPECT_EQ(CurrencyForm(1234.567, kGermany), QString::fromUtf8("1.234,57\u00a0€"));
}

TEST(AmountText, EveryCurrencyFormIsNumericAndKeepsItsValue) {
    for (const QLocale& locale : {kUnitedStates, kGermany}) {
        for (double value : {0.0, 0.07, 12.5, -3.0, 1234.57, -98765.43, 922337203685477.0}) {
            const QString text = CurrencyForm(value, locale);
            const std::optional<double> parsed = ParseAmount(text, locale);
            ASSERT_TRUE(parsed.has_value()) << text.toStdString();
            EXPECT_EQ(CurrencyForm(*parsed, locale), text);
        }
    }
}

}  // namespace
