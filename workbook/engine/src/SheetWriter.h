// Writes one worksheet substream.
#pragma once

#include "ByteIo.h"
#include "FormatRecords.h"
#include "SharedStringTable.h"
#include "xls/Model.h"

namespace xls::biff {

// Strings of the sheet's text cells must already be in strings; the workbook has passed checkWritable.
void writeSheet(ByteWriter& stream, const Workbook& workbook, size_t sheetIndex, const SharedStringTable& strings);

// File XF index of a model cell format (the 15 style XFs come first); unknown formats fall back to the default.
inline uint16_t fileXfIndex(const Workbook& workbook, uint16_t format) {
    return uint16_t(kStyleXfCount + (format < workbook.formats.size() ? format : 0));
}

}  // namespace xls::biff
