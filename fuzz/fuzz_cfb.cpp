// Feeds arbitrary bytes to the compound file reader: it may reject them, but only with xls::Error.
#include "xls/Cfb.h"
#include "xls/Error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    try {
        xls::cfb::read({data, size});
    } catch (const xls::Error&) {
    }
    return 0;
}
