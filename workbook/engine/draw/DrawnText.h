// A cell's UTF-8 text as it is measured and drawn.
#pragma once

#include <QString>

#include <string_view>

namespace xls {

// The text composed (Unicode's NFC, the same text by canonical equivalence): a letter and a mark
// typed apart ("e" and U+0301) become the letter that carries it, which the cell's font holds even
// where it has no mark of its own to place, so the accent sits on its letter instead of beside it.
QString drawnText(std::string_view utf8);

}  // namespace xls
