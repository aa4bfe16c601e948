#include "xls/FormulaReaders.h"

#include "FormulaEvaluation.h"

#include <algorithm>

namespace xls {

FormulaReaders::FormulaReaders(const Sheet& sheet) {
    for (const auto& [key, cell] : sheet.cells) {
        if (!cell.formula) continue;
        auto ranges = formula::referencedRanges(cell.formula->tokens);
        if (!ranges || ranges->empty()) continue;
        for (const Range& range : *ranges) {
            if (range.firstRow == range.lastRow && range.firstCol == range.lastCol)
                m_ofCell.emplace_back(Sheet::key(range.firstRow, range.firstCol), key);
            else
                m_ofArea.emplace_back(range, key);
        }
        m_rangesOf.emplace(key, std::move(*ranges));
    }
    std::sort(m_ofCell.begin(), m_ofCell.end());
}

void FormulaReaders::appendReadersOf(uint32_t cellKey, std::vector<uint32_t>& readers) const {
    auto it = std::lower_bound(m_ofCell.begin(), m_ofCell.end(), std::pair<uint32_t, uint32_t>(cellKey, 0));
    for (; it != m_ofCell.end() && it->first == cellKey; ++it) readers.push_back(it->second);
    const auto row = uint16_t(cellKey >> 16);
    const auto col = uint16_t(cellKey & 0xFFFF);
    for (const auto& [range, reader] : m_ofArea)
        if (range.contains(row, col)) readers.push_back(reader);
}

std::span<const Range> FormulaReaders::rangesReadBy(uint32_t formulaKey) const {
    const auto found = m_rangesOf.find(formulaKey);
    if (found == m_rangesOf.end()) return {};
    return found->second;
}

}  // namespace xls
