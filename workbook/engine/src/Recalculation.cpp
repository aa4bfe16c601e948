// recalculate: every formula after the formulas it reads, cycles cut where they close.
#include "FormulaEvaluation.h"
#include "xls/Formula.h"

#include <map>

namespace xls {
namespace {

enum class Visit : uint8_t { Pending, Active, Done };

class SheetRecalculation {
public:
    explicit SheetRecalculation(Sheet& sheet) : sheet_(sheet) {
        for (auto& [key, cell] : sheet.cells)
            if (cell.formula) state_[key] = Visit::Pending;
    }

    void run() {
        for (auto& [key, visit] : state_)
            if (visit == Visit::Pending) visitFrom(key);
    }

private:
    struct Frame {
        uint32_t key;
        std::vector<uint32_t> inputs;  // formula cells this one reads
        size_t next = 0;
    };

    // Depth-first with an explicit stack: long chains of formulas must not exhaust the call stack.
    void visitFrom(uint32_t start) {
        std::vector<Frame> stack;
        enter(start, stack);
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next < frame.inputs.size()) {
                const uint32_t input = frame.inputs[frame.next++];
                // An Active input closes a cycle: it keeps the result it has.
                if (state_[input] == Visit::Pending) enter(input, stack);
                continue;
            }
            compute(frame.key);
            state_[frame.key] = Visit::Done;
            stack.pop_back();
        }
    }

    void enter(uint32_t key, std::vector<Frame>& stack) {
        state_[key] = Visit::Active;
        stack.push_back(Frame{key, formulaInputs(sheet_.cells.at(key).formula->tokens)});
    }

    std::vector<uint32_t> formulaInputs(const std::vector<uint8_t>& tokens) const {
        std::vector<uint32_t> inputs;
        const auto ranges = formula::referencedRanges(tokens);
        if (!ranges) return inputs;
        for (const Range& range : *ranges) {
            auto it = state_.lower_bound(Sheet::key(range.firstRow, range.firstCol));
            const auto end = state_.upper_bound(Sheet::key(range.lastRow, range.lastCol));
            for (; it != end; ++it) {
                const uint16_t col = uint16_t(it->first & 0xFFFF);
                if (col >= range.firstCol && col <= range.lastCol) inputs.push_back(it->first);
            }
        }
        return inputs;
    }

    // Tokens this engine does not evaluate keep the result stored with them.
    void compute(uint32_t key) {
        Formula& formula = *sheet_.cells.at(key).formula;
        if (auto result = formula::tryEvaluate(sheet_, formula.tokens)) formula.cached = std::move(*result);
    }

    Sheet& sheet_;
    std::map<uint32_t, Visit> state_;
};

}  // namespace

void recalculate(Workbook& workbook) {
    for (Sheet& sheet : workbook.sheets) SheetRecalculation(sheet).run();
}

}  // namespace xls
