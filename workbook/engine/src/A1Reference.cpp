#include "xls/A1Reference.h"

#include "xls/Error.h"
#include "xls/AsciiText.h"

#include <algorithm>
#include <string>

namespace xls {
namespace {

std::optional<CellRef> parseCell(std::string_view text) {
    size_t pos = 0;
    uint32_t column = 0;
    while (pos < text.size() && isAsciiLetter(text[pos])) {
        column = column * 26 + uint32_t(asciiUpper(text[pos]) - 'A' + 1);
        if (column > kMaxColumns) return std::nullopt;
        ++pos;
    }
    const size_t letters = pos;
    uint32_t row = 0;
    while (pos < text.size() && isAsciiDigit(text[pos])) {
        row = row * 10 + uint32_t(text[pos] - '0');
        if (row > uint32_t(kMaxRows) + 1) return std::nullopt;
        ++pos;
    }
    if (letters == 0 || pos == letters || pos != text.size() || row == 0) return std::nullopt;
    return CellRef{uint16_t(row - 1), uint16_t(column - 1)};
}

}  // namespace

std::optional<Range> parseA1Range(std::string_view text) {
    const size_t colon = text.find(':');
    const auto first = parseCell(text.substr(0, colon));
    const auto last = colon == std::string_view::npos ? first : parseCell(text.substr(colon + 1));
    if (!first || !last) return std::nullopt;
    return Range{std::min(first->row, last->row), std::min(first->col, last->col), std::max(first->row, last->row),
                 std::max(first->col, last->col)};
}

Range a1(std::string_view text) {
    if (auto range = parseA1Range(text)) return *range;
    throw Error("Malformed cell address: " + std::string(text));
}

}  // namespace xls
