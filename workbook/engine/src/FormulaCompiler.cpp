// compileFormula: a small recursive-descent parser emitting BIFF8 tokens in reverse Polish order.
#include "CellAddress.h"
#include "Concat.h"
#include "FormulaTokens.h"
#include "xls/Error.h"
#include "xls/Formula.h"
#include "xls/AsciiText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace xls {
namespace {

using namespace formula;

constexpr int kMaxNesting = 64;
constexpr size_t kMaxArguments = 30;

struct FunctionName {
    const char* name;
    uint16_t number;
};
constexpr FunctionName kFunctions[] = {{"SUM", kFunctionSum}, {"MIN", kFunctionMin}, {"MAX", kFunctionMax}};

class Compiler {
public:
    explicit Compiler(const std::string& text) : text_(text) {}

    std::vector<uint8_t> run() {
        std::vector<uint8_t> out = expression(0);
        skipSpace();
        if (pos_ != text_.size()) fail(concat({"unexpected '", std::string(1, text_[pos_]), "'"}));
        return out;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw Error("formula \"" + text_ + "\" cannot be compiled: " + why);
    }

    void skipSpace() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }

    bool accept(char c) {
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::vector<uint8_t> expression(int depth) {
        std::vector<uint8_t> out = term(depth);
        for (;;) {
            uint8_t op;
            if (accept('+'))
                op = kPtgAdd;
            else if (accept('-'))
                op = kPtgSub;
            else
                return out;
            append(out, term(depth));
            out.push_back(op);
        }
    }

    std::vector<uint8_t> term(int depth) {
        std::vector<uint8_t> out = unary(depth);
        for (;;) {
            uint8_t op;
            if (accept('*'))
                op = kPtgMul;
            else if (accept('/'))
                op = kPtgDiv;
            else
                return out;
            append(out, unary(depth));
            out.push_back(op);
        }
    }

    std::vector<uint8_t> unary(int depth) {
        if (depth > kMaxNesting) fail("nested too deeply");
        if (accept('-')) {
            std::vector<uint8_t> out = unary(depth + 1);
            out.push_back(kPtgUminus);
            return out;
        }
        if (accept('+')) {
            std::vector<uint8_t> out = unary(depth + 1);
            out.push_back(kPtgUplus);
            return out;
        }
        return primary(depth);
    }

    std::vector<uint8_t> primary(int depth) {
        skipSpace();
        if (pos_ >= text_.size()) fail("an operand is missing");
        if (accept('(')) {
            std::vector<uint8_t> out = expression(depth + 1);
            if (!accept(')')) fail("a ')' is missing");
            out.push_back(kPtgParen);
            return out;
        }
        const char c = text_[pos_];
        if (isAsciiDigit(c) || c == '.') return number();
        if (auto function = functionAt()) return call(*function, depth);
        return reference();
    }

    std::vector<uint8_t> number() {
        double value = 0;
        const char* begin = text_.data() + pos_;
        const auto [end, ec] = std::from_chars(begin, text_.data() + text_.size(), value);
        if (ec != std::errc() || !std::isfinite(value)) fail("bad number");
        pos_ += size_t(end - begin);
        std::vector<uint8_t> out;
        if (value >= 0 && value <= 65535 && value == std::floor(value)) {
            out.push_back(kPtgInt);
            put16(out, uint16_t(value));
        } else {
            out.push_back(kPtgNum);
            const uint64_t bits = std::bit_cast<uint64_t>(value);
            for (int i = 0; i < 8; ++i) out.push_back(uint8_t(bits >> (8 * i)));
        }
        return out;
    }

    std::optional<uint16_t> functionAt() {
        for (const FunctionName& f : kFunctions) {
            const size_t length = std::strlen(f.name);
            if (text_.size() - pos_ <= length) continue;
            bool same = true;
            for (size_t i = 0; i < length; ++i) same = same && asciiUpper(text_[pos_ + i]) == f.name[i];
            if (!same) continue;
            size_t after = pos_ + length;
            while (after < text_.size() && text_[after] == ' ') ++after;
            if (after < text_.size() && text_[after] == '(') {
                pos_ = after + 1;
                return f.number;
            }
        }
        return std::nullopt;
    }

    std::vector<uint8_t> call(uint16_t function, int depth) {
        std::vector<uint8_t> out;
        size_t count = 0;
        if (!accept(')')) {
            do {
                std::vector<uint8_t> argument = expression(depth + 1);
                // A lone reference is passed as a reference, so the function sees the cells themselves.
                if ((argument.size() == 5 && argument[0] == withClass(kPtgRef, kClassValue)) ||
                    (argument.size() == 9 && argument[0] == withClass(kPtgArea, kClassValue)))
                    argument[0] = withClass(argument[0], kClassReference);
                append(out, argument);
                if (++count > kMaxArguments) fail("too many arguments");
            } while (accept(','));
            if (!accept(')')) fail("a ')' is missing");
        }
        out.push_back(withClass(kPtgFuncVar, kClassValue));
        out.push_back(uint8_t(count));
        put16(out, function);
        return out;
    }

    std::vector<uint8_t> reference() {
        size_t used = 0;
        const auto first = parseAddress(std::string_view(text_).substr(pos_), used);
        if (!first) fail(concat({"unknown name or reference at '", text_.substr(pos_), "'"}));
        pos_ += used;
        std::vector<uint8_t> out;
        if (pos_ < text_.size() && text_[pos_] == ':') {
            const auto last = parseAddress(std::string_view(text_).substr(pos_ + 1), used);
            if (!last) fail("bad range end");
            pos_ += 1 + used;
            Address a = *first, b = *last;
            if (a.row > b.row) std::swap(a.row, b.row), std::swap(a.rowRelative, b.rowRelative);
            if (a.col > b.col) std::swap(a.col, b.col), std::swap(a.colRelative, b.colRelative);
            out.push_back(withClass(kPtgArea, kClassValue));
            put16(out, a.row);
            put16(out, b.row);
            put16(out, columnField(a));
            put16(out, columnField(b));
        } else {
            out.push_back(withClass(kPtgRef, kClassValue));
            put16(out, first->row);
            put16(out, columnField(*first));
        }
        return out;
    }

    static uint16_t columnField(const Address& a) {
        return uint16_t(a.col | (a.colRelative ? kColumnRelative : 0) | (a.rowRelative ? kRowRelative : 0));
    }
    static void put16(std::vector<uint8_t>& out, uint16_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    }
    static void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
        out.insert(out.end(), more.begin(), more.end());
    }

    const std::string& text_;
    size_t pos_ = 0;
};

}  // namespace

std::vector<uint8_t> compileFormula(const std::string& text) { return Compiler(text).run(); }

}  // namespace xls
