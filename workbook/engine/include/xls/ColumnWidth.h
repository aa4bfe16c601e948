// Column widths by the 97–2003 format's rule. A width shown as n characters of the default font's
// widest digit (d pixels) is n * d pixels plus 5 pixels of padding; below one character the
// padding shrinks with the width, so the column is n * (d + 5) pixels. The file stores the whole
// pixel width in 1/256 of a digit.
#pragma once

#include <cstdint>

namespace xls {

constexpr int kColumnPadding = 5;

// Pixels of a column shown as `characters` wide.
int columnPixels(double characters, int maxDigitWidth);
// The stored COLINFO width of a column `pixels` wide.
uint16_t storedColumnWidth(int pixels, int maxDigitWidth);
// Pixel width of a column stored as `width256`.
int columnWidthPixels(uint16_t width256, int maxDigitWidth);

}  // namespace xls
