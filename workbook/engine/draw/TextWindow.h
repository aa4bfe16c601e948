// The part of a long text that a cell can show. Every drawn character is at least a pixel wide,
// so a window of as many characters as the visible pixels holds all that can be seen; cutting
// there keeps measuring and drawing bounded by the cell, not by the text's length.
#pragma once

#include <cstddef>
#include <string>

namespace xls {

// Which end of the text stays: the start (left-aligned and wrapped text), the end (right-aligned)
// or the middle (centred).
enum class WindowSide { Start, End, Middle };

// About `maxChars` whole UTF-8 characters of `text`, taken from `side`: a cut never parts a letter
// from the marks drawn with it, so the window may hold a few characters more.
std::string textWindow(const std::string& text, size_t maxChars, WindowSide side);

}  // namespace xls
