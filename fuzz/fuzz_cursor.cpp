// Any bytes handed to the cursor reader must yield a well-formed image or nothing.
#include "app/CursorFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto cursor = ParseCursorFile(std::span<const uint8_t>(data, size));
    if (cursor) {
        const bool consistent = cursor->width > 0 && cursor->width <= 256 && cursor->height > 0 &&
                                cursor->height <= 256 &&
                                cursor->argb.size() == size_t(cursor->width) * size_t(cursor->height) &&
                                cursor->hotspotX < cursor->width && cursor->hotspotY < cursor->height;
        if (!consistent) std::abort();
    }
    return 0;
}
