#include "TextTestLocales.h"
#include "xls/TypedInput.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace xls;

namespace {

constexpr CivilDate kToday{2024, 3, 15};

TypedValue typed(std::string_view text, const LocaleInfo& locale = unitedStates(),
                 std::string_view format = "General") {
    return interpretTypedInput(text, format, locale, kToday);
}

void expectNumber(const TypedValue& result, double expected, std::optional<std::string> format = std::nullopt) {
    ASSERT_TRUE(std::holds_alternative<double>(result.value)) << "not a number";
    EXPECT_DOUBLE_EQ(std::get<double>(result.value), expected);
    EXPECT_EQ(result.formatCode, format);
}

void expectText(const TypedValue& result, const std::string& expected) {
    ASSERT_TRUE(std::holds_alternative<std::string>(result.value)) << "not text";
    EXPECT_EQ(std::get<std::string>(result.value), expected);
    EXPECT_FALSE(result.formatCode.has_value());
}

}  // namespace

TEST(TypedInputNumbers, UnitedStatesForms) {
    expectNumber(typed("12.50"), 12.5);
    expectNumber(typed("  -3 "), -3);
    expectNumber(typed("3-"), -3);
    expectNumber(typed("+7"), 7);
    expectNumber(typed("(4.25)"), -4.25);
    expectNumber(typed(".5"), 0.5);
    expectNumber(typed("4,500"), 4500, "#,##0");
    expectNumber(typed("1,234,567.5"), 1234567.5, "#,##0.00");
    expectNumber(typed("1E3"), 1000, "0.00E+00");
    expectNumber(typed("1.5e-2"), 0.015, "0.00E+00");
    expectNumber(typed("12%"), 0.12, "0%");
    expectNumber(typed("12.5%"), 0.125, "0.00%");
    expectNumber(typed("$1,234.56"), 1234.56, "\"$\"#,##0.00_);(\"$\"#,##0.00)");
    expectNumber(typed("$7"), 7, "\"$\"#,##0_);(\"$\"#,##0)");
    expectNumber(typed("($12.50)"), -12.5, "\"$\"#,##0.00_);(\"$\"#,##0.00)");
    expectNumber(typed("-$3.00"), -3, "\"$\"#,##0.00_);(\"$\"#,##0.00)");
    for (const char* refused :
         {"45,00", "1,2345", "12.5.3x", "12a", "abc", "--3", "(3", "-(3)", "$5%", "1E", "1E400", "4,500,00", ",5"})
        expectText(typed(refused), refused);
}

TEST(TypedInputNumbers, GermanForms) {
    expectNumber(typed("12,5", germany()), 12.5);
    expectNumber(typed("1.234,56", germany()), 1234.56, "#,##0.00");
    expectNumber(typed("1.234,56 €", germany()), 1234.56, "#,##0.00 \"€\";-#,##0.00 \"€\"");
    expectNumber(typed("-5 €", germany()), -5, "#,##0 \"€\";-#,##0 \"€\"");
    expectNumber(typed("12,5%", germany()), 0.125, "0.00%");
    expectText(typed("1,234.5", germany()), "1,234.5");
    expectText(typed("$5", germany()), "$5");
}

// Grouping as the locale groups: the sizes it is given, any blank for a blank separator, its own minus sign.
TEST(TypedInputNumbers, GroupingAndSignsFollowTheLocale) {
    LocaleInfo india;
    india.secondaryGroupSize = 2;
    expectNumber(typed("12,34,567.5", india), 1234567.5, "#,##0.00");
    expectText(typed("1,234,567", india), "1,234,567");
    for (const char* refused : {"1,23", "12,34", "1234,567"}) expectText(typed(refused), refused);
    for (const char* refused : {"1.23", "1234.57"}) expectText(typed(refused, germany()), refused);

    LocaleInfo france = germany();
    france.group = "\xE2\x80\xAF";
    france.minusSign = "\xE2\x88\x92";
    for (const char* grouped : {"1 234,5",
                                "1\xC2\xA0"
                                "234,5",
                                "1\xE2\x80\xAF"
                                "234,5"})
        expectNumber(typed(grouped, france), 1234.5, "#,##0.00");
    expectNumber(typed("\xE2\x88\x92"
                       "3",
                       france),
                 -3);
    expectNumber(typed("-3", france), -3);

    LocaleInfo ungrouped;
    ungrouped.groupSize = 0;
    expectText(typed("1,234", ungrouped), "1,234");
}

TEST(TypedInputNumbers, CellFormatIsKeptUnlessGeneral) {
    expectNumber(typed("12.5%", unitedStates(), "0.00"), 0.125);
    expectNumber(typed("$5", unitedStates(), "_(\"$\"* #,##0.00_)"), 5);
    expectNumber(typed("11/5/2016", unitedStates(), "0.00"), 42679);
    expectText(typed("00123", unitedStates(), "@"), "00123");
    expectText(typed("11/5/2016", unitedStates(), "@"), "11/5/2016");
}

// A spreadsheet keeps 15 significant digits of what is typed; the rest become zeros, not a rounding.
TEST(TypedInputNumbers, FifteenSignificantDigitsAreKept) {
    expectNumber(typed("12345678901234567890"), 12345678901234500000.0);
    expectNumber(typed("123456789012345678"), 123456789012345000.0);
    expectNumber(typed("0.000123456789012345678"), 0.000123456789012345);
    expectNumber(typed("1234567890.123456789"), 1234567890.12345);
    expectNumber(typed("-99999999999999999"), -99999999999999900.0);
    expectNumber(typed("123456789012345678%"), 1234567890123450.0, "0%");
    expectNumber(typed("1,234,567,890,123,456,789"), 1234567890123450000.0, "#,##0");
    expectNumber(typed("1.2345678901234567E+20"), 1.23456789012345e20, "0.00E+00");
    expectNumber(typed("1.234.567.890.123.456,789", germany()), 1234567890123450.0, "#,##0.00");
    expectNumber(typed("999999999999999"), 999999999999999.0);
}

TEST(TypedInputNumbers, WholeNumbersWithFractions) {
    expectNumber(typed("1 1/2"), 1.5, "# ?/?");
    expectNumber(typed("0 3/4"), 0.75, "# ?/?");
    expectNumber(typed("-2 1/4"), -2.25, "# ?/?");
    expectNumber(typed("(2 1/4)"), -2.25, "# ?/?");
    expectNumber(typed("3 5/16"), 3.3125,
                 "# ?"
                 "?/?"
                 "?");
    expectNumber(typed("1 1/2", germany()), 1.5, "# ?/?");
    expectNumber(typed("1 1/2", unitedStates(), "0.00"), 1.5);
    expectNumber(typed("1/2"), dateSerial(2024, 1, 2), "d-mmm");  // without a whole number it is a date
    for (const char* refused :
         {"1 1/0", "1 /2", "1 1/", "1 1/2/3", "1 1/2x", "$1 1/2", "1 1/2%", "1 1/2345", "1,5 1/2"})
        expectText(typed(refused), refused);
}

TEST(TypedInputBooleans, TheLocalesWordsInAnyCase) {
    for (const char* text : {"TRUE", "true", "True", " tRuE "}) EXPECT_EQ(typed(text).value, Value(true)) << text;
    for (const char* text : {"FALSE", "false", "False"}) EXPECT_EQ(typed(text).value, Value(false)) << text;
    EXPECT_EQ(typed("TRUE", unitedStates(), "0.00").value, Value(true));
    EXPECT_FALSE(typed("TRUE").formatCode.has_value());
    EXPECT_EQ(typed("wahr", germany()).value, Value(true));
    EXPECT_EQ(typed("Falsch", germany()).value, Value(false));
    expectText(typed("TRUE", germany()), "TRUE");
    for (const char* text : {"TRUE", "'TRUE", "TRUEX", "=TRUE", "T RUE"}) {
        const TypedValue asText = typed(text, unitedStates(), text == std::string("TRUE") ? "@" : "General");
        ASSERT_TRUE(std::holds_alternative<std::string>(asText.value)) << text;
    }
}

TEST(TypedInputDates, NumericDatesInTheLocalesOrder) {
    expectNumber(typed("11/5/2016"), 42679, "m/d/yyyy");
    expectNumber(typed("1-2-12"), dateSerial(2012, 1, 2), "m/d/yyyy");
    expectNumber(typed("2016-11-05"), 42679, "m/d/yyyy");
    expectNumber(typed("1/6"), dateSerial(2024, 1, 6), "d-mmm");
    expectNumber(typed("11/2016"), dateSerial(2016, 11, 1), "mmm-yy");
    expectNumber(typed("1/1/29"), dateSerial(2029, 1, 1), "m/d/yyyy");
    expectNumber(typed("1/1/30"), dateSerial(1930, 1, 1), "m/d/yyyy");
    expectNumber(typed("5.11.2016", germany()), 42679, "dd.mm.yyyy");
    expectNumber(typed("12.5.", germany()), dateSerial(2024, 5, 12), "d-mmm");
    expectNumber(typed("12.5", germany()), dateSerial(2024, 5, 12), "d-mmm");
    for (const char* refused : {"2/30/2016", "13/1/2016", "1/2-2016", "1//2", "/1/2", "1/2/3/4", "1/1/1899", "1/1/123"})
        expectText(typed(refused), refused);
}

TEST(TypedInputDates, MonthNamesAndTimes) {
    expectNumber(typed("5-Nov-2016"), 42679, "d-mmm-yy");
    expectNumber(typed("Nov 5, 2016"), 42679, "d-mmm-yy");
    expectNumber(typed("november 5 2016"), 42679, "d-mmm-yy");
    expectNumber(typed("5 Nov"), dateSerial(2024, 11, 5), "d-mmm");
    expectNumber(typed("Nov-2016"), dateSerial(2016, 11, 1), "mmm-yy");
    expectNumber(typed("5. März 2016", germany()), dateSerial(2016, 3, 5), "d-mmm-yy");
    expectNumber(typed("13:45"), (13 * 60 + 45) / 1440.0, "h:mm");
    expectNumber(typed("1:45 PM"), (13 * 60 + 45) / 1440.0, "h:mm AM/PM");
    expectNumber(typed("12:00:30 am"), 30 / 86400.0, "h:mm:ss AM/PM");
    expectNumber(typed("11/5/2016 18:00"), 42679.75, "m/d/yyyy h:mm");
    expectNumber(typed("12 PM"), 0.5, "h AM/PM");
    expectNumber(typed("12 am"), 0, "h AM/PM");
    expectNumber(typed("7 pm"), 19 / 24.0, "h AM/PM");
    expectNumber(typed("12:30 PM"), 12.5 / 24, "h:mm AM/PM");
    expectNumber(typed("12:30 AM"), 0.5 / 24, "h:mm AM/PM");
    for (const char* refused :
         {"Nov", "Nov Dec 5", "24:00", "13:45 PM", "1:60", "Smarch 5", "13 PM", "123 PM", "PM", "12 PMX", "12a", "5 p"})
        expectText(typed(refused), refused);
}

TEST(TypedInputDates, SerialsOfThe1900System) {
    EXPECT_EQ(dateSerial(1900, 1, 1), 1);
    EXPECT_EQ(dateSerial(1900, 2, 28), 59);
    EXPECT_EQ(dateSerial(1900, 2, 29), 60);
    EXPECT_EQ(dateSerial(1900, 3, 1), 61);
    EXPECT_EQ(dateSerial(2016, 11, 5), 42679);
    EXPECT_EQ(dateSerial(9999, 12, 31), 2958465);
}

// Without a given today, a date typed without a year falls in the year of the machine's clock. Its
// local year is the universal one of some moment within fourteen hours of now (the widest offset).
TEST(TypedInputDates, AYearlessDateFallsInTheSystemClocksYear) {
    using namespace std::chrono;
    const auto yearAround = [](hours offset) {
        return int(year_month_day(floor<days>(system_clock::now() + offset)).year());
    };
    const int earliest = yearAround(-hours(14));
    const int latest = yearAround(hours(14));
    const TypedValue result = interpretTypedInput("3/14", "General", unitedStates());
    ASSERT_TRUE(std::holds_alternative<double>(result.value)) << "not a number";
    const double serial = std::get<double>(result.value);
    EXPECT_TRUE(serial == dateSerial(earliest, 3, 14) || serial == dateSerial(latest, 3, 14))
        << serial << " is not 14 March of " << earliest << " or " << latest;
    EXPECT_EQ(result.formatCode, "d-mmm");
}

TEST(TypedInputText, EmptyApostropheAndFormulaLookingText) {
    EXPECT_TRUE(std::holds_alternative<std::monostate>(typed("").value));
    expectText(typed("'12.5"), "12.5");
    expectText(typed("'"), "");
    for (const char* formula :
         {"=1+2", "=HYPERLINK(\"http://x\")", "+A1", "-A1*2", "@SUM(A1)", "\t12", "\r12", "-", "+"})
        expectText(typed(formula), formula);
    expectText(typed(std::string_view("\0=1", 3)), std::string("\0=1", 3));
}

TEST(TypedInputText, LongTextIsCutWithoutSplittingCharacters) {
    const std::string ascii(40000, 'a');
    EXPECT_EQ(std::get<std::string>(typed(ascii).value).size(), kMaxTextLength);

    // 32,766 units then a character outside the BMP (two units): it does not fit and is dropped whole.
    const std::string emoji = "\xF0\x9F\x98\x80";
    const std::string pair = std::string(kMaxTextLength - 1, 'a') + emoji;
    EXPECT_EQ(std::get<std::string>(typed(pair).value), std::string(kMaxTextLength - 1, 'a'));

    std::string euros;
    for (size_t i = 0; i < kMaxTextLength + 10; ++i) euros += "€";
    const std::string cut = std::get<std::string>(typed(euros).value);
    EXPECT_EQ(cut.size(), kMaxTextLength * 3);

    expectText(typed("Grüße " + emoji), "Grüße " + emoji);
    expectText(typed("a\xFF"
                     "b\xED\xA0\x80"),
               "a\xEF\xBF\xBD"
               "b\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}
