// recalculate, recalculateReadersOf and writeCellValue: every formula after the formulas it reads,
// cycles cut where they close.
#include "FormulaEvaluation.h"
#include "xls/Formula.h"
#include "xls/FormulaReaders.h"

#include <map>
#include <set>
#include <span>
#include <utility>
#include <vector>

namespace xls {
namespace {

enum class Visit : uint8_t { Pending, Active, Done };

// Computes the given formula cells of a sheet; formulas outside the set are taken as current.
class SheetRecalculation {
public:
    SheetRecalculation(Sheet& sheet, const FormulaReaders& readers, const std::set<uint32_t>& formulas)
        : sheet_(sheet), readers_(readers) {
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
        stack.push_back(Frame{key, formulaInputs(key)});
    }

    std::vector<uint32_t> formulaInputs(uint32_t formulaKey) const {
        std::vector<uint32_t> inputs;
        for (const Range& range : readers_.rangesReadBy(formulaKey)) {
            auto it = state_.lower_bound(Sheet::key(range.firstRow, range.firstCol));
            const auto end = state_.upper_bound(Sheet::key(range.lastRow, range.lastCol));
            for (; it != end; ++it)
                if (range.contains(uint16_t(it->first >> 16), uint16_t(it->first & 0xFFFF)))
                    inputs.push_back(it->first);
        }
        return inputs;
    }

    // Tokens this engine does not evaluate keep the result stored with them.
    void compute(uint32_t key) {
        Formula& formula = *sheet_.cells.at(key).formula;
        if (auto result = formula::tryEvaluate(sheet_, formula.tokens)) formula.cached = std::move(*result);
    }

    Sheet& sheet_;
    const FormulaReaders& readers_;
    std::map<uint32_t, Visit> state_;
};

std::set<uint32_t> formulasOf(const Sheet& sheet) {
    std::set<uint32_t> formulas;
    for (const auto& [key, cell] : sheet.cells)
        if (cell.formula) formulas.insert(key);
    return formulas;
}

bool holdsFormula(const Sheet& sheet, uint32_t key) {
    const auto found = sheet.cells.find(key);
    return found != sheet.cells.end() && found->second.formula;
}

// The formulas that read the changed cells, and those that read them in turn. A reader the index
// still names after a write replaced its formula is a plain value now, read by whoever reads it.
std::set<uint32_t> dependentsOf(const Sheet& sheet, const FormulaReaders& readers, std::span<const uint32_t> changed) {
    std::set<uint32_t> dependents;
    std::vector<uint32_t> work(changed.begin(), changed.end());
    std::vector<uint32_t> found;
    while (!work.empty()) {
        const uint32_t cell = work.back();
        work.pop_back();
        found.clear();
        readers.appendReadersOf(cell, found);
        for (uint32_t reader : found)
            if (holdsFormula(sheet, reader) && dependents.insert(reader).second) work.push_back(reader);
    }
    return dependents;
}

}  // namespace

void recalculate(Workbook& workbook) {
    for (Sheet& sheet : workbook.sheets) SheetRecalculation(sheet, FormulaReaders(sheet), formulasOf(sheet)).run();
}

void recalculateReadersOf(Sheet& sheet, const FormulaReaders& readers, std::span<const uint32_t> changed) {
    SheetRecalculation(sheet, readers, dependentsOf(sheet, readers, changed)).run();
}

bool storeCellValue(Sheet& sheet, CellRef at, Value value) {
    const uint32_t key = Sheet::key(at.row, at.col);
    const auto existing = sheet.cells.find(key);
    const bool empty = std::holds_alternative<std::monostate>(value);
    if (empty && existing == sheet.cells.end()) return false;
    Cell& cell = existing == sheet.cells.end() ? sheet.cells[key] : existing->second;
    // A value written again changes no result: a filled form rewrites many empty cells.
    const bool unchanged = !cell.formula && cell.value == value;
    cell.formula.reset();
    cell.value = std::move(value);
    // An emptied cell without formatting is no longer part of the sheet.
    if (empty && cell.xf == 0) sheet.cells.erase(key);
    return !unchanged;
}

void writeCellValue(Sheet& sheet, CellRef at, Value value) {
    const FormulaReaders readers(sheet);
    const uint32_t key = Sheet::key(at.row, at.col);
    if (storeCellValue(sheet, at, std::move(value))) recalculateReadersOf(sheet, readers, std::span(&key, 1));
}

}  // namespace xls
