// Reads one worksheet substream into the model.
#pragma once

#include "xls/Model.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace xls::biff {

// What the globals substream tells a sheet: the shared strings and which model format each file XF is.
struct SheetContext {
    const std::vector<std::string>& strings;
    const std::vector<uint16_t>& formatOfXf;
};

Sheet readSheet(std::span<const uint8_t> stream, size_t offset, const SheetContext& context);

}  // namespace xls::biff
