// Builds the pieces of a displayed value, joining neighbours of the same kind.
#pragma once

#include "xls/NumberFormat.h"

#include <string_view>

namespace xls::numfmt {

class PieceWriter {
public:
    void text(std::string_view text) { append(DisplayPiece::Kind::Text, text); }
    void pad(std::string_view text) { append(DisplayPiece::Kind::Pad, text); }
    void fill(std::string_view text) { append(DisplayPiece::Kind::Fill, text); }
    DisplayText take() { return std::move(display_); }
    DisplayText& display() { return display_; }

private:
    void append(DisplayPiece::Kind kind, std::string_view text);
    DisplayText display_;
};

}  // namespace xls::numfmt
