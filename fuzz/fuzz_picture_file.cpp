// Any bytes read back from the scratch folder's picture file must yield a layout that fits the file,
// or nothing.
#include "workbook/snapshot/PictureFileLayout.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto layout = ReadPictureLayout(std::span<const uint8_t>(data, size), size);
    if (layout) {
        const bool consistent = layout->width > 0 && layout->width <= kMaxPictureSide && layout->height > 0 &&
                                layout->height <= kMaxPictureSide &&
                                layout->pixelBytes == size_t(layout->width) * size_t(layout->height) * 4 &&
                                kPictureHeaderSize + layout->pixelBytes == size;
        if (!consistent) std::abort();
    }
    return 0;
}
