#include "FormulaEvaluation.h"

#include "FormulaTokens.h"
#include "xls/Formula.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace xls::formula {
namespace {

// An operand on the evaluation stack: a value, or a range a function may read cell by cell.
struct Operand {
    Value value;
    std::optional<Range> range;
    static Operand of(Value value) { return Operand{std::move(value), std::nullopt}; }
};

const Value& cellValue(const Cell& cell) { return cell.formula ? cell.formula->cached : cell.value; }

// Text counts as a number in arithmetic when all of it reads as one.
std::optional<double> numberInText(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const size_t last = text.find_last_not_of(' ');
    double value = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A value used in arithmetic: a number, or the error that stops the calculation.
std::variant<double, ErrorCode> asNumber(const Value& value) {
    if (const auto* number = std::get_if<double>(&value)) return *number;
    if (const auto* flag = std::get_if<bool>(&value)) return *flag ? 1.0 : 0.0;
    if (const auto* error = std::get_if<ErrorCode>(&value)) return *error;
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (auto number = numberInText(*text)) return *number;
        return ErrorCode::Value;
    }
    return 0.0;
}

Range orderedRange(uint16_t row1, uint16_t col1, uint16_t row2, uint16_t col2) {
    return Range{std::min(row1, row2), std::min(col1, col2), std::max(row1, row2), std::max(col1, col2)};
}

Range tokenRange(const Token& token) {
    const auto& b = token.bytes;
    if (token.base == kPtgRef) {
        const uint16_t row = readU16(b, 1);
        const uint16_t col = readU16(b, 3) & kColumnMask;
        return Range{row, col, row, col};
    }
    return orderedRange(readU16(b, 1), readU16(b, 5) & kColumnMask, readU16(b, 3), readU16(b, 7) & kColumnMask);
}

Value checked(double result) { return std::isfinite(result) ? Value(result) : Value(ErrorCode::Num); }

class Evaluator {
public:
    explicit Evaluator(const Sheet& sheet) : sheet_(sheet) {}

    std::optional<Value> run(std::span<const uint8_t> rgce) {
        const auto tokens = splitTokens(rgce);
        if (!tokens) return std::nullopt;
        for (const Token& token : *tokens)
            if (!step(token)) return std::nullopt;
        if (stack_.size() != 1) return std::nullopt;
        Value result = scalar(stack_.back());
        // A formula showing an empty cell shows zero.
        if (std::holds_alternative<std::monostate>(result)) return Value(0.0);
        return result;
    }

private:
    bool step(const Token& token) {
        const auto& b = token.bytes;
        switch (token.base) {
        case kPtgAdd:
        case kPtgSub:
        case kPtgMul:
        case kPtgDiv: return binary(token.base);
        case kPtgUminus:
        case kPtgUplus: {
            if (stack_.empty()) return false;
            const auto operand = asNumber(scalar(stack_.back()));
            stack_.back() = Operand::of(
                std::holds_alternative<ErrorCode>(operand)
                    ? Value(std::get<ErrorCode>(operand))
                    : Value(token.base == kPtgUminus ? -std::get<double>(operand) : std::get<double>(operand)));
            return true;
        }
        case kPtgParen: return !stack_.empty();
        case kPtgMissArg: stack_.push_back(Operand::of(Value{})); return true;
        case kPtgInt: stack_.push_back(Operand::of(double(readU16(b, 1)))); return true;
        case kPtgNum: {
            uint64_t bits = 0;
            for (int i = 7; i >= 0; --i) bits = bits << 8 | b[1 + i];
            stack_.push_back(Operand::of(checked(std::bit_cast<double>(bits))));
            return true;
        }
        case kPtgBool: stack_.push_back(Operand::of(bool(b[1]))); return true;
        case kPtgErr: stack_.push_back(Operand::of(ErrorCode(b[1]))); return true;
        case kPtgRefErr:
        case kPtgAreaErr: stack_.push_back(Operand::of(ErrorCode::Ref)); return true;
        case kPtgRef:
        case kPtgArea: stack_.push_back(Operand{Value{}, tokenRange(token)}); return true;
        case kPtgAttr:
            if (b[1] & kAttrSum) return aggregate(kFunctionSum, 1);
            return (b[1] & (kAttrSpace | kAttrSemiVolatile)) != 0;
        case kPtgFuncVar: return aggregate(readU16(b, 2), b[1]);
        default: return false;
        }
    }

    // A single value: a one-cell range reads its cell, a larger one is not a value.
    Value scalar(const Operand& operand) const {
        if (!operand.range) return operand.value;
        const Range& r = *operand.range;
        if (r.firstRow != r.lastRow || r.firstCol != r.lastCol) return ErrorCode::Value;
        const Cell* cell = sheet_.find(r.firstRow, r.firstCol);
        return cell ? cellValue(*cell) : Value{};
    }

    bool binary(uint8_t op) {
        if (stack_.size() < 2) return false;
        const auto right = asNumber(scalar(stack_.back()));
        stack_.pop_back();
        const auto left = asNumber(scalar(stack_.back()));
        Value result;
        if (const auto* error = std::get_if<ErrorCode>(&left)) {
            result = *error;
        } else if (const auto* error = std::get_if<ErrorCode>(&right)) {
            result = *error;
        } else {
            const double a = std::get<double>(left), b = std::get<double>(right);
            switch (op) {
            case kPtgAdd: result = checked(a + b); break;
            case kPtgSub: result = checked(a - b); break;
            case kPtgMul: result = checked(a * b); break;
            default: result = b == 0 ? Value(ErrorCode::Div0) : checked(a / b); break;
            }
        }
        stack_.back() = Operand::of(result);
        return true;
    }

    // SUM, MIN and MAX: ranges contribute only their numbers; values given directly must be numbers.
    bool aggregate(uint16_t function, size_t count) {
        function &= 0x7FFF;
        if (function != kFunctionSum && function != kFunctionMin && function != kFunctionMax) return false;
        if (count > stack_.size()) return false;
        std::vector<double> numbers;
        std::optional<ErrorCode> error;
        for (size_t i = stack_.size() - count; i < stack_.size() && !error; ++i) {
            const Operand& operand = stack_[i];
            if (operand.range) {
                error = collectNumbers(*operand.range, numbers);
            } else if (!std::holds_alternative<std::monostate>(operand.value)) {
                const auto number = asNumber(operand.value);
                if (const auto* e = std::get_if<ErrorCode>(&number))
                    error = *e;
                else
                    numbers.push_back(std::get<double>(number));
            }
        }
        stack_.resize(stack_.size() - count);
        Value result;
        if (error) {
            result = *error;
        } else if (function == kFunctionSum) {
            double sum = 0;
            for (double n : numbers) sum += n;
            result = checked(sum);
        } else if (numbers.empty()) {
            result = 0.0;
        } else {
            result = function == kFunctionMin ? *std::min_element(numbers.begin(), numbers.end())
                                              : *std::max_element(numbers.begin(), numbers.end());
        }
        stack_.push_back(Operand::of(result));
        return true;
    }

    // Row by row, jumping over the cells left and right of the range: a column of a wide sheet
    // costs a lookup per row, not a visit to every cell beside it.
    std::optional<ErrorCode> collectNumbers(const Range& range, std::vector<double>& numbers) const {
        const auto& cells = sheet_.cells;
        auto it = cells.lower_bound(Sheet::key(range.firstRow, range.firstCol));
        const auto end = cells.upper_bound(Sheet::key(range.lastRow, range.lastCol));
        while (it != end) {
            const auto row = uint16_t(it->first >> 16);
            const auto col = uint16_t(it->first & 0xFFFF);
            if (col < range.firstCol) {
                it = cells.lower_bound(Sheet::key(row, range.firstCol));
                continue;
            }
            // Past the range on a row before its last: the end lies beyond the next row's start.
            if (col > range.lastCol) {
                it = cells.lower_bound(Sheet::key(uint16_t(row + 1), range.firstCol));
                continue;
            }
            const Value& value = cellValue(it->second);
            if (const auto* number = std::get_if<double>(&value))
                numbers.push_back(*number);
            else if (const auto* e = std::get_if<ErrorCode>(&value))
                return *e;
            ++it;
        }
        return std::nullopt;
    }

    const Sheet& sheet_;
    std::vector<Operand> stack_;
};

}  // namespace

std::optional<Value> tryEvaluate(const Sheet& sheet, std::span<const uint8_t> rgce) {
    return Evaluator(sheet).run(rgce);
}

std::optional<std::vector<Range>> referencedRanges(std::span<const uint8_t> rgce) {
    const auto tokens = splitTokens(rgce);
    if (!tokens) return std::nullopt;
    std::vector<Range> ranges;
    for (const Token& token : *tokens)
        if (token.base == kPtgRef || token.base == kPtgArea) ranges.push_back(tokenRange(token));
    return ranges;
}

}  // namespace xls::formula

namespace xls {

Value evaluate(const Workbook&, const Sheet& sheet, const std::vector<uint8_t>& tokens) {
    std::optional<Value> result = formula::tryEvaluate(sheet, tokens);
    if (result) return std::move(*result);
    return ErrorCode::Value;
}

}  // namespace xls
