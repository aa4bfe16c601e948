// A number format code taken apart into sections and tokens, ready to apply to values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xls::numfmt {

enum class TokenKind {
    Literal,  // text shown as written
    Pad,      // `_x`: the width of x, left blank
    Fill,     // `*x`: x repeated over the free width
    Digit,    // 0 # ?
    DecimalPoint,
    Percent,
    Exponent,  // E+ E- (text holds the sign as written)
    FractionSlash,
    Text,  // @
    General,
    DateTime,
    Comma,  // only while parsing: becomes grouping, scaling or a literal
};

enum class DatePart {
    Year2,
    Year4,
    Month,
    Month2,
    MonthAbbr,
    MonthName,
    MonthLetter,
    Day,
    Day2,
    DayAbbr,
    DayName,
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
    ElapsedHours,
    ElapsedMinutes,
    ElapsedSeconds,
    FractionalSeconds,
    AmPm,
    AP,
    DateSeparator,  // an unquoted / in a date: the locale's date separator
};

struct Token {
    TokenKind kind = TokenKind::Literal;
    std::string text;  // Literal/Pad/Fill text; Exponent sign; A/P or AM/PM as written
    char digit = '0';  // Digit: '0', '#' or '?'
    DatePart part = DatePart::Day;
    int width = 0;  // FractionalSeconds: number of digits; elapsed parts: digits at least
};

struct Condition {
    enum class Op { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual } op = Op::Equal;
    double operand = 0;
    bool matches(double value) const;
};

struct Section {
    std::vector<Token> tokens;
    std::optional<uint32_t> colour;
    std::optional<Condition> condition;
    bool isDate = false;      // holds date or time parts
    bool hasText = false;     // holds @
    bool hasDigits = false;   // holds 0 # ? placeholders
    bool twelveHour = false;  // holds AM/PM or A/P
    bool grouping = false;    // a comma between integer digit placeholders
    int thousandsScale = 0;   // commas right after the last digit placeholder: divide by 1000 each
    int percentCount = 0;
};

struct FormatCode {
    std::vector<Section> sections;  // at most four: positive; negative; zero; text
};

FormatCode parseFormatCode(std::string_view code);

}  // namespace xls::numfmt
