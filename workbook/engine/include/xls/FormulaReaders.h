// Which formulas of a sheet read which cells: the index behind recalculation.
#pragma once

#include "xls/Model.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

namespace xls {

// Built from the formulas a sheet holds. A cell write only ever removes a formula, which leaves the
// index usable: a reader found here that no longer holds a formula is skipped. A formula added to
// the sheet afterwards needs a new index.
class FormulaReaders {
public:
    explicit FormulaReaders(const Sheet& sheet);

    // Appends the keys (Sheet::key) of the formulas that name the cell, alone or inside an area.
    void appendReadersOf(uint32_t cellKey, std::vector<uint32_t>& readers) const;
    // The ranges the formula at the key refers to; empty when it refers to none or cannot be read.
    std::span<const Range> rangesReadBy(uint32_t formulaKey) const;

private:
    std::vector<std::pair<uint32_t, uint32_t>> m_ofCell;  // (cell, reader), sorted
    std::vector<std::pair<Range, uint32_t>> m_ofArea;     // a sheet has few areas
    std::unordered_map<uint32_t, std::vector<Range>> m_rangesOf;
};

}  // namespace xls
