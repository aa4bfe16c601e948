// Number format codes applied to values, as a spreadsheet displays them.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// A displayed value laid out for drawing. Pieces are drawn left to right; a piece that pads
// takes the width of its text without drawing it (the `_x` code), a fill piece repeats its text
// to fill the cell's free width (the `*x` code).
struct DisplayPiece {
    enum class Kind { Text, Pad, Fill } kind = Kind::Text;
    std::string text;  // UTF-8
    bool operator==(const DisplayPiece&) const = default;
};

struct DisplayText {
    std::vector<DisplayPiece> pieces;
    std::optional<uint32_t> colour;  // from a [Red]-style section colour
    bool isNumber = false;           // numbers right-align under General and show ### when too wide
    std::string plain() const;       // the pieces' text with pads as spaces and fills once
};

// Formats a value with a format code. maxGeneralChars limits the characters a General number may
// take (as many as fit the cell); 11 is the usual default.
DisplayText formatValue(const Value& value, std::string_view code, const LocaleInfo& locale, int maxGeneralChars = 11,
                        bool date1904 = false);

}  // namespace xls
