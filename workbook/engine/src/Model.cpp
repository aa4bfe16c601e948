#include "xls/Model.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace xls {
namespace {

// Built-in number formats by id, in their United States forms.
struct BuiltinFormat {
    uint16_t id;
    std::string_view code;
};

constexpr std::array<BuiltinFormat, 36> kBuiltinFormats{{
    {0, "General"},
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {4, "#,##0.00"},
    {5, "\"$\"#,##0_);(\"$\"#,##0)"},
    {6, "\"$\"#,##0_);[Red](\"$\"#,##0)"},
    {7, "\"$\"#,##0.00_);(\"$\"#,##0.00)"},
    {8, "\"$\"#,##0.00_);[Red](\"$\"#,##0.00)"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {12, "# ?/?"},
    {13,
     "# ?"
     "?/?"
     "?"},
    {14, "m/d/yyyy"},
    {15, "d-mmm-yy"},
    {16, "d-mmm"},
    {17, "mmm-yy"},
    {18, "h:mm AM/PM"},
    {19, "h:mm:ss AM/PM"},
    {20, "h:mm"},
    {21, "h:mm:ss"},
    {22, "m/d/yyyy h:mm"},
    {37, "#,##0_);(#,##0)"},
    {38, "#,##0_);[Red](#,##0)"},
    {39, "#,##0.00_);(#,##0.00)"},
    {40, "#,##0.00_);[Red](#,##0.00)"},
    {41, "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"},
    {42, "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)"},
    {43,
     "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"?"
     "?_);_(@_)"},
    {44,
     "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"?"
     "?_);_(@_)"},
    {45, "mm:ss"},
    {46, "[h]:mm:ss"},
    {47, "mm:ss.0"},
    {48, "##0.0E+0"},
    {49, "@"},
}};

template <class T>
uint16_t indexOfOrAppend(std::vector<T>& items, const T& item) {
    auto it = std::find(items.begin(), items.end(), item);
    if (it != items.end()) return uint16_t(it - items.begin());
    items.push_back(item);
    return uint16_t(items.size() - 1);
}

}  // namespace

std::string errorText(ErrorCode code) {
    switch (code) {
    case ErrorCode::Null: return "#NULL!";
    case ErrorCode::Div0: return "#DIV/0!";
    case ErrorCode::Value: return "#VALUE!";
    case ErrorCode::Ref: return "#REF!";
    case ErrorCode::Name: return "#NAME?";
    case ErrorCode::Num: return "#NUM!";
    case ErrorCode::NA: return "#N/A";
    }
    return "#N/A";
}

std::optional<Range> Sheet::usedRange() const {
    std::optional<Range> used;
    auto include = [&used](uint16_t row, uint16_t col) {
        if (!used) {
            used = Range{row, col, row, col};
            return;
        }
        used->firstRow = std::min(used->firstRow, row);
        used->firstCol = std::min(used->firstCol, col);
        used->lastRow = std::max(used->lastRow, row);
        used->lastCol = std::max(used->lastCol, col);
    };
    for (const auto& [key, cell] : cells) include(uint16_t(key >> 16), uint16_t(key & 0xFFFF));
    for (const Range& merge : merges) {
        include(merge.firstRow, merge.firstCol);
        include(merge.lastRow, merge.lastCol);
    }
    return used;
}

uint16_t Workbook::addFont(const Font& font) { return indexOfOrAppend(fonts, font); }

uint16_t Workbook::addFormat(const CellFormat& format) { return indexOfOrAppend(formats, format); }

bool isBuiltinNumberFormat(uint16_t id) {
    return std::any_of(kBuiltinFormats.begin(), kBuiltinFormats.end(),
                       [id](const BuiltinFormat& builtin) { return builtin.id == id; });
}

uint16_t Workbook::numberFormatId(const std::string& code) {
    for (const BuiltinFormat& builtin : kBuiltinFormats)
        if (builtin.code == code) return builtin.id;
    for (const auto& [id, existing] : numberFormats)
        if (existing == code) return id;
    const uint16_t id = numberFormats.empty() ? 164 : uint16_t(std::max<int>(164, numberFormats.rbegin()->first + 1));
    numberFormats[id] = code;
    return id;
}

std::string Workbook::numberFormatCode(uint16_t id) const {
    if (auto it = numberFormats.find(id); it != numberFormats.end()) return it->second;
    for (const BuiltinFormat& builtin : kBuiltinFormats)
        if (builtin.id == id) return std::string(builtin.code);
    return "General";
}

}  // namespace xls
