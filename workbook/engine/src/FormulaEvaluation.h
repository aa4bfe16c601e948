// Evaluation of formula tokens against one sheet.
#pragma once

#include "xls/Model.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace xls::formula {

// The result, or nullopt when the tokens hold something this engine does not evaluate
// (other functions, other sheets, names, malformed expressions).
std::optional<Value> tryEvaluate(const Sheet& sheet, std::span<const uint8_t> rgce);

// The cell ranges the tokens refer to; nullopt when the tokens cannot be read.
std::optional<std::vector<Range>> referencedRanges(std::span<const uint8_t> rgce);

}  // namespace xls::formula
