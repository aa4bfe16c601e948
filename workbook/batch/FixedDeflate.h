// Deflate blocks (RFC 1951) of the fixed Huffman codes, for a caller that finds
// its own matches: a sheet picture's repeats are known (the pixel to the left, the row above),
// so searching for them as a general compressor does is wasted time.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class FixedDeflate {
public:
    // Longest match deflate can say in one code, and the farthest back it may reach.
    static constexpr int kMaxMatch = 258;
    static constexpr int kMinMatch = 3;
    static constexpr int kMaxDistance = 32768;

    // Appends a block to `out`, which should have room reserved for speed. A block that is not the
    // stream's last ends on a whole byte, so that the next one can be made apart and appended.
    explicit FixedDeflate(std::vector<uint8_t>& out, bool last = true);

    void literal(uint8_t byte);
    void literals(std::span<const uint8_t> bytes);
    // `length` in [kMinMatch, kMaxMatch], `distance` in [1, kMaxDistance].
    void match(int length, int distance);
    // Ends the block; a block that is not the last is followed by an empty stored block, which
    // brings the stream to a whole byte.
    void finish();

private:
    // Up to 32 bits at a time, first bit lowest.
    void put(uint32_t bits, int count) {
        m_bits |= uint64_t(bits) << m_count;
        m_count += count;
        if (m_count < 32) return;
        // Four bytes at a time: most codes are shorter than a byte.
        for (int shift = 0; shift < 32; shift += 8) m_out.push_back(uint8_t(m_bits >> shift));
        m_bits >>= 32;
        m_count -= 32;
    }

    std::vector<uint8_t>& m_out;
    bool m_last;
    uint64_t m_bits = 0;
    int m_count = 0;
};
