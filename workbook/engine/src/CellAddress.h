// A1-style cell addresses: "M27", "$A$1".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xls::formula {

struct Address {
    uint16_t row = 0;
    uint16_t col = 0;
    bool rowRelative = true;
    bool colRelative = true;
};

// Parses an address at the start of text; consumed tells how many characters it took.
std::optional<Address> parseAddress(std::string_view text, size_t& consumed);
std::string addressText(const Address& address);

}  // namespace xls::formula
