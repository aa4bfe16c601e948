// The paper of a page setup's paper-size code.
#pragma once

#include <QPageSize>

#include <cstdint>

namespace xls {

// Codes the file format defines for common papers and envelopes; any other is Letter.
QPageSize paperOf(uint16_t code);

}  // namespace xls
