// Cell text as a cell can hold it: valid UTF-8, at most 32,767 UTF-16 code units.
#pragma once

#include <string>
#include <string_view>

namespace xls::typed {

// Invalid UTF-8 (stray bytes, overlong forms, encoded surrogates) becomes U+FFFD.
std::string validUtf8(std::string_view text);

// Cuts valid UTF-8 to the cell limit without splitting a character (a surrogate pair counts two units).
std::string cutToCellLimit(std::string text);

// Spaces, no-break spaces and narrow no-break spaces removed from both ends.
std::string_view trimBlanks(std::string_view text);

}  // namespace xls::typed
