#include "RecordCursor.h"

#include "RecordIds.h"
#include "xls/Error.h"

namespace xls::biff {
namespace {

uint16_t u16At(std::span<const uint8_t> bytes, size_t at) { return uint16_t(bytes[at] | bytes[at + 1] << 8); }

}  // namespace

RecordCursor::RecordCursor(std::span<const uint8_t> stream, size_t offset) : stream_(stream), pos_(offset) {
    if (offset > stream.size()) throw Error("damaged workbook: a sheet starts beyond the end of the workbook stream");
}

bool RecordCursor::next(Record& record) {
    if (stream_.size() - pos_ < 4) return false;
    const uint16_t length = u16At(stream_, pos_ + 2);
    if (stream_.size() - pos_ - 4 < length) throw Error("damaged workbook: a record runs past the end of the stream");
    record = Record{u16At(stream_, pos_), stream_.subspan(pos_ + 4, length), pos_};
    pos_ += 4 + size_t(length);
    return true;
}

std::vector<std::span<const uint8_t>> RecordCursor::takeContinuations() {
    std::vector<std::span<const uint8_t>> parts;
    for (;;) {
        if (stream_.size() - pos_ < 4 || u16At(stream_, pos_) != kContinue) return parts;
        Record record;
        next(record);
        parts.push_back(record.data);
    }
}

}  // namespace xls::biff
