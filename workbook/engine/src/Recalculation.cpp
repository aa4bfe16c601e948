// recalculate and recalculateDependents: every formula after the formulas it reads, cycles cut
// where they close.
#include "FormulaEvaluation.h"
#include "xls/Formula.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace xls {
namespace {

enum class Visit : uint8_t { Pending, Active, Done };

bool rangeHolds(const Range& range, uint32_t key) {
    return range.contains(uint16_t(key >> 16), uint16_t(key & 0xFFFF));
}

// Computes the given formula cells of a sheet; formulas outside the set are taken as current.
class SheetRecalculation {
public:
    SheetRecalculation(Sheet& sheet, const std::set<uint32_t>& formulas) : sheet_(sheet) {
        for (uint32_t key : formulas) state_[key] = Visit::Pending;
    }

    void run() {
        for (auto& [key, visit] : state_)
            if (visit == Visit::Pending) visitFrom(key);
    }

private:
    struct Frame {
        uint32_t key;
        std::vector<uint32_t> inputs;  // formula cells of the set this one reads
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
            for (; it != end; ++it)
                if (rangeHolds(range, it->first)) inputs.push_back(it->first);
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

std::set<uint32_t> formulasOf(const Sheet& sheet) {
    std::set<uint32_t> formulas;
    for (const auto& [key, cell] : sheet.cells)
        if (cell.formula) formulas.insert(key);
    return formulas;
}

// Who reads what: single cells by key, areas in a list (a sheet has few of them).
class Readers {
public:
    explicit Readers(const Sheet& sheet) {
        for (const auto& [key, cell] : sheet.cells) {
            if (!cell.formula) continue;
            const auto ranges = formula::referencedRanges(cell.formula->tokens);
            if (!ranges) continue;
            for (const Range& range : *ranges) {
                if (range.firstRow == range.lastRow && range.firstCol == range.lastCol)
                    ofCell_.emplace(Sheet::key(range.firstRow, range.firstCol), key);
                else
                    ofArea_.emplace_back(range, key);
            }
        }
    }

    template <class Visit>
    void forEachReaderOf(uint32_t cell, Visit&& visit) const {
        const auto [first, last] = ofCell_.equal_range(cell);
        for (auto it = first; it != last; ++it) visit(it->second);
        for (const auto& [range, reader] : ofArea_)
            if (rangeHolds(range, cell)) visit(reader);
    }

private:
    std::multimap<uint32_t, uint32_t> ofCell_;
    std::vector<std::pair<Range, uint32_t>> ofArea_;
};

// The formulas that read the changed cell, and those that read them in turn.
std::set<uint32_t> dependentsOf(const Sheet& sheet, uint32_t changed) {
    const Readers readers(sheet);
    std::set<uint32_t> dependents;
    std::vector<uint32_t> work{changed};
    while (!work.empty()) {
        const uint32_t cell = work.back();
        work.pop_back();
        readers.forEachReaderOf(cell, [&](uint32_t reader) {
            if (dependents.insert(reader).second) work.push_back(reader);
        });
    }
    return dependents;
}

}  // namespace

void recalculate(Workbook& workbook) {
    for (Sheet& sheet : workbook.sheets) SheetRecalculation(sheet, formulasOf(sheet)).run();
}

void recalculateDependents(Sheet& sheet, CellRef changed) {
    SheetRecalculation(sheet, dependentsOf(sheet, Sheet::key(changed.row, changed.col))).run();
}

void writeCellValue(Sheet& sheet, CellRef at, Value value) {
    const uint32_t key = Sheet::key(at.row, at.col);
    const auto existing = sheet.cells.find(key);
    const bool empty = std::holds_alternative<std::monostate>(value);
    if (empty && existing == sheet.cells.end()) return;
    Cell& cell = existing == sheet.cells.end() ? sheet.cells[key] : existing->second;
    cell.formula.reset();
    cell.value = std::move(value);
    // An emptied cell without formatting is no longer part of the sheet.
    if (empty && cell.xf == 0) sheet.cells.erase(key);
    recalculateDependents(sheet, at);
}

}  // namespace xls
