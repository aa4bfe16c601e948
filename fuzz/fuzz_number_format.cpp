// Random format codes applied to random values under both test locales: no crash, no hang.
#include "xls/NumberFormat.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

xls::LocaleInfo commaDecimalLocale() {
    xls::LocaleInfo locale;
    locale.decimal = ",";
    locale.group = ".";
    locale.dateSeparator = ".";
    return locale;
}

}  // namespace

// Input: 8 bytes of a double, 1 byte picking the value kind, locale and General width, then the code.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) return 0;
    double number = 0;
    std::memcpy(&number, data, sizeof number);
    const uint8_t selector = data[8];
    const std::string_view code(reinterpret_cast<const char*>(data + 9), size - 9);
    static const xls::LocaleInfo unitedStates;
    static const xls::LocaleInfo comma = commaDecimalLocale();
    const xls::LocaleInfo& locale = selector & 1 ? comma : unitedStates;
    const xls::Value value = selector & 2 ? xls::Value(std::string("text")) : xls::Value(number);
    const xls::DisplayText text = xls::formatValue(value, code, locale, 1 + (selector >> 3), selector & 4);
    (void)text.plain();
    return 0;
}
