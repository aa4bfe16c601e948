// formulaText: renders tokens back to A1 text.
#include "CellAddress.h"
#include "Concat.h"
#include "FormulaTokens.h"
#include "xls/Error.h"
#include "xls/Formula.h"

#include <bit>
#include <charconv>

namespace xls {
namespace {

using namespace formula;

[[noreturn]] void unsupported() { throw Error("formula contains tokens that cannot be shown as text"); }

std::string numberText(double value) {
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr};
}

Address addressOf(uint16_t row, uint16_t colField) {
    return Address{row, uint16_t(colField & kColumnMask), bool(colField & kRowRelative),
                   bool(colField & kColumnRelative)};
}

std::string functionName(uint16_t number) {
    switch (number) {
    case kFunctionSum: return "SUM";
    case kFunctionMin: return "MIN";
    case kFunctionMax: return "MAX";
    default: unsupported();
    }
}

}  // namespace

std::string formulaText(const std::vector<uint8_t>& rgce) {
    const auto tokens = splitTokens(rgce);
    if (!tokens) unsupported();
    std::vector<std::string> stack;
    auto pop = [&stack]() {
        if (stack.empty()) unsupported();
        std::string top = std::move(stack.back());
        stack.pop_back();
        return top;
    };
    for (const Token& token : *tokens) {
        const auto& b = token.bytes;
        switch (token.base) {
        case kPtgAdd:
        case kPtgSub:
        case kPtgMul:
        case kPtgDiv: {
            static constexpr char kOperators[] = "+-*/";
            std::string right = pop();
            std::string left = pop();
            stack.push_back(left + kOperators[token.base - kPtgAdd] + right);
            break;
        }
        case kPtgUminus: stack.push_back(concat({"-", pop()})); break;
        case kPtgUplus: stack.push_back(concat({"+", pop()})); break;
        case kPtgParen: stack.push_back(concat({"(", pop(), ")"})); break;
        case kPtgMissArg: stack.emplace_back(); break;
        case kPtgInt: stack.push_back(std::to_string(readU16(b, 1))); break;
        case kPtgNum: {
            uint64_t bits = 0;
            for (int i = 7; i >= 0; --i) bits = bits << 8 | b[1 + i];
            stack.push_back(numberText(std::bit_cast<double>(bits)));
            break;
        }
        case kPtgBool: stack.push_back(b[1] ? "TRUE" : "FALSE"); break;
        case kPtgErr: stack.push_back(errorText(ErrorCode(b[1]))); break;
        case kPtgRef: stack.push_back(addressText(addressOf(readU16(b, 1), readU16(b, 3)))); break;
        case kPtgArea:
            stack.push_back(concat({addressText(addressOf(readU16(b, 1), readU16(b, 5))), ":",
                                    addressText(addressOf(readU16(b, 3), readU16(b, 7)))}));
            break;
        case kPtgRefErr:
        case kPtgAreaErr: stack.push_back("#REF!"); break;
        case kPtgAttr:
            if (b[1] & kAttrSum)
                stack.push_back(concat({"SUM(", pop(), ")"}));
            else if (!(b[1] & (kAttrSpace | kAttrSemiVolatile)))
                unsupported();
            break;
        case kPtgFuncVar: {
            const size_t count = b[1];
            if (count > stack.size()) unsupported();
            std::string arguments;
            for (size_t i = stack.size() - count; i < stack.size(); ++i) {
                if (i > stack.size() - count) arguments += ',';
                arguments += stack[i];
            }
            stack.resize(stack.size() - count);
            stack.push_back(concat({functionName(readU16(b, 2) & 0x7FFF), "(", arguments, ")"}));
            break;
        }
        default: unsupported();
        }
    }
    if (stack.size() != 1) unsupported();
    return stack.back();
}

}  // namespace xls
