// The built-in currency, accounting and date formats as readers under other settings see them.
#include "TextTestLocales.h"
#include "xls/LocalFormats.h"
#include "xls/NumberFormat.h"

#include <gtest/gtest.h>

namespace {

constexpr uint16_t kCurrencyIds[] = {5, 6, 7, 8, 41, 42, 43, 44};

xls::LocaleInfo france() {
    xls::LocaleInfo locale = germany();
    locale.group = "\u202F";
    locale.dateSeparator = "/";
    locale.shortDateCode = "dd/mm/yyyy";
    locale.languageId = 0x040C;
    return locale;
}

xls::LocaleInfo britain() {
    xls::LocaleInfo locale;
    locale.currencySymbol = "£";
    locale.negativeParentheses = false;
    locale.dateOrder = xls::DateOrder::DayMonthYear;
    locale.shortDateCode = "dd/mm/yyyy";
    locale.languageId = 0x0809;
    return locale;
}

std::string shown(double value, uint16_t id, const xls::LocaleInfo& locale) {
    return xls::formatValue(value, *xls::localBuiltinFormat(id, locale), locale).plain();
}

}  // namespace

TEST(LocalFormats, UnitedStatesSettingsKeepTheBuiltInTable) {
    for (uint16_t id : kCurrencyIds)
        EXPECT_EQ(xls::localBuiltinFormat(id, unitedStates()), xls::Workbook{}.numberFormatCode(id)) << id;
    EXPECT_EQ(xls::localBuiltinFormat(14, unitedStates()), "m/d/yyyy");
    EXPECT_EQ(xls::localBuiltinFormat(4, germany()), std::nullopt);
    EXPECT_EQ(xls::displayedFormatCode(xls::Workbook{}, 4, germany()), "#,##0.00");
}

TEST(LocalFormats, GermanAccountingStatesTheEuroAfterTheNumberAndAMinus) {
    xls::LocaleInfo german = germany();
    german.languageId = 0x0407;
    EXPECT_EQ(xls::localBuiltinFormat(44, german),
              "_-* #,##0.00 [$€-407]_-;-* #,##0.00 [$€-407]_-;_-* \"-\"?? [$€-407]_-;_-@_-");
    EXPECT_EQ(xls::localBuiltinFormat(7, german), "#,##0.00 [$€-407];-#,##0.00 [$€-407]");
    EXPECT_EQ(xls::localBuiltinFormat(6, german), "#,##0 [$€-407];[Red]-#,##0 [$€-407]");
    EXPECT_EQ(shown(1234.57, 44, german), "  1.234,57 € ");  // pads and the fill as one space each
    EXPECT_EQ(shown(-3, 44, german), "- 3,00 € ");
    EXPECT_EQ(shown(0, 44, german), "  -   € ");
    EXPECT_EQ(shown(-3, 8, german), "-3,00 €");
    EXPECT_EQ(xls::formatValue(-3.0, *xls::localBuiltinFormat(8, german), german).colour, 0xFF0000u);
    // Settings without a known language id name the symbol alone.
    german.languageId = 0;
    EXPECT_EQ(xls::localBuiltinFormat(5, german), "#,##0 [$€];-#,##0 [$€]");
}

TEST(LocalFormats, NegativesFollowTheSettingsOwnForm) {
    EXPECT_EQ(shown(-3, 7, france()), "-3,00 €");
    EXPECT_EQ(shown(-1234.5, 7, france()), "-1\u202F234,50 €");
    EXPECT_EQ(shown(-3, 7, britain()), "-£3.00");
    EXPECT_EQ(xls::localBuiltinFormat(44, britain()),
              "_-[$£-809]* #,##0.00_-;-[$£-809]* #,##0.00_-;_-[$£-809]* \"-\"??_-;_-@_-");
    EXPECT_EQ(shown(-3, 43, britain()), "- 3.00 ");
    EXPECT_EQ(shown(-3, 44, unitedStates()), " $ (3.00)");
    // Parentheses where settings other than the United States' use them keep the symbol inside.
    xls::LocaleInfo bracketed = france();
    bracketed.negativeParentheses = true;
    EXPECT_EQ(shown(-3, 7, bracketed), "(3,00 €)");
    EXPECT_EQ(shown(-3, 44, bracketed), "  (3,00 €)");
}

TEST(LocalFormats, MonthFirstDatesAreRestatedUnderDayFirstSettings) {
    EXPECT_EQ(xls::dateCodeInSettingsOrder("m/d/yyyy;;", germany()), "dd.mm.yyyy;;");
    EXPECT_EQ(xls::dateCodeInSettingsOrder("mm/dd/yy", france()), "dd/mm/yyyy");
    EXPECT_EQ(xls::dateCodeInSettingsOrder("m/d/yyyy;;", unitedStates()), std::nullopt);
    EXPECT_EQ(xls::dateCodeInSettingsOrder("d.m.yyyy", unitedStates()), "m/d/yyyy");
    EXPECT_EQ(xls::dateCodeInSettingsOrder("dd.mm.yyyy;;", germany()), std::nullopt);
    // Names, times and other formats read the same under any settings.
    for (const char* code : {"d-mmm-yy", "dddd, m/d", "h:mm", "mm:ss", "#,##0.00", "General", "@", "\"m/d\" 0"})
        EXPECT_EQ(xls::dateCodeInSettingsOrder(code, germany()), std::nullopt) << code;
    EXPECT_EQ(xls::formatValue(42679.0, *xls::dateCodeInSettingsOrder("m/d/yyyy;;", germany()), germany()).plain(),
              "05.11.2016");
}
