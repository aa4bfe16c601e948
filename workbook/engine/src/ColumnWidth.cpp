#include "xls/ColumnWidth.h"

#include <algorithm>
#include <cmath>

namespace xls {

int columnPixels(double characters, int maxDigitWidth) {
    if (maxDigitWidth <= 0 || !(characters > 0)) return 0;
    if (characters < 1) return int(std::lround(characters * (maxDigitWidth + kColumnPadding)));
    return int(std::lround(characters * maxDigitWidth)) + kColumnPadding;
}

uint16_t storedColumnWidth(int pixels, int maxDigitWidth) {
    if (maxDigitWidth <= 0 || pixels <= 0) return 0;
    // 64 bits: in 32 (a Windows long) the 256ths of a digit overflow from 8,388,608 pixels.
    return uint16_t(std::min<int64_t>(0xFFFF, int64_t(pixels) * 256 / maxDigitWidth));
}

int columnWidthPixels(uint16_t width256, int maxDigitWidth) {
    if (maxDigitWidth <= 0) return 0;
    // Readers round the stored width to whole pixels by adding half a pixel's worth of
    // 1/256 digits before truncating.
    return (int(width256) + 128 / maxDigitWidth) * maxDigitWidth / 256;
}

}  // namespace xls
