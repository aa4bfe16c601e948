#include "TypedInputDate.h"

#include "TypedInputText.h"
#include "xls/AsciiText.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace xls {
namespace {

int64_t daysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

double dateSerial(int year, int month, int day) {
    if (year == 1900 && month == 2 && day == 29) return 60;
    const int64_t days = daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30);
    // Before the fictitious 29 February 1900 the serials run one lower (1900-01-01 is 1).
    return double(days < 61 ? days - 1 : days);
}

namespace typed {
namespace {

constexpr size_t kMaxDateItems = 8;
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 9999;

struct Item {
    enum class Kind { Number, Word, Separator } kind;
    std::string text;
};

bool isSeparator(char c) { return c == '/' || c == '-' || c == '.' || c == ',' || c == ' '; }

// Numbers, words and single separators (a run of blanks counts as one; ", " as a comma).
std::optional<std::vector<Item>> itemsOf(std::string_view text) {
    std::vector<Item> items;
    size_t at = 0;
    while (at < text.size()) {
        if (items.size() > kMaxDateItems) return std::nullopt;
        const char c = text[at];
        size_t end = at + 1;
        Item::Kind kind = Item::Kind::Separator;
        if (isAsciiDigit(c)) {
            kind = Item::Kind::Number;
            while (end < text.size() && isAsciiDigit(text[end])) ++end;
        } else if (isSeparator(c)) {
            while (end < text.size() && text[end] == ' ') ++end;
        } else {
            kind = Item::Kind::Word;
            while (end < text.size() && !isAsciiDigit(text[end]) && !isSeparator(text[end])) ++end;
        }
        std::string piece(text.substr(at, end - at));
        if (kind == Item::Kind::Separator) piece = piece.substr(0, 1);
        items.push_back(Item{kind, std::move(piece)});
        at = end;
    }
    return items;
}

std::optional<int> monthOfName(std::string_view word, const LocaleInfo& locale) {
    for (size_t i = 0; i < 12; ++i)
        if (equalIgnoringAsciiCase(word, locale.monthNames[i]) ||
            equalIgnoringAsciiCase(word, locale.monthAbbreviations[i]))
            return int(i) + 1;
    return std::nullopt;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Two-digit years: 00-29 are 2000-2029, 30-99 are 1930-1999. Three digits or more than four are no year.
std::optional<int> yearOf(const std::string& digits) {
    if (digits.size() == 3 || digits.size() > 4) return std::nullopt;
    const int year = std::stoi(digits);
    if (digits.size() <= 2) return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

std::optional<int> smallNumber(const std::string& digits) {
    if (digits.size() > 2) return std::nullopt;
    return std::stoi(digits);
}

std::optional<double> serialOf(int year, int month, int day) {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    return dateSerial(year, month, day);
}

bool looksLikeYear(const std::string& digits) {
    return digits.size() == 4 || (digits.size() <= 2 && std::stoi(digits) > 31);
}

// A date of numbers only, one separator kind throughout (German dates may end in a point).
std::optional<TypedDate> numericDate(std::vector<std::string> numbers, const std::vector<std::string>& separators,
                                     const LocaleInfo& locale, const CivilDate& today) {
    const std::string& separator = separators.front();
    if (separator != "/" && separator != "-" && separator != ".") return std::nullopt;
    if (std::any_of(separators.begin(), separators.end(), [&](const std::string& s) { return s != separator; }))
        return std::nullopt;
    if (separators.size() >= numbers.size() && separator != ".") return std::nullopt;

    std::optional<int> year, month, day;
    std::string format;
    if (numbers.size() == 3) {
        size_t y = 2, m = 0, d = 1;
        if (numbers[0].size() == 4 || locale.dateOrder == DateOrder::YearMonthDay)
            y = 0, m = 1, d = 2;
        else if (locale.dateOrder == DateOrder::DayMonthYear)
            d = 0, m = 1;
        year = yearOf(numbers[y]), month = smallNumber(numbers[m]), day = smallNumber(numbers[d]);
        format = locale.shortDateCode;
    } else {
        const bool dayFirst = locale.dateOrder == DateOrder::DayMonthYear;
        month = smallNumber(numbers[dayFirst ? 1 : 0]);
        day = smallNumber(numbers[dayFirst ? 0 : 1]);
        year = today.year;
        format = "d-mmm";
        if ((!day || !month || !serialOf(*year, *month, *day)) && looksLikeYear(numbers[1])) {
            month = smallNumber(numbers[0]), year = yearOf(numbers[1]), day = 1;
            format = "mmm-yy";
        }
    }
    if (!year || !month || !day) return std::nullopt;
    const std::optional<double> serial = serialOf(*year, *month, *day);
    if (!serial) return std::nullopt;
    return TypedDate{*serial, format};
}

// A date with a month name: 5-Nov-2016, 5 Nov, Nov 5, 2016, Nov 5, Nov-2016.
std::optional<TypedDate> namedMonthDate(const std::vector<Item>& parts, const LocaleInfo& locale,
                                        const CivilDate& today) {
    std::optional<int> month;
    std::vector<std::string> before, after;
    for (const Item& part : parts) {
        if (part.kind == Item::Kind::Word) {
            if (month) return std::nullopt;
            month = monthOfName(part.text, locale);
            if (!month) return std::nullopt;
        } else {
            (month ? after : before).push_back(part.text);
        }
    }
    if (!month || before.size() > 1 || before.size() + after.size() == 0 || before.size() + after.size() > 2)
        return std::nullopt;

    std::optional<int> day, year = today.year;
    std::string format = "d-mmm";
    if (before.size() == 1) {  // day month [year]
        day = smallNumber(before[0]);
        if (after.size() == 1) year = yearOf(after[0]), format = "d-mmm-yy";
    } else if (after.size() == 2) {  // month day year
        day = smallNumber(after[0]), year = yearOf(after[1]), format = "d-mmm-yy";
    } else if (looksLikeYear(after[0])) {  // month year
        day = 1, year = yearOf(after[0]), format = "mmm-yy";
    } else {  // month day
        day = smallNumber(after[0]);
    }
    if (!day || !year) return std::nullopt;
    const std::optional<double> serial = serialOf(*year, *month, *day);
    if (!serial) return std::nullopt;
    return TypedDate{*serial, format};
}

std::optional<TypedDate> parseDate(std::string_view text, const LocaleInfo& locale, const CivilDate& today) {
    std::optional<std::vector<Item>> items = itemsOf(text);
    if (!items || items->empty()) return std::nullopt;
    // A trailing point closes German dates ("12.5.") and abbreviations ("5. Nov.").
    if (items->back().kind == Item::Kind::Separator && items->back().text == ".") items->pop_back();

    std::vector<Item> parts;
    std::vector<std::string> separators;
    bool words = false;
    for (size_t i = 0; i < items->size(); ++i) {
        const Item& item = (*items)[i];
        const bool separator = item.kind == Item::Kind::Separator;
        const bool previousSeparator = i > 0 && (*items)[i - 1].kind == Item::Kind::Separator;
        if (separator) {
            if (i == 0 || (previousSeparator && !(item.text == " " || (*items)[i - 1].text == " ")))
                return std::nullopt;
            separators.push_back(item.text);
            continue;
        }
        if (i > 0 && !previousSeparator && item.kind == (*items)[i - 1].kind) return std::nullopt;
        words |= item.kind == Item::Kind::Word;
        parts.push_back(item);
    }
    if (words) return namedMonthDate(parts, locale, today);
    if (parts.size() < 2 || parts.size() > 3 || separators.size() + 1 != parts.size()) return std::nullopt;
    std::vector<std::string> numbers;
    for (const Item& part : parts) numbers.push_back(part.text);
    return numericDate(numbers, separators, locale, today);
}

// h:mm or h:mm:ss with an optional AM/PM marker, or an hour with a whole marker ("12 PM"; "12a"
// stays text).
std::optional<TypedDate> parseTime(std::string_view text, const LocaleInfo& locale) {
    std::optional<bool> afternoon;
    bool wholeMarker = false;
    for (const auto& [marker, pm] : {std::pair{std::string_view(locale.am), false},
                                     {std::string_view(locale.pm), true},
                                     {std::string_view("AM"), false},
                                     {std::string_view("PM"), true},
                                     {std::string_view("A"), false},
                                     {std::string_view("P"), true}}) {
        if (!marker.empty() && text.size() > marker.size() &&
            equalIgnoringAsciiCase(text.substr(text.size() - marker.size()), marker)) {
            afternoon = pm;
            wholeMarker = marker.size() > 1;
            text = trimBlanks(text.substr(0, text.size() - marker.size()));
            break;
        }
    }
    std::vector<int> fields;
    while (fields.size() < 3) {
        size_t end = 0;
        while (end < text.size() && isAsciiDigit(text[end])) ++end;
        if (end == 0 || end > 2) return std::nullopt;
        fields.push_back(std::stoi(std::string(text.substr(0, end))));
        text.remove_prefix(end);
        if (text.empty()) break;
        if (!text.starts_with(locale.timeSeparator) && !text.starts_with(":")) return std::nullopt;
        text.remove_prefix(text.starts_with(":") ? 1 : locale.timeSeparator.size());
    }
    if (!text.empty() || fields.size() < (wholeMarker ? 1u : 2u)) return std::nullopt;
    int hour = fields[0];
    const int minute = fields.size() > 1 ? fields[1] : 0;
    const int second = fields.size() == 3 ? fields[2] : 0;
    if (minute > 59 || second > 59) return std::nullopt;
    if (afternoon) {
        if (hour > 12) return std::nullopt;
        hour = hour % 12 + (*afternoon ? 12 : 0);
    } else if (hour > 23) {
        return std::nullopt;
    }
    std::string format = fields.size() == 3 ? "h:mm:ss" : fields.size() == 2 ? "h:mm" : "h";
    if (afternoon) format += " AM/PM";
    return TypedDate{(hour * 3600 + minute * 60 + second) / 86400.0, format};
}

}  // namespace

std::optional<TypedDate> parseTypedDateTime(std::string_view text, const LocaleInfo& locale, const CivilDate& today) {
    text = trimBlanks(text);
    const size_t colon = std::min(text.find(':'), text.find(locale.timeSeparator));
    if (colon == std::string_view::npos) {
        if (auto date = parseDate(text, locale, today)) return date;
        return parseTime(text, locale);
    }
    const size_t space = text.rfind(' ', colon);
    if (space == std::string_view::npos) return parseTime(text, locale);
    const std::optional<TypedDate> date = parseDate(trimBlanks(text.substr(0, space)), locale, today);
    const std::optional<TypedDate> time = parseTime(trimBlanks(text.substr(space + 1)), locale);
    if (!date || !time) return std::nullopt;
    return TypedDate{date->serial + time->serial, date->formatCode + " " + time->formatCode};
}

}  // namespace typed
}  // namespace xls
