// Walks the records of a Workbook stream.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace xls::biff {

struct Record {
    uint16_t id = 0;
    std::span<const uint8_t> data;
    size_t offset = 0;  // of the record header in the stream
};

class RecordCursor {
public:
    RecordCursor(std::span<const uint8_t> stream, size_t offset);

    // The next record; false at the end of the stream. A record running past the end is damage.
    bool next(Record& record);
    // The data of the CONTINUE records that directly follow, consumed.
    std::vector<std::span<const uint8_t>> takeContinuations();

private:
    std::span<const uint8_t> stream_;
    size_t pos_;
};

}  // namespace xls::biff
