// Writes one logical record whose data may exceed the BIFF8 limit, splitting it into CONTINUE
// records the way string-bearing records (SST, STRING) require.
#pragma once

#include "ByteIo.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace xls::biff {

class ContinuedRecordWriter {
public:
    ContinuedRecordWriter(ByteWriter& stream, uint16_t id) : stream_(stream), id_(id) {}

    struct Position {
        uint32_t stream;    // absolute offset in the stream
        uint16_t inRecord;  // offset from the start of the (CONTINUE) record's header
    };

    // Bytes that must not be split between records.
    void appendUnsplit(std::span<const uint8_t> bytes);
    // An XLUnicodeString (16-bit length). Its header and first character stay together; when its
    // characters continue in a new record, that record starts with a fresh flags byte; a surrogate
    // pair is never split. Returns where the string starts.
    Position appendString(std::u16string_view text);
    void finish();

private:
    size_t space() const;
    void startContinue();

    ByteWriter& stream_;
    uint16_t id_;
    bool started_ = false;
    std::vector<uint8_t> current_;
};

}  // namespace xls::biff
