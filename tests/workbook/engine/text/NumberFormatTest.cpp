#include "TextTestLocales.h"
#include "xls/NumberFormat.h"

#include <gtest/gtest.h>

using namespace xls;

namespace {

constexpr const char* kAccounting =
    "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"?"
    "?_);_(@_)";

std::string shown(const Value& value, std::string_view code, const LocaleInfo& locale = unitedStates()) {
    return formatValue(value, code, locale).plain();
}

using Kind = DisplayPiece::Kind;

}  // namespace

TEST(NumberFormatAccounting, PutsTheSymbolLeftAndTheNumberRightWithAFillBetween) {
    const DisplayText text = formatValue(1234.5, kAccounting, unitedStates());
    EXPECT_EQ(text.plain(), " $ 1,234.50 ");
    ASSERT_EQ(text.pieces.size(), 5u);
    EXPECT_EQ(text.pieces[0], (DisplayPiece{Kind::Pad, "("}));
    EXPECT_EQ(text.pieces[1], (DisplayPiece{Kind::Text, "$"}));
    EXPECT_EQ(text.pieces[2], (DisplayPiece{Kind::Fill, " "}));
    EXPECT_EQ(text.pieces[3], (DisplayPiece{Kind::Text, "1,234.50"}));
    EXPECT_EQ(text.pieces[4], (DisplayPiece{Kind::Pad, ")"}));
    EXPECT_TRUE(text.isNumber);
}

TEST(NumberFormatAccounting, ShowsZeroAsADashNegativesInParenthesesAndTextPadded) {
    const DisplayText zero = formatValue(0.0, kAccounting, unitedStates());
    EXPECT_EQ(zero.plain(), " $ -   ");
    EXPECT_EQ(zero.pieces.back(), (DisplayPiece{Kind::Pad, "00)"}));
    EXPECT_EQ(shown(-3.0, kAccounting), " $ (3.00)");
    EXPECT_EQ(shown(std::string("abc"), kAccounting), " abc ");
    EXPECT_EQ(shown(1234.5, kAccounting, germany()), " $ 1.234,50 ");
}

TEST(NumberFormatGeneral, FitsElevenCharacters) {
    EXPECT_EQ(shown(1234567890123.0, "General"), "1.23457E+12");
    EXPECT_EQ(shown(0.1 + 0.2, "General"), "0.3");
    EXPECT_EQ(shown(12345678901.0, "General"), "12345678901");
    EXPECT_EQ(shown(123456.789012, "General"), "123456.789");
    EXPECT_EQ(shown(-2.0 / 3.0, "General"), "-0.666666667");
    EXPECT_EQ(shown(0.00001234, "General"), "1.234E-05");
    EXPECT_EQ(shown(99999999999.9, "General"), "1E+11");
    EXPECT_EQ(shown(1e100, "General"), "1E+100");
    EXPECT_EQ(shown(0.0, ""), "0");
    EXPECT_EQ(shown(1.5, "General", germany()), "1,5");
    EXPECT_EQ(formatValue(2.0 / 3.0, "General", unitedStates(), 5).plain(), "0.667");
}

TEST(NumberFormatDigits, PlaceholdersGroupingScalingAndRounding) {
    EXPECT_EQ(shown(1234567.891, "#,##0.00"), "1,234,567.89");
    EXPECT_EQ(shown(1234567.891, "#,##0.00", germany()), "1.234.567,89");
    EXPECT_EQ(shown(12345678.0, "0.0,,"), "12.3");
    EXPECT_EQ(shown(5.0, "0,000"), "0,005");
    EXPECT_EQ(shown(2.675, "0.00"), "2.68");  // halves round away from zero at 15 digits
    EXPECT_EQ(shown(2.5, "0"), "3");
    EXPECT_EQ(shown(0.125, "0%"), "13%");
    EXPECT_EQ(shown(5.0, "#.##"), "5.");
    EXPECT_EQ(shown(12.5, ".00"), "12.50");
    EXPECT_EQ(shown(1.5, "?.??"), "1.5 ");
    EXPECT_EQ(shown(123456789.0, "000-00-0000"), "123-45-6789");
    EXPECT_EQ(shown(1e20, "0"), "100000000000000000000");
}

TEST(NumberFormatDigits, ExponentAndFractions) {
    EXPECT_EQ(shown(12345.0, "0.00E+00"), "1.23E+04");
    EXPECT_EQ(shown(0.00012345, "0.00E+00"), "1.23E-04");
    EXPECT_EQ(shown(9.999, "0.00E+00"), "1.00E+01");
    EXPECT_EQ(shown(12345.0, "##0.0E+0"), "12.3E+3");
    EXPECT_EQ(shown(5.5, "# ?/?"), "5 1/2");
    EXPECT_EQ(shown(0.5, "# ?/?"), " 1/2");
    EXPECT_EQ(shown(3.14159,
                    "# ?"
                    "?/?"
                    "?"),
              "3 14/99");
    EXPECT_EQ(shown(2.0, "# ?/?"), "2    ");
    EXPECT_EQ(shown(1.3, "# ?/8"), "1 2/8");
}

TEST(NumberFormatSections, ChoosesBySignZeroConditionAndText) {
    EXPECT_EQ(shown(-2.0, "0.00"), "-2.00");
    EXPECT_EQ(shown(-2.0, "0.00;(0.00)"), "(2.00)");
    EXPECT_EQ(shown(0.0, "0;-0;\"zero\""), "zero");
    EXPECT_EQ(shown(std::string("x"), "0;-0;0;\"<\"@\">\""), "<x>");
    EXPECT_EQ(shown(std::string("x"), "0.00"), "x");
    EXPECT_EQ(shown(5.0, "@"), "5");
    EXPECT_EQ(shown(150.0, "[>100]\"big\";[<0]\"neg\";\"small\""), "big");
    EXPECT_EQ(shown(50.0, "[>100]\"big\";[<0]\"neg\";\"small\""), "small");
    EXPECT_EQ(shown(-5.0, "[>100]\"big\";[<0]\"neg\";\"small\""), "neg");
    const DisplayText red = formatValue(-2.0, "0.00;[Red]-0.00", unitedStates());
    EXPECT_EQ(red.plain(), "-2.00");
    EXPECT_EQ(red.colour, 0xFF0000u);
    EXPECT_EQ(formatValue(1.0, "[Color10]0", unitedStates()).colour, 0x008000u);
    EXPECT_EQ(shown(0.0, "m/d/yyyy;;"), "");
    EXPECT_EQ(shown(-1.0, "m/d/yyyy;;"), "");
}

TEST(NumberFormatDates, DatesAndTimes) {
    EXPECT_EQ(shown(42679.0, "m/d/yyyy;;"), "11/5/2016");
    EXPECT_EQ(shown(42679.0, "dd.mm.yyyy"), "05.11.2016");
    EXPECT_EQ(shown(42679.0, "dddd, mmmm d, yyyy"), "Saturday, November 5, 2016");
    EXPECT_EQ(shown(42679.0, "ddd d mmm yy", germany()), "Sa 5 Nov 16");
    EXPECT_EQ(shown(42679.0, "mmmmm"), "N");
    EXPECT_EQ(shown(60.0, "yyyy-mm-dd"), "1900-02-29");
    EXPECT_EQ(shown(61.0, "yyyy-mm-dd"), "1900-03-01");
    EXPECT_EQ(shown(1.0, "yyyy-mm-dd"), "1900-01-01");
    EXPECT_EQ(formatValue(0.0, "yyyy-mm-dd", unitedStates(), 11, true).plain(), "1904-01-01");
    EXPECT_EQ(shown(0.6, "h:mm AM/PM"), "2:24 PM");
    EXPECT_EQ(shown(0.6, "h:mm a/p"), "2:24 p");
    EXPECT_EQ(shown(1.5, "[h]:mm:ss"), "36:00:00");
    EXPECT_EQ(shown(0.000123, "mm:ss.0"), "00:10.6");
    EXPECT_EQ(shown(0.999999999, "h:mm:ss"), "0:00:00");  // rounds into the next day
    EXPECT_EQ(shown(42679.75, "m/d/yyyy h:mm"), "11/5/2016 18:00");
    const DisplayText negative = formatValue(-1.0, "m/d/yyyy", unitedStates());
    ASSERT_EQ(negative.pieces.size(), 1u);
    EXPECT_EQ(negative.pieces[0], (DisplayPiece{Kind::Fill, "#"}));
}

TEST(NumberFormatValues, EmptyBooleansErrorsAndOddCodes) {
    EXPECT_TRUE(formatValue(Value{}, "0.00", unitedStates()).pieces.empty());
    EXPECT_EQ(shown(true, "0.00"), "TRUE");
    EXPECT_EQ(shown(ErrorCode::Div0, "0.00"), "#DIV/0!");
    EXPECT_EQ(shown(ErrorCode::NA, "General"), "#N/A");
    EXPECT_EQ(shown(1.0, "\"unterminated"), "unterminated");
    EXPECT_EQ(shown(1.0, "[Red"), "[Red");
    EXPECT_EQ(shown(1.0, "0;0;0;@;0;0"), "1");
    EXPECT_EQ(shown(3.0, "\\$0 \"€\""), "$3 €");
}
