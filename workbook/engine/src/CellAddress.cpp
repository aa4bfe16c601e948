#include "CellAddress.h"

#include "xls/Model.h"
#include "xls/AsciiText.h"

namespace xls::formula {

std::optional<Address> parseAddress(std::string_view text, size_t& consumed) {
    Address address;
    size_t i = 0;
    if (i < text.size() && text[i] == '$') {
        address.colRelative = false;
        ++i;
    }
    uint32_t col = 0;
    const size_t lettersStart = i;
    while (i < text.size() && isAsciiLetter(text[i]) && i - lettersStart < 3) {
        col = col * 26 + uint32_t(asciiUpper(text[i]) - 'A' + 1);
        ++i;
    }
    if (i == lettersStart || col > kMaxColumns) return std::nullopt;
    if (i < text.size() && text[i] == '$') {
        address.rowRelative = false;
        ++i;
    }
    uint32_t row = 0;
    const size_t digitsStart = i;
    while (i < text.size() && isAsciiDigit(text[i]) && row <= uint32_t(kMaxRows) + 1) {
        row = row * 10 + uint32_t(text[i] - '0');
        ++i;
    }
    if (i == digitsStart || row == 0 || row > uint32_t(kMaxRows) + 1) return std::nullopt;
    if (i < text.size() && (isAsciiLetterOrDigit(text[i]) || text[i] == '_')) return std::nullopt;
    address.row = uint16_t(row - 1);
    address.col = uint16_t(col - 1);
    consumed = i;
    return address;
}

std::string addressText(const Address& address) {
    std::string text;
    if (!address.colRelative) text += '$';
    const unsigned col = address.col;
    if (col >= 26) text += char('A' + col / 26 - 1);
    text += char('A' + col % 26);
    if (!address.rowRelative) text += '$';
    text += std::to_string(unsigned(address.row) + 1);
    return text;
}

}  // namespace xls::formula
