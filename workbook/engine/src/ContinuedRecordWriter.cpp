#include "ContinuedRecordWriter.h"

#include "RecordFlags.h"
#include "RecordIds.h"
#include "Utf16.h"

#include <algorithm>

namespace xls::biff {

size_t ContinuedRecordWriter::space() const { return kMaxRecordData - current_.size(); }

void ContinuedRecordWriter::startContinue() {
    stream_.u16(started_ ? uint16_t(kContinue) : id_);
    stream_.u16(uint16_t(current_.size()));
    stream_.bytes(current_);
    started_ = true;
    current_.clear();
}

void ContinuedRecordWriter::appendUnsplit(std::span<const uint8_t> bytes) {
    if (bytes.size() > space()) startContinue();
    current_.insert(current_.end(), bytes.begin(), bytes.end());
}

ContinuedRecordWriter::Position ContinuedRecordWriter::appendString(std::u16string_view text) {
    const bool wide = std::any_of(text.begin(), text.end(), [](char16_t unit) { return unit > 0xFF; });
    const size_t unitSize = wide ? 2 : 1;
    const uint8_t flags = wide ? kStringWide : 0;
    const size_t firstUnits = text.empty() ? 0 : (isHighSurrogate(text[0]) && text.size() > 1 ? 2 : 1);
    if (3 + firstUnits * unitSize > space()) startContinue();

    const Position start{uint32_t(stream_.size() + 4 + current_.size()), uint16_t(4 + current_.size())};
    current_.push_back(uint8_t(text.size()));
    current_.push_back(uint8_t(text.size() >> 8));
    current_.push_back(flags);

    size_t done = 0;
    while (done < text.size()) {
        size_t count = std::min(text.size() - done, space() / unitSize);
        if (done + count < text.size() && count > 0 && isHighSurrogate(text[done + count - 1])) --count;
        if (count == 0) {
            startContinue();
            current_.push_back(flags);
            continue;
        }
        for (size_t i = done; i < done + count; ++i) {
            current_.push_back(uint8_t(text[i]));
            if (wide) current_.push_back(uint8_t(text[i] >> 8));
        }
        done += count;
    }
    return start;
}

void ContinuedRecordWriter::finish() { startContinue(); }

}  // namespace xls::biff
