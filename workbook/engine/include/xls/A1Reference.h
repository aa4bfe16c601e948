// A1-style addresses ("C4", "B2:M3") as 0-based engine ranges.
#pragma once

#include "xls/Model.h"

#include <optional>
#include <string_view>

namespace xls {

// "C4" gives a one-cell range; "B2:M3" a block (corners in any order). nullopt when malformed
// or beyond the sheet's limits.
std::optional<Range> parseA1Range(std::string_view text);

// Like parseA1Range, for addresses written in code: a malformed one is a programming error and throws.
Range a1(std::string_view text);

}  // namespace xls
