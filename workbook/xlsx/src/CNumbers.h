// libxlsxwriter writes its numbers (widths, heights, margins, values) with the C library's printf,
// which follows the process's numeric locale: under German settings a row height of 12.75 would
// be stored as "12,75", which no reader takes. While one lives, the calling thread formats numbers
// the C way; other threads keep their own locale.
#pragma once

#include <locale.h>

namespace xlsx {

class CNumbers {
public:
    CNumbers();
    ~CNumbers();
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    locale_t m_c;
    locale_t m_previous;
};

}  // namespace xlsx
