#include "xls/AmountInput.h"

#include "TypedNumberText.h"

#include <string>

namespace xls {
namespace {

constexpr std::int64_t kCentDigits = 15;

// The digits rounded to the cent, half away from zero, on the digits themselves.
std::optional<std::int64_t> centsOf(const typed::DecimalDigits& digits) {
    std::string all = digits.integer + digits.fraction;
    std::int64_t point = std::int64_t(digits.integer.size()) + digits.exponent;  // digits before the point
    const size_t leading = all.find_first_not_of('0');
    if (leading == std::string::npos) return 0;
    all.erase(0, leading);
    point -= std::int64_t(leading);
    const std::int64_t kept = point + 2;
    if (kept > kCentDigits) return std::nullopt;
    const auto digitAt = [&all](std::int64_t at) {
        return at >= 0 && at < std::int64_t(all.size()) ? all[size_t(at)] - '0' : 0;
    };
    std::int64_t cents = 0;
    for (std::int64_t at = 0; at < kept; ++at) cents = cents * 10 + digitAt(at);
    if (digitAt(kept) >= 5) ++cents;
    if (cents > kLargestAmountCents) return std::nullopt;
    return cents;
}

}  // namespace

std::optional<std::int64_t> parseAmountCents(std::string_view text, const LocaleInfo& locale) {
    const std::optional<typed::Decorated> decorated = typed::stripDecorations(text, locale);
    if (!decorated || decorated->percent) return std::nullopt;
    const std::optional<typed::DecimalDigits> digits = typed::readDecimalDigits(decorated->number, locale);
    if (!digits) return std::nullopt;
    const std::optional<std::int64_t> cents = centsOf(*digits);
    if (!cents) return std::nullopt;
    return decorated->negative ? -*cents : *cents;
}

}  // namespace xls
