#include "CellLookup.h"

#include <algorithm>

namespace xls {
namespace {

const Value kEmptyValue{};
const CellFormat kDefaultFormat{};
const Font kDefaultFont{};

}  // namespace

CellLookup::CellLookup(const Workbook& workbook, const Sheet& sheet) : workbook_(workbook), sheet_(sheet) {}

const CellFormat& CellLookup::formatAt(int row, int col) const {
    std::optional<uint16_t> xf;
    if (const Cell* cell = sheet_.find(uint16_t(row), uint16_t(col))) {
        xf = cell->xf;
    } else if (auto it = sheet_.rows.find(uint16_t(row)); it != sheet_.rows.end() && it->second.xf) {
        xf = it->second.xf;
    } else {
        auto column = std::find_if(sheet_.columns.begin(), sheet_.columns.end(),
                                   [col](const ColumnInfo& info) { return col >= info.first && col <= info.last; });
        if (column != sheet_.columns.end()) xf = column->xf;
    }
    if (xf && *xf < workbook_.formats.size()) return workbook_.formats[*xf];
    return workbook_.formats.empty() ? kDefaultFormat : workbook_.formats.front();
}

const Font& CellLookup::fontOf(const CellFormat& format) const {
    if (format.font < workbook_.fonts.size()) return workbook_.fonts[format.font];
    return workbook_.fonts.empty() ? kDefaultFont : workbook_.fonts.front();
}

const Value& CellLookup::valueAt(int row, int col) const {
    const Cell* cell = sheet_.find(uint16_t(row), uint16_t(col));
    if (!cell) return kEmptyValue;
    return cell->formula ? cell->formula->cached : cell->value;
}

bool CellLookup::isOccupied(int row, int col) const {
    const Cell* cell = sheet_.find(uint16_t(row), uint16_t(col));
    return cell && (cell->formula || !std::holds_alternative<std::monostate>(cell->value));
}

const Range* CellLookup::mergeAt(int row, int col) const {
    for (const Range& merge : sheet_.merges)
        if (merge.contains(uint16_t(row), uint16_t(col))) return &merge;
    return nullptr;
}

}  // namespace xls
