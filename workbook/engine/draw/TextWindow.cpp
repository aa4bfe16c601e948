#include "TextWindow.h"

namespace xls {
namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The byte offset `chars` characters on from `offset`, or the end.
size_t forward(const std::string& text, size_t offset, size_t chars) {
    for (; offset < text.size() && chars > 0; --chars) {
        do {
            ++offset;
        } while (offset < text.size() && isContinuation(static_cast<unsigned char>(text[offset])));
    }
    return offset;
}

// The byte offset `chars` characters back from `offset`, or the start.
size_t backward(const std::string& text, size_t offset, size_t chars) {
    for (; offset > 0 && chars > 0; --chars) {
        do {
            --offset;
        } while (offset > 0 && isContinuation(static_cast<unsigned char>(text[offset])));
    }
    return offset;
}

}  // namespace

std::string textWindow(const std::string& text, size_t maxChars, WindowSide side) {
    // Bytes bound characters from above: a text no longer in bytes is whole.
    if (text.size() <= maxChars) return text;
    switch (side) {
    case WindowSide::Start: return text.substr(0, forward(text, 0, maxChars));
    case WindowSide::End: return text.substr(backward(text, text.size(), maxChars));
    case WindowSide::Middle: {
        size_t middle = text.size() / 2;
        while (middle > 0 && isContinuation(static_cast<unsigned char>(text[middle]))) --middle;
        const size_t first = backward(text, middle, maxChars / 2);
        return text.substr(first, forward(text, first, maxChars) - first);
    }
    }
    return text;
}

}  // namespace xls
