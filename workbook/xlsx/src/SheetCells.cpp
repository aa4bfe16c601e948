#include "SheetCells.h"

#include "WriteCheck.h"
#include "xls/Formula.h"

#include <string>
#include <variant>

namespace xlsx {
namespace {

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Readers of the file take "_x0041_" in a text for the character it codes (libxlsxwriter codes
// control characters so); a text that holds such a sequence of its own keeps it by coding its
// underscore ("_x005F_").
std::string keptAsTyped(const std::string& text) {
    constexpr size_t kCodeLength = 7;  // _xHHHH_
    std::string kept;
    kept.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const bool coded = i + kCodeLength <= text.size() && text[i] == '_' &&
                           (text[i + 1] == 'x' || text[i + 1] == 'X') && isHexDigit(text[i + 2]) &&
                           isHexDigit(text[i + 3]) && isHexDigit(text[i + 4]) && isHexDigit(text[i + 5]) &&
                           text[i + 6] == '_';
        kept += coded ? std::string("_x005F_") : std::string(1, text[i]);
    }
    return kept;
}

void writeFormula(lxw_worksheet* target, uint16_t row, uint16_t col, const xls::Formula& formula, lxw_format* format,
                  const std::string& where) {
    std::string text;
    try {
        text = "=" + xls::formulaText(formula.tokens);
    } catch (const xls::Error& error) {
        throw xls::Error(where + ": " + error.what());
    }
    if (const double* number = std::get_if<double>(&formula.cached))
        return check(worksheet_write_formula_num(target, row, col, text.c_str(), format, *number), where);
    if (const std::string* result = std::get_if<std::string>(&formula.cached))
        return check(worksheet_write_formula_str(target, row, col, text.c_str(), format, keptAsTyped(*result).c_str()),
                     where);
    throw xls::Error(where + ": a formula whose result is not a number or text cannot be written with its result");
}

void writeValue(lxw_worksheet* target, uint16_t row, uint16_t col, const xls::Value& value, lxw_format* format,
                const std::string& where) {
    if (const double* number = std::get_if<double>(&value))
        return check(worksheet_write_number(target, row, col, *number, format), where);
    if (const std::string* text = std::get_if<std::string>(&value)) {
        // An empty text is a blank cell in either file.
        if (text->empty()) return check(worksheet_write_blank(target, row, col, format), where);
        return check(worksheet_write_string(target, row, col, keptAsTyped(*text).c_str(), format), where);
    }
    if (const bool* truth = std::get_if<bool>(&value))
        return check(worksheet_write_boolean(target, row, col, *truth, format), where);
    if (const xls::ErrorCode* error = std::get_if<xls::ErrorCode>(&value))
        throw xls::Error(where + ": the error value " + xls::errorText(*error) + " cannot be written");
    check(worksheet_write_blank(target, row, col, format), where);
}

}  // namespace

void writeCells(lxw_worksheet* target, const xls::Sheet& sheet, CellFormats& formats) {
    // A merge fills its cells with blanks; the cells written after it take their places.
    for (const xls::Range& merge : sheet.merges)
        check(worksheet_merge_range(target, merge.firstRow, merge.firstCol, merge.lastRow, merge.lastCol, "", nullptr),
              cellName(sheet, merge.firstRow, merge.firstCol));
    for (const auto& [key, cell] : sheet.cells) {
        const auto row = uint16_t(key >> 16);
        const auto col = uint16_t(key & 0xFFFF);
        const std::string where = cellName(sheet, row, col);
        lxw_format* format = formats.of(cell.xf, where);
        if (cell.formula)
            writeFormula(target, row, col, *cell.formula, format, where);
        else
            writeValue(target, row, col, cell.value, format, where);
    }
}

}  // namespace xlsx
