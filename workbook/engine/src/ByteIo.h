// Little-endian byte building and bounds-checked reading for BIFF8 records.
#pragma once

#include "xls/Error.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace xls::biff {

class ByteWriter {
public:
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void f64(double v) {
        const uint64_t bits = std::bit_cast<uint64_t>(v);
        u32(uint32_t(bits));
        u32(uint32_t(bits >> 32));
    }
    void bytes(std::span<const uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void patchU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = uint8_t(v >> (8 * i));
    }
    size_t size() const { return bytes_.size(); }
    const std::vector<uint8_t>& data() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// Reads a record's data; running past its end means the record is damaged.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    uint8_t u8() { return need(1)[0]; }
    uint16_t u16() {
        auto p = need(2);
        return uint16_t(p[0] | p[1] << 8);
    }
    uint32_t u32() {
        const uint32_t low = u16();
        return low | uint32_t(u16()) << 16;
    }
    double f64() {
        const uint64_t low = u32();
        return std::bit_cast<double>(low | uint64_t(u32()) << 32);
    }
    std::span<const uint8_t> bytes(size_t count) { return need(count); }
    void skip(size_t count) { need(count); }
    size_t remaining() const { return data_.size() - pos_; }
    size_t position() const { return pos_; }

private:
    std::span<const uint8_t> need(size_t count) {
        if (count > remaining()) throw Error("damaged workbook: a record is shorter than its contents");
        auto part = data_.subspan(pos_, count);
        pos_ += count;
        return part;
    }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

}  // namespace xls::biff
