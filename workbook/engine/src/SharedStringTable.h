// The workbook's shared strings (SST) as the writer builds them.
#pragma once

#include "ByteIo.h"
#include "xls/Model.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace xls::biff {

class SharedStringTable {
public:
    // Index of the text (UTF-8), added when new; every call counts as one use.
    uint32_t add(const std::string& text);
    uint32_t indexOf(const std::string& text) const { return index_.at(text); }
    // SST with CONTINUE records, then EXTSST pointing into it.
    void write(ByteWriter& stream) const;

private:
    std::vector<std::u16string> strings_;
    std::unordered_map<std::string, uint32_t> index_;
    uint32_t uses_ = 0;
};

}  // namespace xls::biff
