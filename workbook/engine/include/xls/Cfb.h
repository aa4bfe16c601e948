// Compound file (OLE2 structured storage) reading and writing: the container of a .xls file.
#pragma once

#include <array>
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

// A class id as stored: the GUID's first three fields little-endian, the last eight bytes as written.
using ClassId = std::array<uint8_t, 16>;

// A version-3 compound file (512-byte sectors) holding the streams under a root storage of the class.
std::vector<uint8_t> write(const std::vector<Stream>& streams, const ClassId& rootClass = {});

}  // namespace xls::cfb
