#include "workbook/host/LocaleAdapter.h"
#include "xls/NumberFormat.h"
#include "xls/TypedInput.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale kGermany(QLocale::German, QLocale::Germany);

}  // namespace

TEST(LocaleAdapter, UnitedStatesSettings) {
    const xls::LocaleInfo info = LocaleInfoFromQLocale(kUnitedStates);
    EXPECT_EQ(info.decimal, ".");
    EXPECT_EQ(info.group, ",");
    EXPECT_EQ(info.currencySymbol, "$");
    EXPECT_TRUE(info.currencyBefore);
    EXPECT_FALSE(info.currencySpaced);
    EXPECT_EQ(info.dateOrder, xls::DateOrder::MonthDayYear);
    EXPECT_EQ(info.dateSeparator, "/");
    EXPECT_EQ(info.timeSeparator, ":");
    EXPECT_EQ(info.shortDateCode, "m/d/yyyy");
    EXPECT_EQ(info.monthNames[10], "November");
    EXPECT_EQ(info.monthAbbreviations[10], "Nov");
    EXPECT_EQ(info.dayNames[0], "Sunday");
    EXPECT_EQ(info.dayAbbreviations[6], "Sat");
    EXPECT_EQ(info.am, "AM");
    EXPECT_EQ(info.pm, "PM");
}

TEST(LocaleAdapter, GermanSettings) {
    const xls::LocaleInfo info = LocaleInfoFromQLocale(kGermany);
    EXPECT_EQ(info.decimal, ",");
    EXPECT_EQ(info.group, ".");
    EXPECT_EQ(info.currencySymbol, "€");
    EXPECT_FALSE(info.currencyBefore);
    EXPECT_TRUE(info.currencySpaced);
    EXPECT_FALSE(info.negativeParentheses);
    EXPECT_EQ(info.dateOrder, xls::DateOrder::DayMonthYear);
    EXPECT_EQ(info.dateSeparator, ".");
    EXPECT_EQ(info.shortDateCode, "dd.mm.yyyy");
    EXPECT_EQ(info.monthNames[2], "März");
    EXPECT_EQ(info.monthAbbreviations[11].back(), 'z');  // "Dez", without Qt's point
    EXPECT_EQ(info.dayNames[6], "Samstag");
}

// The adapter's settings carry through the engine: what the user types reads back as shown.
TEST(LocaleAdapter, TypedInputAndFormatsFollowTheDefaultLocale) {
    for (const QLocale& locale : {kUnitedStates, kGermany}) {
        QLocale::setDefault(locale);
        const xls::LocaleInfo info = LocaleInfoFromQLocale(QLocale());
        const QString typed = QLocale().toString(1234.5, 'f', 2);
        const xls::TypedValue value = xls::interpretTypedInput(typed.toStdString(), "General", info);
        ASSERT_TRUE(std::holds_alternative<double>(value.value)) << typed.toStdString();
        EXPECT_DOUBLE_EQ(std::get<double>(value.value), 1234.5);
        EXPECT_EQ(xls::formatValue(42679.0, info.shortDateCode, info).plain(),
                  QLocale()
                      .toString(QDate(2016, 11, 5), QLocale().dateFormat(QLocale::ShortFormat).replace("yy", "yyyy"))
                      .toStdString());
        const QString currency = QLocale().toCurrencyString(12.5);
        const xls::TypedValue money = xls::interpretTypedInput(currency.toStdString(), "General", info);
        ASSERT_TRUE(std::holds_alternative<double>(money.value)) << currency.toStdString();
        EXPECT_DOUBLE_EQ(std::get<double>(money.value), 12.5);
        ASSERT_TRUE(money.formatCode.has_value());
        EXPECT_NE(xls::formatValue(12.5, *money.formatCode, info).plain().find(info.currencySymbol), std::string::npos);
    }
    QLocale::setDefault(kUnitedStates);
}
