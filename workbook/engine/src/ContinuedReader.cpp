#include "ContinuedReader.h"

#include "RecordFlags.h"
#include "xls/Error.h"

#include <algorithm>

namespace xls::biff {
namespace {

[[noreturn]] void truncated() { throw Error("damaged workbook: a string table or string record is cut short"); }

}  // namespace

bool ContinuedReader::advancePart() {
    while (part_ < parts_.size() && pos_ >= parts_[part_].size()) {
        ++part_;
        pos_ = 0;
    }
    return part_ < parts_.size();
}

bool ContinuedReader::atEnd() { return !advancePart(); }

uint8_t ContinuedReader::u8() {
    if (!advancePart()) truncated();
    return parts_[part_][pos_++];
}

uint16_t ContinuedReader::u16() {
    const uint16_t low = u8();
    return uint16_t(low | u8() << 8);
}

uint32_t ContinuedReader::u32() {
    const uint32_t low = u16();
    return low | uint32_t(u16()) << 16;
}

void ContinuedReader::skip(size_t count) {
    while (count > 0) {
        if (!advancePart()) truncated();
        const size_t step = std::min(count, parts_[part_].size() - pos_);
        pos_ += step;
        count -= step;
    }
}

std::u16string ContinuedReader::unicodeString() {
    const uint16_t length = u16();
    uint8_t flags = u8();
    const uint16_t runs = (flags & kStringHasRuns) ? u16() : 0;
    const uint32_t extSize = (flags & kStringHasExtra) ? u32() : 0;

    std::u16string text;
    text.reserve(length);
    while (text.size() < length) {
        if (pos_ >= parts_[part_].size()) {
            if (part_ + 1 >= parts_.size()) truncated();
            ++part_;
            pos_ = 0;
            flags = u8();  // characters resume in the next record with their own width
        }
        const auto& data = parts_[part_];
        if (flags & kStringWide) {
            if (data.size() - pos_ < 2) truncated();
            text.push_back(char16_t(data[pos_] | data[pos_ + 1] << 8));
            pos_ += 2;
        } else {
            text.push_back(char16_t(data[pos_++]));
        }
    }
    skip(size_t(runs) * 4);
    skip(extSize);
    return text;
}

}  // namespace xls::biff
