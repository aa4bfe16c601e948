// The parsed-expression tokens (Ptg) of BIFF8 formulas: their layout and sizes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace xls::formula {

enum Ptg : uint8_t {
    kPtgExp = 0x01,
    kPtgAdd = 0x03,
    kPtgSub = 0x04,
    kPtgMul = 0x05,
    kPtgDiv = 0x06,
    kPtgUplus = 0x12,
    kPtgUminus = 0x13,
    kPtgParen = 0x15,
    kPtgMissArg = 0x16,
    kPtgStr = 0x17,
    kPtgAttr = 0x19,
    kPtgErr = 0x1C,
    kPtgBool = 0x1D,
    kPtgInt = 0x1E,
    kPtgNum = 0x1F,
    kPtgFuncVar = 0x22,
    kPtgRef = 0x24,
    kPtgArea = 0x25,
    kPtgRefErr = 0x2A,
    kPtgAreaErr = 0x2B,
    kPtgRefN = 0x2C,
    kPtgAreaN = 0x2D,
    kPtgArea3d = 0x3B,
};

// Operand classes of the tokens from 0x20 on (bits 5-6): reference, value, array.
inline constexpr uint8_t kClassReference = 0x20;
inline constexpr uint8_t kClassValue = 0x40;
inline constexpr uint8_t withClass(uint8_t ptg, uint8_t operandClass) { return uint8_t((ptg & 0x1F) | operandClass); }

inline constexpr uint8_t kAttrSemiVolatile = 0x01;
inline constexpr uint8_t kAttrSum = 0x10;
inline constexpr uint8_t kAttrSpace = 0x40;

inline constexpr uint16_t kFunctionSum = 4;
inline constexpr uint16_t kFunctionMin = 6;
inline constexpr uint16_t kFunctionMax = 7;

// Column fields of references carry the relative flags above the column number.
inline constexpr uint16_t kColumnRelative = 0x4000;
inline constexpr uint16_t kRowRelative = 0x8000;
inline constexpr uint16_t kColumnMask = 0x00FF;

struct Token {
    uint8_t ptg = 0;                 // as stored, class bits included
    uint8_t base = 0;                // with the class folded to the reference class (0x20..0x3F), or ptg below 0x20
    std::span<const uint8_t> bytes;  // the whole token, ptg byte first
};

// Splits an expression into tokens; nullopt when a token is unknown or cut short.
std::optional<std::vector<Token>> splitTokens(std::span<const uint8_t> rgce);

// The tokens of a shared formula (relative PtgRefN/PtgAreaN) made concrete for one cell.
std::optional<std::vector<uint8_t>> instantiateShared(std::span<const uint8_t> rgce, uint16_t row, uint16_t col);

inline uint16_t readU16(std::span<const uint8_t> bytes, size_t at) { return uint16_t(bytes[at] | bytes[at + 1] << 8); }

}  // namespace xls::formula
