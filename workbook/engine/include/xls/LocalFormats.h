// Format codes whose form depends on the settings they are read under: the short date (built-in
// 14), the currency and accounting built-ins (5–8, 41–44), and numeric dates written month first.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xls {

// The code a built-in id shows under the settings, or nothing for ids that read the same everywhere.
// United States settings get the built-in table's own forms.
std::optional<std::string> localBuiltinFormat(uint16_t id, const LocaleInfo& locale);

// The code a cell's number format id shows under the settings.
std::string displayedFormatCode(const Workbook& workbook, uint16_t id, const LocaleInfo& locale);

// A numeric date code whose day and month stand in another order than the settings' short date
// ("m/d/yyyy;;" under day-first settings), restated as that short date with its other sections
// kept; nothing when the code is no such date or already reads the settings' way.
std::optional<std::string> dateCodeInSettingsOrder(std::string_view code, const LocaleInfo& locale);

}  // namespace xls
