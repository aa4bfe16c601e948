// Text joined by appending into one string. GCC 12 at -O3 takes "literal" + temporary (which
// inserts at the front of the temporary) for an overlapping copy and fails the build with
// -Wrestrict; joining this way never prepends.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace xls {

inline std::string concat(std::initializer_list<std::string_view> parts) {
    size_t size = 0;
    for (std::string_view part : parts) size += part.size();
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts) text.append(part);
    return text;
}

}  // namespace xls
