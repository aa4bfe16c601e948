// Formula text <-> BIFF8 tokens, evaluation and recalculation.
#pragma once

#include "xls/FormulaReaders.h"
#include "xls/Model.h"

#include <span>
#include <string>
#include <vector>

namespace xls {

// Compiles a formula such as "SUM(E11:L11)" or "(M27-M28)" (A1 references, no leading '=').
// Supports numbers, references, ranges, + - * /, unary minus, parentheses and SUM, MIN, MAX.
std::vector<uint8_t> compileFormula(const std::string& text);

// Renders tokens back to text, for tests and diagnostics.
std::string formulaText(const std::vector<uint8_t>& tokens);

// Evaluates one formula of a sheet (references to its own cells; SUM, MIN, MAX skip text, blanks
// and booleans in ranges). Tokens this engine does not evaluate give #VALUE!.
Value evaluate(const Workbook& workbook, const Sheet& sheet, const std::vector<uint8_t>& tokens);

// Recomputes every cached formula result of the workbook, dependencies first; a formula in a cycle
// keeps its previous result where the cycle closes. Formulas with tokens this engine does not
// evaluate (other functions, other sheets, names) keep their cached result.
void recalculate(Workbook& workbook);

// A cell write under automatic calculation: the value replaces the cell's value or formula (an
// emptied cell without formatting leaves the sheet), then everything that reads the cell is
// recomputed, so no reader of the sheet ever meets a stale formula result.
void writeCellValue(Sheet& sheet, CellRef at, Value value);

// The same in two steps, for a run of writes: each is stored alone, then the formulas that read any
// of them are recomputed at once with the sheet's reader index, built once (see FormulaReaders).
// storeCellValue is the write alone; it returns false when no result can change (the cell already
// held that value).
bool storeCellValue(Sheet& sheet, CellRef at, Value value);
// Recomputes the formulas that read any of the changed cells (keys as Sheet::key), directly or
// through other formulas, each once and after what it reads; every other formula is taken as
// current. A run of writes followed by one call leaves the sheet as writeCellValue after each would.
void recalculateReadersOf(Sheet& sheet, const FormulaReaders& readers, std::span<const uint32_t> changed);

}  // namespace xls
