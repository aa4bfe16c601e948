#include "FormulaTokens.h"

namespace xls::formula {
namespace {

constexpr uint8_t kAttrChoose = 0x04;

// Size of the token at the start of rest, or 0 when unknown or cut short.
size_t tokenSize(std::span<const uint8_t> rest) {
    const uint8_t ptg = rest[0];
    size_t size = 0;
    if (ptg >= 0x03 && ptg <= 0x16) {
        size = 1;
    } else if (ptg == kPtgExp) {
        size = 5;
    } else if (ptg == kPtgStr) {
        if (rest.size() < 3) return 0;
        size = 3 + size_t(rest[1]) * ((rest[2] & 0x01) ? 2 : 1);
    } else if (ptg == kPtgAttr) {
        if (rest.size() < 4) return 0;
        size = 4;
        if (rest[1] & kAttrChoose) size += 2 * (size_t(readU16(rest, 2)) + 1);
    } else if (ptg == kPtgErr || ptg == kPtgBool) {
        size = 2;
    } else if (ptg == kPtgInt) {
        size = 3;
    } else if (ptg == kPtgNum) {
        size = 9;
    } else if (ptg >= 0x20 && ptg < 0x80) {
        switch ((ptg & 0x1F) | 0x20) {
        case 0x20: size = 8; break;  // array (its constants follow the expression)
        case 0x21:
        case 0x29: size = 3; break;  // function, mem-func
        case 0x22: size = 4; break;  // function with argument count
        case 0x23:
        case 0x24:
        case 0x2A:
        case 0x2C: size = 5; break;
        case 0x25:
        case 0x2B:
        case 0x2D: size = 9; break;
        case 0x26:
        case 0x27:
        case 0x28:
        case 0x39:
        case 0x3A:
        case 0x3C: size = 7; break;
        case 0x3B:
        case 0x3D: size = 11; break;
        default: return 0;
        }
    } else {
        return 0;
    }
    return size <= rest.size() ? size : 0;
}

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

uint16_t concreteRow(uint16_t stored, uint16_t colField, uint16_t baseRow) {
    return (colField & kRowRelative) ? uint16_t(baseRow + int16_t(stored)) : stored;
}

uint16_t concreteColumn(uint16_t colField, uint16_t baseCol) {
    const uint16_t flags = colField & (kRowRelative | kColumnRelative);
    const uint16_t column = (colField & kColumnRelative) ? uint16_t((baseCol + int8_t(colField & 0xFF)) & kColumnMask)
                                                         : uint16_t(colField & kColumnMask);
    return uint16_t(column | flags);
}

}  // namespace

std::optional<std::vector<Token>> splitTokens(std::span<const uint8_t> rgce) {
    std::vector<Token> tokens;
    size_t pos = 0;
    while (pos < rgce.size()) {
        const auto rest = rgce.subspan(pos);
        const size_t size = tokenSize(rest);
        if (size == 0) return std::nullopt;
        const uint8_t ptg = rest[0];
        tokens.push_back(Token{ptg, ptg >= 0x20 ? uint8_t((ptg & 0x1F) | 0x20) : ptg, rest.first(size)});
        pos += size;
    }
    return tokens;
}

std::optional<std::vector<uint8_t>> instantiateShared(std::span<const uint8_t> rgce, uint16_t row, uint16_t col) {
    const auto tokens = splitTokens(rgce);
    if (!tokens) return std::nullopt;
    std::vector<uint8_t> out;
    out.reserve(rgce.size());
    for (const Token& token : *tokens) {
        const auto& b = token.bytes;
        if (token.base == kPtgRefN) {
            const uint16_t colField = readU16(b, 3);
            out.push_back(uint8_t(token.ptg - (kPtgRefN - kPtgRef)));
            put16(out, concreteRow(readU16(b, 1), colField, row));
            put16(out, concreteColumn(colField, col));
        } else if (token.base == kPtgAreaN) {
            const uint16_t firstCol = readU16(b, 5);
            const uint16_t lastCol = readU16(b, 7);
            out.push_back(uint8_t(token.ptg - (kPtgAreaN - kPtgArea)));
            put16(out, concreteRow(readU16(b, 1), firstCol, row));
            put16(out, concreteRow(readU16(b, 3), lastCol, row));
            put16(out, concreteColumn(firstCol, col));
            put16(out, concreteColumn(lastCol, col));
        } else {
            out.insert(out.end(), b.begin(), b.end());
        }
    }
    return out;
}

}  // namespace xls::formula
