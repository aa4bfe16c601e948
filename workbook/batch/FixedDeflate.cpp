#include "FixedDeflate.h"

#include <array>
#include <bit>
#include <cstddef>

namespace {

struct Code {
    uint32_t bits = 0;  // already reversed: deflate sends Huffman codes from their top bit
    uint8_t length = 0;
};

uint16_t reversed(uint32_t code, int length) {
    uint32_t result = 0;
    for (int i = 0; i < length; ++i) result |= ((code >> i) & 1u) << (length - 1 - i);
    return uint16_t(result);
}

// The fixed literal/length code of each symbol 0..287.
std::array<Code, 288> fixedCodes() {
    std::array<Code, 288> codes{};
    for (uint32_t symbol = 0; symbol < codes.size(); ++symbol) {
        uint32_t code = 0;
        int length = 0;
        if (symbol < 144)
            code = 0x30 + symbol, length = 8;
        else if (symbol < 256)
            code = 0x190 + symbol - 144, length = 9;
        else if (symbol < 280)
            code = symbol - 256, length = 7;
        else
            code = 0xC0 + symbol - 280, length = 8;
        codes[symbol] = {reversed(code, length), uint8_t(length)};
    }
    return codes;
}

struct Range {
    uint16_t symbol;  // length symbols count from 257
    uint16_t base;
    uint8_t extraBits;
};

constexpr std::array<Range, 29> kLengths{{
    {257, 3, 0},   {258, 4, 0},   {259, 5, 0},   {260, 6, 0},   {261, 7, 0},   {262, 8, 0},
    {263, 9, 0},   {264, 10, 0},  {265, 11, 1},  {266, 13, 1},  {267, 15, 1},  {268, 17, 1},
    {269, 19, 2},  {270, 23, 2},  {271, 27, 2},  {272, 31, 2},  {273, 35, 3},  {274, 43, 3},
    {275, 51, 3},  {276, 59, 3},  {277, 67, 4},  {278, 83, 4},  {279, 99, 4},  {280, 115, 4},
    {281, 131, 5}, {282, 163, 5}, {283, 195, 5}, {284, 227, 5}, {285, 258, 0},
}};

// Each match length's code followed by its extra bits, sent together.
std::array<Code, FixedDeflate::kMaxMatch + 1> lengthCodes(const std::array<Code, 288>& codes) {
    std::array<Code, FixedDeflate::kMaxMatch + 1> lengths{};
    for (int length = FixedDeflate::kMinMatch; length <= FixedDeflate::kMaxMatch; ++length) {
        std::size_t i = kLengths.size() - 1;
        while (kLengths[i].base > length) --i;
        const Code& code = codes[kLengths[i].symbol];
        lengths[std::size_t(length)] = {uint32_t(code.bits | (length - kLengths[i].base) << code.length),
                                        uint8_t(code.length + kLengths[i].extraBits)};
    }
    return lengths;
}

// A distance's five-bit code followed by its extra bits. Codes 4 and up come in pairs per power
// of two: the top two bits of (distance - 1) name the code, the bits below are the extra bits.
Code distanceCode(int distance) {
    static const std::array<uint16_t, 30> reversedSymbols = [] {
        std::array<uint16_t, 30> symbols{};
        for (uint32_t symbol = 0; symbol < symbols.size(); ++symbol) symbols[symbol] = reversed(symbol, 5);
        return symbols;
    }();
    const auto offset = uint32_t(distance - 1);
    if (offset < 4) return {reversedSymbols[offset], 5};
    const int extraBits = std::bit_width(offset) - 2;
    const uint32_t second = (offset >> extraBits) & 1u;
    const uint32_t symbol = 2 * uint32_t(extraBits + 1) + second;
    const uint32_t extra = offset - ((2 | second) << extraBits);
    return {reversedSymbols[symbol] | extra << 5, uint8_t(5 + extraBits)};
}

const std::array<Code, 288> kCodes = fixedCodes();
const std::array<Code, FixedDeflate::kMaxMatch + 1> kLengthCodes = lengthCodes(kCodes);
constexpr int kEndOfBlock = 256;

}  // namespace

FixedDeflate::FixedDeflate(std::vector<uint8_t>& out, bool last) : m_out(out), m_last(last) {
    put(last ? 1 : 0, 1);
    put(1, 2);  // fixed codes
}

void FixedDeflate::literal(uint8_t byte) {
    const Code& code = kCodes[byte];
    put(code.bits, code.length);
}

void FixedDeflate::literals(std::span<const uint8_t> bytes) {
    std::size_t i = 0;
    // Three codes of at most nine bits each go out in one put.
    for (; i + 3 <= bytes.size(); i += 3) {
        const Code& first = kCodes[bytes[i]];
        const Code& second = kCodes[bytes[i + 1]];
        const Code& third = kCodes[bytes[i + 2]];
        put(first.bits | second.bits << first.length | third.bits << (first.length + second.length),
            first.length + second.length + third.length);
    }
    for (; i < bytes.size(); ++i) literal(bytes[i]);
}

void FixedDeflate::match(int length, int distance) {
    const Code& lengthCode = kLengthCodes[std::size_t(length)];
    const Code distanceBits = distanceCode(distance);
    // At most 13 + 18 bits: one put.
    put(lengthCode.bits | distanceBits.bits << lengthCode.length, lengthCode.length + distanceBits.length);
}

void FixedDeflate::finish() {
    const Code& code = kCodes[kEndOfBlock];
    put(code.bits, code.length);
    // An empty stored block: not the last, type 0, then its length 0 and that length inverted
    // from the next whole byte on.
    if (!m_last) put(0, 3);
    for (; m_count > 0; m_count -= 8, m_bits >>= 8) m_out.push_back(uint8_t(m_bits));
    m_count = 0;
    if (!m_last) m_out.insert(m_out.end(), {0x00, 0x00, 0xFF, 0xFF});
}
