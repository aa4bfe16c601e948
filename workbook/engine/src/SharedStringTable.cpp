#include "SharedStringTable.h"

#include "ContinuedRecordWriter.h"
#include "RecordIds.h"
#include "RecordWriter.h"
#include "Utf16.h"

#include <algorithm>

namespace xls::biff {
namespace {

constexpr size_t kMaxExtSstBuckets = 128;
constexpr size_t kMinStringsPerBucket = 8;

}  // namespace

uint32_t SharedStringTable::add(const std::string& text) {
    ++uses_;
    auto [it, added] = index_.try_emplace(text, uint32_t(strings_.size()));
    if (added) strings_.push_back(toUtf16(text));
    return it->second;
}

void SharedStringTable::write(ByteWriter& stream) const {
    const size_t perBucket =
        std::max(kMinStringsPerBucket, (strings_.size() + kMaxExtSstBuckets - 1) / kMaxExtSstBuckets);
    std::vector<ContinuedRecordWriter::Position> bucketStarts;

    ContinuedRecordWriter sst(stream, kSst);
    ByteWriter counts;
    counts.u32(uses_);
    counts.u32(uint32_t(strings_.size()));
    sst.appendUnsplit(counts.data());
    for (size_t i = 0; i < strings_.size(); ++i) {
        const auto start = sst.appendString(strings_[i]);
        if (i % perBucket == 0) bucketStarts.push_back(start);
    }
    sst.finish();

    ByteWriter extSst;
    extSst.u16(uint16_t(perBucket));
    for (const auto& start : bucketStarts) {
        extSst.u32(start.stream);
        extSst.u16(start.inRecord);
        extSst.u16(0);
    }
    writeRecord(stream, kExtSst, extSst);
}

}  // namespace xls::biff
