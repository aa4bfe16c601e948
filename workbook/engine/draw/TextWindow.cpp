#include "TextWindow.h"

#include <QChar>

namespace xls {
namespace {

constexpr char32_t kZeroWidthJoiner = 0x200D;
constexpr char32_t kFirstSkinTone = 0x1F3FB;
constexpr char32_t kLastSkinTone = 0x1F3FF;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The character whose first byte is at offset (well-formed UTF-8).
char32_t characterAt(const std::string& text, size_t offset) {
    const auto byte = [&](size_t i) { return char32_t(static_cast<unsigned char>(text[i])); };
    const char32_t lead = byte(offset);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length && offset + size_t(i) < text.size(); ++i) c = c << 6 | (byte(offset + size_t(i)) & 0x3F);
    return c;
}

// A character drawn with the one before it (a mark, a joiner, a skin tone): no cut falls before it,
// so a letter is never drawn without its accent.
bool joinsThePrevious(const std::string& text, size_t offset) {
    if (offset == 0 || offset >= text.size()) return false;
    const char32_t c = characterAt(text, offset);
    if (c == kZeroWidthJoiner || (c >= kFirstSkinTone && c <= kLastSkinTone)) return true;
    size_t previous = offset - 1;
    while (previous > 0 && isContinuation(static_cast<unsigned char>(text[previous]))) --previous;
    if (characterAt(text, previous) == kZeroWidthJoiner) return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

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

// The cut at offset moved forward, or back, to the next whole cluster of characters.
size_t clusterAfter(const std::string& text, size_t offset) {
    while (joinsThePrevious(text, offset)) offset = forward(text, offset, 1);
    return offset;
}

size_t clusterBefore(const std::string& text, size_t offset) {
    while (joinsThePrevious(text, offset)) offset = backward(text, offset, 1);
    return offset;
}

}  // namespace

std::string textWindow(const std::string& text, size_t maxChars, WindowSide side) {
    // Bytes bound characters from above: a text no longer in bytes is whole.
    if (text.size() <= maxChars) return text;
    switch (side) {
    case WindowSide::Start: return text.substr(0, clusterAfter(text, forward(text, 0, maxChars)));
    case WindowSide::End: return text.substr(clusterBefore(text, backward(text, text.size(), maxChars)));
    case WindowSide::Middle: {
        size_t middle = text.size() / 2;
        while (middle > 0 && isContinuation(static_cast<unsigned char>(text[middle]))) --middle;
        const size_t first = clusterBefore(text, backward(text, middle, maxChars / 2));
        return text.substr(first, clusterAfter(text, forward(text, first, maxChars)) - first);
    }
    }
    return text;
}

}  // namespace xls
