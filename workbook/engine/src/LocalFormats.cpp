#include "xls/LocalFormats.h"
#include "xls/AsciiText.h"

#include <array>
#include <charconv>

namespace xls {
namespace {

constexpr uint16_t kShortDate = 14;

bool isUnitedStatesForm(const LocaleInfo& locale) {
    return locale.currencySymbol == "$" && locale.currencyBefore && !locale.currencySpaced &&
           locale.negativeParentheses;
}

// "[$€-407]": the symbol with the language whose currency it is, so that readers know the currency.
std::string currencyTag(const LocaleInfo& locale) {
    std::string tag = "[$" + locale.currencySymbol;
    if (locale.languageId != 0) {
        std::array<char, 4> digits{};
        const char* end = std::to_chars(digits.begin(), digits.end(), locale.languageId, 16).ptr;
        tag += '-';
        for (const char* c = digits.begin(); c != end; ++c) tag += asciiUpper(*c);
    }
    return tag + "]";
}

std::string space(const LocaleInfo& locale) { return locale.currencySpaced ? " " : ""; }

// Built-ins 5–8: the number with the symbol where the settings put it, negatives in their form.
std::string currencyCode(const LocaleInfo& locale, const std::string& number, bool red) {
    const std::string symbol = currencyTag(locale);
    const std::string positive =
        locale.currencyBefore ? symbol + space(locale) + number : number + space(locale) + symbol;
    const std::string colour = red ? "[Red]" : "";
    if (locale.negativeParentheses) return positive + "_);" + colour + "(" + positive + ")";
    return positive + ";" + colour + "-" + positive;
}

// Built-ins 41–44: the symbol held at the cell's edge by a fill, zero as a dash, text padded alike.
std::string accountingCode(const LocaleInfo& locale, const std::string& number, const std::string& zeroDigits,
                           bool withSymbol) {
    const std::string symbol = withSymbol ? currencyTag(locale) : "";
    const bool before = withSymbol && locale.currencyBefore;
    const std::string lead = (before ? symbol + space(locale) : "") + "* ";
    const std::string trail = withSymbol && !before ? space(locale) + symbol : "";
    const bool parentheses = locale.negativeParentheses;
    const std::string open = parentheses ? "_(" : "_-";
    const std::string close = parentheses ? "_)" : "_-";
    const std::string negative =
        parentheses ? open + lead + "\\(" + number + trail + "\\)" : "-" + lead + number + trail + close;
    return open + lead + number + trail + close + ";" + negative + ";" + open + lead + "\"-\"" + zeroDigits + trail +
           close + ";" + open + "@" + close;
}

std::optional<DateOrder> numericDateOrder(std::string_view section) {
    size_t day = std::string_view::npos, month = std::string_view::npos, year = std::string_view::npos;
    // A month or day by name ("mmm", "ddd") reads the same in any order.
    const std::string lower = asciiLowered(section);
    if (lower.find("mmm") != std::string::npos || lower.find("ddd") != std::string::npos) return std::nullopt;
    for (size_t i = 0; i < lower.size(); ++i) {
        const char c = lower[i];
        if (c == 'd' && day == std::string_view::npos)
            day = i;
        else if (c == 'm' && month == std::string_view::npos)
            month = i;
        else if (c == 'y' && year == std::string_view::npos)
            year = i;
        else if (c != 'd' && c != 'm' && c != 'y' &&
                 (isAsciiLetterOrDigit(c) || c == '"' || c == '[' || c == '\\' || c == '@'))
            return std::nullopt;  // names, times, literals: not a plain numeric date
    }
    if (day == std::string_view::npos || month == std::string_view::npos) return std::nullopt;
    if (year != std::string_view::npos && year < day && year < month) return DateOrder::YearMonthDay;
    return day < month ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
}

}  // namespace

std::optional<std::string> localBuiltinFormat(uint16_t id, const LocaleInfo& locale) {
    if (id == kShortDate) return locale.shortDateCode;
    const bool currencyId = (id >= 5 && id <= 8) || (id >= 41 && id <= 44);
    if (!currencyId) return std::nullopt;
    if (isUnitedStatesForm(locale)) return Workbook{}.numberFormatCode(id);
    switch (id) {
    case 5: return currencyCode(locale, "#,##0", false);
    case 6: return currencyCode(locale, "#,##0", true);
    case 7: return currencyCode(locale, "#,##0.00", false);
    case 8: return currencyCode(locale, "#,##0.00", true);
    case 41: return accountingCode(locale, "#,##0", "", false);
    case 42: return accountingCode(locale, "#,##0", "", true);
    case 43: return accountingCode(locale, "#,##0.00", "??", false);
    default: return accountingCode(locale, "#,##0.00", "??", true);
    }
}

std::string displayedFormatCode(const Workbook& workbook, uint16_t id, const LocaleInfo& locale) {
    if (std::optional<std::string> local = localBuiltinFormat(id, locale)) return *local;
    return workbook.numberFormatCode(id);
}

std::optional<std::string> dateCodeInSettingsOrder(std::string_view code, const LocaleInfo& locale) {
    const size_t sectionEnd = code.find(';');
    const std::optional<DateOrder> order = numericDateOrder(code.substr(0, sectionEnd));
    if (!order || *order == locale.dateOrder) return std::nullopt;
    return locale.shortDateCode + std::string(sectionEnd == std::string_view::npos ? "" : code.substr(sectionEnd));
}

}  // namespace xls
