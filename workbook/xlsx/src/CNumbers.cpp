#include "CNumbers.h"

#include "xls/Error.h"

namespace xlsx {

CNumbers::CNumbers() : m_c(::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (m_c == static_cast<locale_t>(nullptr)) throw xls::Error("the C number settings cannot be made");
    m_previous = ::uselocale(m_c);
}

CNumbers::~CNumbers() {
    ::uselocale(m_previous);
    ::freelocale(m_c);
}

}  // namespace xlsx
