#include "NumberFormatPieces.h"

namespace xls::numfmt {

void PieceWriter::append(DisplayPiece::Kind kind, std::string_view text) {
    if (text.empty()) return;
    // Fills stay separate: each one repeats on its own.
    if (kind != DisplayPiece::Kind::Fill && !display_.pieces.empty() && display_.pieces.back().kind == kind) {
        display_.pieces.back().text += text;
        return;
    }
    display_.pieces.push_back(DisplayPiece{kind, std::string(text)});
}

}  // namespace xls::numfmt
