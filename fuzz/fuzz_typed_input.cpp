// Random text typed into General, text and number cells under both test locales: no crash, no hang,
// never a value a cell cannot hold (text past the limit, a number that is not finite), and a text
// cell takes everything as text.
#include "TextTestLocales.h"
#include "xls/TypedInput.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Input: 1 byte picking locale and cell format, then the typed text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const xls::LocaleInfo unitedStatesLocale = unitedStates();
    static const xls::LocaleInfo germanLocale = germany();
    static constexpr std::string_view kFormats[] = {"General", "@", "0.00", "m/d/yyyy"};
    const xls::LocaleInfo& locale = data[0] & 1 ? germanLocale : unitedStatesLocale;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view format = kFormats[(data[0] >> 1) & 3];
    const xls::TypedValue typed = xls::interpretTypedInput(text, format, locale, {2024, 3, 15});
    if (const auto* cellText = std::get_if<std::string>(&typed.value);
        cellText && cellText->size() > 4 * xls::kMaxTextLength)
        std::abort();
    if (const auto* number = std::get_if<double>(&typed.value); number && !std::isfinite(*number)) std::abort();
    if (format == "@" && !text.empty() && !std::holds_alternative<std::string>(typed.value)) std::abort();
    return 0;
}
