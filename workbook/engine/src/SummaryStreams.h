// Neutral document-property streams: each a property set holding only a code page.
#pragma once

#include <cstdint>
#include <vector>

namespace xls::biff {

std::vector<uint8_t> neutralSummaryInformation();
std::vector<uint8_t> neutralDocumentSummaryInformation();

}  // namespace xls::biff
