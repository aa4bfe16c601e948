// Reads data spread over a record and its CONTINUE records, including strings whose characters
// resume after a record boundary with a fresh flags byte.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace xls::biff {

class ContinuedReader {
public:
    explicit ContinuedReader(std::vector<std::span<const uint8_t>> parts) : parts_(std::move(parts)) {}

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    void skip(size_t count);
    bool atEnd();
    // An XLUnicodeString: 16-bit length, flags, optional rich-text and phonetic data.
    std::u16string unicodeString();

private:
    bool advancePart();

    std::vector<std::span<const uint8_t>> parts_;
    size_t part_ = 0;
    size_t pos_ = 0;
};

}  // namespace xls::biff
