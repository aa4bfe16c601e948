// libFuzzer target: the workbook reader on arbitrary bytes, then recalculation and a rewrite of what it read.
#include "xls/Error.h"
#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    // The Workbook stream on its own reaches the record parsers without a valid container around it.
    for (bool wholeFile : {true, false}) {
        try {
            xls::Workbook workbook = wholeFile ? xls::readWorkbook(bytes) : xls::readWorkbookStream(bytes);
            xls::recalculate(workbook);
            xls::writeWorkbook(workbook);
        } catch (const xls::Error&) {
        }
    }
    return 0;
}
