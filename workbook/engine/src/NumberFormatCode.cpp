#include "NumberFormatCode.h"

#include "Palette.h"
#include "xls/AsciiText.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace xls::numfmt {
namespace {

constexpr size_t kMaxSections = 4;
constexpr int kMaxFractionalSecondDigits = 3;

struct NamedColour {
    std::string_view name;
    uint32_t rgb;
};
constexpr std::array<NamedColour, 8> kNamedColours{{{"black", 0x000000},
                                                    {"blue", 0x0000FF},
                                                    {"cyan", 0x00FFFF},
                                                    {"green", 0x00FF00},
                                                    {"magenta", 0xFF00FF},
                                                    {"red", 0xFF0000},
                                                    {"white", 0xFFFFFF},
                                                    {"yellow", 0xFFFF00}}};

bool startsWithNoCase(std::string_view text, size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (asciiLower(text[at + i]) != prefix[i]) return false;
    return true;
}

// Length of the UTF-8 sequence starting at `at`, never past the end.
size_t sequenceLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, text.size() - at);
}

Token token(TokenKind kind, std::string text = {}) {
    Token result;
    result.kind = kind;
    result.text = std::move(text);
    return result;
}

Token literal(std::string text) { return token(TokenKind::Literal, std::move(text)); }

Token dateToken(DatePart part, int width = 0) {
    Token result = token(TokenKind::DateTime);
    result.part = part;
    result.width = width;
    return result;
}

bool allOf(std::string_view text, char letter) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [letter](char c) { return c == letter; });
}

std::optional<Condition> parseCondition(std::string_view text) {
    Condition condition;
    size_t opLength = 1;
    if (text.starts_with("<="))
        condition.op = Condition::Op::LessEqual, opLength = 2;
    else if (text.starts_with(">="))
        condition.op = Condition::Op::GreaterEqual, opLength = 2;
    else if (text.starts_with("<>"))
        condition.op = Condition::Op::NotEqual, opLength = 2;
    else if (text.starts_with("<"))
        condition.op = Condition::Op::Less;
    else if (text.starts_with(">"))
        condition.op = Condition::Op::Greater;
    else
        condition.op = Condition::Op::Equal;
    text.remove_prefix(opLength);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), condition.operand);
    if (error != std::errc() || end == text.data()) return std::nullopt;
    return condition;
}

// Bracketed codes: colours, conditions, elapsed time, currency and locale tags.
void applyBracket(std::string_view content, Section& section) {
    const std::string name = asciiLowered(content);
    if (allOf(name, 'h')) return section.tokens.push_back(dateToken(DatePart::ElapsedHours, int(name.size())));
    if (allOf(name, 'm')) return section.tokens.push_back(dateToken(DatePart::ElapsedMinutes, int(name.size())));
    if (allOf(name, 's')) return section.tokens.push_back(dateToken(DatePart::ElapsedSeconds, int(name.size())));
    if (!name.empty() && (name[0] == '<' || name[0] == '>' || name[0] == '=')) {
        section.condition = parseCondition(content);
        return;
    }
    if (!name.empty() && name[0] == '$') {
        const std::string_view symbol = content.substr(
            1, content.find('-') == std::string_view::npos ? std::string_view::npos : content.find('-') - 1);
        if (!symbol.empty()) section.tokens.push_back(literal(std::string(symbol)));
        return;
    }
    for (const NamedColour& colour : kNamedColours)
        if (name == colour.name) {
            section.colour = colour.rgb;
            return;
        }
    if (name.starts_with("color")) {
        int index = 0;
        const auto [end, error] = std::from_chars(name.data() + 5, name.data() + name.size(), index);
        // [Color1]..[Color56] address the default palette.
        const biff::PaletteColours& palette = biff::defaultPalette();
        if (error == std::errc() && end == name.data() + name.size() && index >= 1 && index <= int(palette.size()))
            section.colour = palette[size_t(index - 1)];
    }
}

DatePart partForRun(char letter, size_t run) {
    switch (letter) {
    case 'y': return run <= 2 ? DatePart::Year2 : DatePart::Year4;
    case 'm':
        return run == 1   ? DatePart::Month
               : run == 2 ? DatePart::Month2
               : run == 3 ? DatePart::MonthAbbr
               : run == 5 ? DatePart::MonthLetter
                          : DatePart::MonthName;
    case 'd':
        return run == 1 ? DatePart::Day : run == 2 ? DatePart::Day2 : run == 3 ? DatePart::DayAbbr : DatePart::DayName;
    case 'h': return run == 1 ? DatePart::Hour : DatePart::Hour2;
    default: return run == 1 ? DatePart::Second : DatePart::Second2;
    }
}

bool isDateTime(const Token& token, std::initializer_list<DatePart> parts) {
    return token.kind == TokenKind::DateTime && std::find(parts.begin(), parts.end(), token.part) != parts.end();
}

// m and mm mean minutes right after hours or right before seconds (other tokens between do not count).
void resolveMinutes(std::vector<Token>& tokens) {
    std::vector<size_t> dateParts;
    for (size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind == TokenKind::DateTime) dateParts.push_back(i);
    for (size_t k = 0; k < dateParts.size(); ++k) {
        Token& token = tokens[dateParts[k]];
        if (!isDateTime(token, {DatePart::Month, DatePart::Month2})) continue;
        const bool afterHours =
            k > 0 && isDateTime(tokens[dateParts[k - 1]], {DatePart::Hour, DatePart::Hour2, DatePart::ElapsedHours});
        const bool beforeSeconds =
            k + 1 < dateParts.size() &&
            isDateTime(tokens[dateParts[k + 1]], {DatePart::Second, DatePart::Second2, DatePart::ElapsedSeconds});
        if (afterHours || beforeSeconds)
            token.part = token.part == DatePart::Month ? DatePart::Minute : DatePart::Minute2;
    }
}

// In a date section, number codes are literals except ".0" after seconds (fractions of a second).
void resolveDateSection(std::vector<Token>& tokens) {
    std::vector<Token> resolved;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        if (token.kind == TokenKind::DecimalPoint && i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::Digit &&
            tokens[i + 1].digit == '0') {
            int width = 0;
            while (i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::Digit && tokens[i + 1].digit == '0')
                ++width, ++i;
            resolved.push_back(dateToken(DatePart::FractionalSeconds, std::min(width, kMaxFractionalSecondDigits)));
            continue;
        }
        switch (token.kind) {
        case TokenKind::Digit: resolved.push_back(literal(std::string(1, token.digit))); break;
        case TokenKind::DecimalPoint: resolved.push_back(literal(".")); break;
        case TokenKind::Comma: resolved.push_back(literal(",")); break;
        case TokenKind::Percent: resolved.push_back(literal("%")); break;
        case TokenKind::FractionSlash: resolved.push_back(dateToken(DatePart::DateSeparator)); break;
        case TokenKind::Exponent: resolved.push_back(literal("E" + token.text)); break;
        default: resolved.push_back(std::move(token));
        }
    }
    tokens = std::move(resolved);
}

bool isDigitToken(const Token& token) { return token.kind == TokenKind::Digit; }

bool isFixedDenominator(const Token& token) {
    return token.kind == TokenKind::Literal && !token.text.empty() && token.text[0] >= '1' && token.text[0] <= '9';
}

// Commas become grouping (between digits) or scaling (after the last digit); a slash between
// digits is a fraction bar. Anything else is shown as written.
void resolveNumberSection(Section& section) {
    std::vector<Token>& tokens = section.tokens;
    std::vector<Token> resolved;
    bool digitSeen = false;
    bool slashSeen = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        if (token.kind == TokenKind::Comma) {
            size_t next = i + 1;
            while (next < tokens.size() && tokens[next].kind == TokenKind::Comma) ++next;
            const bool digitFollows = next < tokens.size() && isDigitToken(tokens[next]);
            const bool followsDigit = !resolved.empty() && isDigitToken(resolved.back());
            if (digitSeen && digitFollows)
                section.grouping = true;
            else if (followsDigit)
                section.thousandsScale += 1;
            else
                resolved.push_back(literal(","));
            continue;
        }
        if (token.kind == TokenKind::FractionSlash) {
            const bool digitBefore = !resolved.empty() && isDigitToken(resolved.back());
            const bool denominatorAfter =
                i + 1 < tokens.size() && (isDigitToken(tokens[i + 1]) || isFixedDenominator(tokens[i + 1]));
            if (!digitBefore || !denominatorAfter || slashSeen) {
                resolved.push_back(literal("/"));
                continue;
            }
            slashSeen = true;
        }
        if (isDigitToken(token)) digitSeen = true;
        resolved.push_back(std::move(token));
    }
    tokens = std::move(resolved);
}

void mergeLiterals(std::vector<Token>& tokens) {
    std::vector<Token> merged;
    for (Token& token : tokens) {
        if (token.kind == TokenKind::Literal && !merged.empty() && merged.back().kind == TokenKind::Literal)
            merged.back().text += token.text;
        else
            merged.push_back(std::move(token));
    }
    tokens = std::move(merged);
}

void finishSection(Section& section) {
    std::vector<Token>& tokens = section.tokens;
    resolveMinutes(tokens);
    section.isDate =
        std::any_of(tokens.begin(), tokens.end(), [](const Token& t) { return t.kind == TokenKind::DateTime; });
    if (section.isDate)
        resolveDateSection(tokens);
    else
        resolveNumberSection(section);
    for (const Token& token : tokens) {
        section.hasText |= token.kind == TokenKind::Text;
        section.hasDigits |= token.kind == TokenKind::Digit;
        section.twelveHour |= isDateTime(token, {DatePart::AmPm, DatePart::AP});
        section.percentCount += token.kind == TokenKind::Percent;
    }
    mergeLiterals(tokens);
}

}  // namespace

bool Condition::matches(double value) const {
    switch (op) {
    case Op::Less: return value < operand;
    case Op::LessEqual: return value <= operand;
    case Op::Greater: return value > operand;
    case Op::GreaterEqual: return value >= operand;
    case Op::Equal: return value == operand;
    case Op::NotEqual: return value != operand;
    }
    return false;
}

FormatCode parseFormatCode(std::string_view code) {
    FormatCode result;
    Section section;
    size_t i = 0;
    while (i < code.size()) {
        const char c = code[i];
        const char lowerC = asciiLower(c);
        if (c == ';') {
            finishSection(section);
            result.sections.push_back(std::move(section));
            section = Section{};
            ++i;
            if (result.sections.size() == kMaxSections) return result;
        } else if (c == '"') {
            const size_t close = code.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? code.size() : close;
            section.tokens.push_back(literal(std::string(code.substr(i + 1, end - i - 1))));
            i = end == code.size() ? end : end + 1;
        } else if ((c == '\\' || c == '_' || c == '*') && i + 1 < code.size()) {
            const size_t length = sequenceLength(code, i + 1);
            const TokenKind kind = c == '\\' ? TokenKind::Literal : c == '_' ? TokenKind::Pad : TokenKind::Fill;
            section.tokens.push_back(token(kind, std::string(code.substr(i + 1, length))));
            i += 1 + length;
        } else if (c == '[') {
            const size_t close = code.find(']', i + 1);
            if (close == std::string_view::npos) {
                section.tokens.push_back(literal(std::string(code.substr(i))));
                i = code.size();
            } else {
                applyBracket(code.substr(i + 1, close - i - 1), section);
                i = close + 1;
            }
        } else if (c == '0' || c == '#' || c == '?') {
            Token digit = token(TokenKind::Digit);
            digit.digit = c;
            section.tokens.push_back(std::move(digit));
            ++i;
        } else if (c == '.' || c == ',' || c == '%' || c == '/' || c == '@') {
            const TokenKind kind = c == '.'   ? TokenKind::DecimalPoint
                                   : c == ',' ? TokenKind::Comma
                                   : c == '%' ? TokenKind::Percent
                                   : c == '/' ? TokenKind::FractionSlash
                                              : TokenKind::Text;
            section.tokens.push_back(token(kind));
            ++i;
        } else if (lowerC == 'e' && i + 1 < code.size() && (code[i + 1] == '+' || code[i + 1] == '-')) {
            section.tokens.push_back(token(TokenKind::Exponent, std::string(1, code[i + 1])));
            i += 2;
        } else if (startsWithNoCase(code, i, "general")) {
            section.tokens.push_back(token(TokenKind::General));
            i += 7;
        } else if (startsWithNoCase(code, i, "am/pm")) {
            Token meridiem = dateToken(DatePart::AmPm);
            meridiem.text = std::string(code.substr(i, 5));
            section.tokens.push_back(std::move(meridiem));
            i += 5;
        } else if (startsWithNoCase(code, i, "a/p")) {
            Token meridiem = dateToken(DatePart::AP);
            meridiem.text = std::string(code.substr(i, 3));
            section.tokens.push_back(std::move(meridiem));
            i += 3;
        } else if (lowerC == 'y' || lowerC == 'm' || lowerC == 'd' || lowerC == 'h' || lowerC == 's') {
            size_t run = 1;
            while (i + run < code.size() && asciiLower(code[i + run]) == lowerC) ++run;
            section.tokens.push_back(dateToken(partForRun(lowerC, run)));
            i += run;
        } else {
            const size_t length = sequenceLength(code, i);
            section.tokens.push_back(literal(std::string(code.substr(i, length))));
            i += length;
        }
    }
    finishSection(section);
    result.sections.push_back(std::move(section));
    return result;
}

}  // namespace xls::numfmt
