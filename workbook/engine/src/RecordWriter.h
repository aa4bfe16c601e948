// Frames record data as a BIFF8 record (id, length, data).
#pragma once

#include "ByteIo.h"
#include "Concat.h"
#include "RecordFlags.h"
#include "RecordIds.h"
#include "xls/Error.h"

#include <cstdint>
#include <span>
#include <string>

namespace xls::biff {

// Data longer than a record holds goes through ContinuedRecordWriter; anything else that long is
// refused rather than written with a length that wraps.
inline void writeRecord(ByteWriter& stream, uint16_t id, std::span<const uint8_t> data) {
    if (data.size() > kMaxRecordData)
        throw Error(
            concat({"a record of ", std::to_string(data.size()), " bytes is longer than the file format's 8,224"}));
    stream.u16(id);
    stream.u16(uint16_t(data.size()));
    stream.bytes(data);
}

inline void writeRecord(ByteWriter& stream, uint16_t id, const ByteWriter& data) {
    writeRecord(stream, id, data.data());
}

inline void writeU16Record(ByteWriter& stream, uint16_t id, uint16_t value) {
    ByteWriter data;
    data.u16(value);
    writeRecord(stream, id, data);
}

}  // namespace xls::biff

namespace xls::biff {

// BOF of a BIFF8 substream (globals or worksheet).
inline void writeBof(ByteWriter& stream, uint16_t substreamType) {
    ByteWriter data;
    data.u16(kBiff8Version);
    data.u16(substreamType);
    data.u16(0x0DBB);  // build
    data.u16(0x07CC);  // year
    data.u32(0);       // file history flags
    data.u32(0x0006);  // lowest version that can read every record
    writeRecord(stream, kBof, data);
}

}  // namespace xls::biff
