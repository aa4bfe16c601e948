// Compound file (OLE2 structured storage) reading and writing: the container of a .xls file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace xls::cfb {

struct Stream {
    std::u16string name;  // e.g. u"Workbook", u"\x0005SummaryInformation"
    std::vector<uint8_t> data;
};

// The streams directly under the root storage, in directory order. Throws xls::Error on damaged input.
std::vector<Stream> read(std::span<const uint8_t> file);

// A version-3 compound file (512-byte sectors) holding the streams under the root storage.
std::vector<uint8_t> write(const std::vector<Stream>& streams);

}  // namespace xls::cfb
