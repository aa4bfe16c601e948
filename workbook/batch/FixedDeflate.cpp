#include "workbook/batch/FixedDeflate.h"

#include <array>
#include <cstddef>

namespace {

struct Code {
    uint16_t bits = 0;  // already reversed: deflate sends Huffman codes from their top bit
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
    uint16_t symbol;  // length symbols count from 257, distance symbols from 0
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

constexpr std::array<Range, 30> kDistances{{
    {0, 1, 0},      {1, 2, 0},      {2, 3, 0},      {3, 4, 0},       {4, 5, 1},       {5, 7, 1},
    {6, 9, 2},      {7, 13, 2},     {8, 17, 3},     {9, 25, 3},      {10, 33, 4},     {11, 49, 4},
    {12, 65, 5},    {13, 97, 5},    {14, 129, 6},   {15, 193, 6},    {16, 257, 7},    {17, 385, 7},
    {18, 513, 8},   {19, 769, 8},   {20, 1025, 9},  {21, 1537, 9},   {22, 2049, 10},  {23, 3073, 10},
    {24, 4097, 11}, {25, 6145, 11}, {26, 8193, 12}, {27, 12289, 12}, {28, 16385, 13}, {29, 24577, 13},
}};

// The range holding `value`: the last whose base is not above it.
template <std::size_t N>
const Range& rangeOf(const std::array<Range, N>& ranges, int value) {
    std::size_t i = N - 1;
    while (ranges[i].base > value) --i;
    return ranges[i];
}

// Each match length's range, looked up once rather than searched per match.
std::array<uint8_t, FixedDeflate::kMaxMatch + 1> lengthRanges() {
    std::array<uint8_t, FixedDeflate::kMaxMatch + 1> index{};
    for (int length = FixedDeflate::kMinMatch; length <= FixedDeflate::kMaxMatch; ++length)
        index[std::size_t(length)] = uint8_t(&rangeOf(kLengths, length) - kLengths.data());
    return index;
}

const std::array<Code, 288> kCodes = fixedCodes();
const std::array<uint8_t, FixedDeflate::kMaxMatch + 1> kLengthRange = lengthRanges();
constexpr int kEndOfBlock = 256;

}  // namespace

FixedDeflate::FixedDeflate(std::vector<uint8_t>& out) : m_out(out) {
    put(1, 1);  // the final block
    put(1, 2);  // of fixed codes
}

void FixedDeflate::put(uint32_t bits, int count) {
    m_bits |= uint64_t(bits) << m_count;
    m_count += count;
    if (m_count < 32) return;
    // Four bytes at a time: most codes are shorter than a byte.
    const std::array<uint8_t, 4> word{uint8_t(m_bits), uint8_t(m_bits >> 8), uint8_t(m_bits >> 16),
                                      uint8_t(m_bits >> 24)};
    m_out.insert(m_out.end(), word.begin(), word.end());
    m_bits >>= 32;
    m_count -= 32;
}

void FixedDeflate::literal(uint8_t byte) {
    const Code& code = kCodes[byte];
    put(code.bits, code.length);
}

void FixedDeflate::match(int length, int distance) {
    const Range& lengthRange = kLengths[kLengthRange[std::size_t(length)]];
    const Code& code = kCodes[lengthRange.symbol];
    put(code.bits, code.length);
    put(uint32_t(length - lengthRange.base), lengthRange.extraBits);
    const Range& distanceRange = rangeOf(kDistances, distance);
    put(reversed(distanceRange.symbol, 5), 5);
    put(uint32_t(distance - distanceRange.base), distanceRange.extraBits);
}

void FixedDeflate::finish() {
    const Code& code = kCodes[kEndOfBlock];
    put(code.bits, code.length);
    for (; m_count > 0; m_count -= 8, m_bits >>= 8) m_out.push_back(uint8_t(m_bits));
    m_count = 0;
}
