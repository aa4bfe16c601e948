#include "xls/TypedInput.h"

#include "TypedInputDate.h"
#include "TypedInputNumber.h"
#include "TypedInputText.h"
#include "xls/AsciiText.h"

#include <ctime>

namespace xls {
namespace {

bool isGeneral(std::string_view code) { return code.empty() || equalIgnoringAsciiCase(code, "General"); }

// The locale's words for true and false, in any case.
std::optional<bool> parseTypedBoolean(std::string_view text, const LocaleInfo& locale) {
    text = typed::trimBlanks(text);
    if (!locale.trueWord.empty() && equalIgnoringAsciiCase(text, locale.trueWord)) return true;
    if (!locale.falseWord.empty() && equalIgnoringAsciiCase(text, locale.falseWord)) return false;
    return std::nullopt;
}

// Leading characters that must never start anything but text (formula injection, control characters).
bool startsAsTextOnly(std::string_view text) {
    const char first = text.front();
    return first == '=' || first == '@' || first == '\t' || first == '\r' || first == '\n' || first == '\0';
}

CivilDate todayFromSystemClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);  // Windows' thread-safe form takes its arguments the other way round
#else
    localtime_r(&now, &local);
#endif
    return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace

TypedValue interpretTypedInput(std::string_view text, std::string_view currentFormat, const LocaleInfo& locale) {
    return interpretTypedInput(text, currentFormat, locale, todayFromSystemClock());
}

TypedValue interpretTypedInput(std::string_view text, std::string_view currentFormat, const LocaleInfo& locale,
                               const CivilDate& today) {
    if (text.empty()) return {};
    std::string cellText = typed::validUtf8(text);
    if (cellText.front() == '\'') return {typed::cutToCellLimit(cellText.substr(1)), std::nullopt};
    cellText = typed::cutToCellLimit(std::move(cellText));
    if (currentFormat == "@" || startsAsTextOnly(cellText)) return {std::move(cellText), std::nullopt};

    if (const auto flag = parseTypedBoolean(cellText, locale)) return {*flag, std::nullopt};
    const bool general = isGeneral(currentFormat);
    if (const auto number = typed::parseTypedNumber(cellText, locale))
        return {number->value, general ? typed::formatForTypedNumber(*number, locale) : std::nullopt};
    if (const auto date = typed::parseTypedDateTime(cellText, locale, today))
        return {date->serial, general ? std::optional<std::string>(date->formatCode) : std::nullopt};
    return {std::move(cellText), std::nullopt};
}

}  // namespace xls
