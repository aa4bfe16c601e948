#include "NumberFormatDate.h"

#include "Concat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace xls::numfmt {
namespace {

constexpr double kLastSerial = 2958466;  // 10000-01-01 in the 1900 system
constexpr int64_t kSecondsPerDay = 86400;

struct CivilDate {
    int year = 1900, month = 1, day = 1;
};

// Proleptic Gregorian date of a count of days since 1970-01-01.
CivilDate civilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return CivilDate{int(yearOfEra + era * 400 + (month <= 2)), month, day};
}

// The 1900 system counts a 29 February 1900 that never was (serial 60) and shows serial 0 as 1900-01-00.
CivilDate dateOfSerial(int64_t serial, bool date1904) {
    constexpr int64_t kEpoch1899_12_30 = -25569;
    constexpr int64_t kEpoch1904_01_01 = -24107;
    if (date1904) return civilFromDays(kEpoch1904_01_01 + serial);
    if (serial == 0) return CivilDate{1900, 1, 0};
    if (serial == 60) return CivilDate{1900, 2, 29};
    return civilFromDays(kEpoch1899_12_30 + serial + (serial < 60 ? 1 : 0));
}

int weekdayOfSerial(int64_t serial, bool date1904) {  // 0 = Sunday
    return int((serial + (date1904 ? 1462 : 0) + 6) % 7);
}

std::string twoDigits(int64_t value) {
    return value < 10 ? concat({"0", std::to_string(value)}) : std::to_string(value);
}

std::string padded(int64_t value, int width) {
    std::string text = std::to_string(value);
    if (int(text.size()) < width) text.insert(0, size_t(width - int(text.size())), '0');
    return text;
}

std::string firstCharacter(const std::string& text) {
    if (text.empty()) return text;
    const auto lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return text.substr(0, length);
}

int fractionalSecondDigits(const Section& section) {
    int digits = 0;
    for (const Token& token : section.tokens)
        if (token.kind == TokenKind::DateTime && token.part == DatePart::FractionalSeconds)
            digits = std::max(digits, token.width);
    return digits;
}

// A serial broken down at the precision the section shows (rounding may carry into the next day).
struct Moment {
    int64_t day = 0;
    int64_t ticksPerSecond = 1;
    int64_t ticksOfDay = 0;  // since midnight
    int64_t totalTicks = 0;  // since serial 0, for elapsed times
};

Moment momentOf(double serial, int fractionDigits) {
    Moment moment;
    for (int i = 0; i < fractionDigits; ++i) moment.ticksPerSecond *= 10;
    const int64_t ticksPerDay = kSecondsPerDay * moment.ticksPerSecond;
    moment.totalTicks = std::llround(serial * double(ticksPerDay));
    moment.day = moment.totalTicks / ticksPerDay;
    moment.ticksOfDay = moment.totalTicks % ticksPerDay;
    return moment;
}

std::string meridiem(const Token& token, bool afternoon, const LocaleInfo& locale) {
    if (token.part == DatePart::AmPm) return afternoon ? locale.pm : locale.am;
    // A/P keeps the case the code wrote each letter in.
    return std::string(1, afternoon ? token.text[2] : token.text[0]);
}

}  // namespace

void writeDateSection(const Section& section, double serial, bool date1904, const LocaleInfo& locale,
                      PieceWriter& out) {
    if (!(serial >= 0) || serial >= kLastSerial - (date1904 ? 1462 : 0)) {
        out.fill("#");
        return;
    }
    const int fractionDigits = fractionalSecondDigits(section);
    const Moment moment = momentOf(serial, fractionDigits);
    const CivilDate date = dateOfSerial(moment.day, date1904);
    const int64_t totalSeconds = moment.totalTicks / moment.ticksPerSecond;
    const int64_t secondOfDay = moment.ticksOfDay / moment.ticksPerSecond;
    const int64_t hour = secondOfDay / 3600;
    const int64_t minute = secondOfDay / 60 % 60;
    const int64_t second = secondOfDay % 60;
    const int64_t shownHour = section.twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
    const int weekday = weekdayOfSerial(moment.day, date1904);

    for (const Token& token : section.tokens) {
        switch (token.kind) {
        case TokenKind::Literal: out.text(token.text); continue;
        case TokenKind::Pad: out.pad(token.text); continue;
        case TokenKind::Fill: out.fill(token.text); continue;
        case TokenKind::DateTime: break;
        default: continue;
        }
        switch (token.part) {
        case DatePart::Year2: out.text(twoDigits(date.year % 100)); break;
        case DatePart::Year4: out.text(std::to_string(date.year)); break;
        case DatePart::Month: out.text(std::to_string(date.month)); break;
        case DatePart::Month2: out.text(twoDigits(date.month)); break;
        case DatePart::MonthAbbr: out.text(locale.monthAbbreviations[size_t(date.month - 1)]); break;
        case DatePart::MonthName: out.text(locale.monthNames[size_t(date.month - 1)]); break;
        case DatePart::MonthLetter: out.text(firstCharacter(locale.monthNames[size_t(date.month - 1)])); break;
        case DatePart::Day: out.text(std::to_string(date.day)); break;
        case DatePart::Day2: out.text(twoDigits(date.day)); break;
        case DatePart::DayAbbr: out.text(locale.dayAbbreviations[size_t(weekday)]); break;
        case DatePart::DayName: out.text(locale.dayNames[size_t(weekday)]); break;
        case DatePart::Hour: out.text(std::to_string(shownHour)); break;
        case DatePart::Hour2: out.text(twoDigits(shownHour)); break;
        case DatePart::Minute: out.text(std::to_string(minute)); break;
        case DatePart::Minute2: out.text(twoDigits(minute)); break;
        case DatePart::Second: out.text(std::to_string(second)); break;
        case DatePart::Second2: out.text(twoDigits(second)); break;
        case DatePart::ElapsedHours: out.text(padded(totalSeconds / 3600, token.width)); break;
        case DatePart::ElapsedMinutes: out.text(padded(totalSeconds / 60, token.width)); break;
        case DatePart::ElapsedSeconds: out.text(padded(totalSeconds, token.width)); break;
        case DatePart::FractionalSeconds: {
            const std::string ticks = padded(moment.ticksOfDay % moment.ticksPerSecond, fractionDigits);
            out.text(locale.decimal + ticks.substr(0, size_t(token.width)));
            break;
        }
        case DatePart::DateSeparator: out.text(locale.dateSeparator); break;
        case DatePart::AmPm:
        case DatePart::AP: out.text(meridiem(token, hour >= 12, locale)); break;
        }
    }
}

}  // namespace xls::numfmt
