#include "WritableCheck.h"

#include "CellAddress.h"
#include "Concat.h"
#include "RecordIds.h"
#include "SheetWriter.h"
#include "Utf16.h"
#include "xls/Error.h"

#include <string>
#include <string_view>

namespace xls::biff {
namespace {

constexpr size_t kMaxSheetNameLength = 31;
constexpr size_t kMaxFontNameLength = 31;
constexpr size_t kMaxHeaderFooterLength = 255;
constexpr size_t kMaxNumberFormatLength = 255;
constexpr uint8_t kMaxIndent = 15;
constexpr uint16_t kMaxRowHeightTwips = 0x7FFF;
constexpr uint16_t kMaxRowFormatXf = 0x0FFF;  // a row names its format in 12 bits
constexpr uint16_t kLeastPercent = 10;
constexpr uint16_t kLargestPercent = 400;
constexpr size_t kFormulaFixedSize = 22;  // cell, cached result, options, cell-chain, expression length

// UTF-8 never takes fewer bytes than UTF-16 takes units, so short texts need no conversion.
bool longerThan(std::string_view utf8, size_t maxUnits) {
    return utf8.size() > maxUnits && toUtf16(utf8).size() > maxUnits;
}

std::string quoted(std::string_view text) { return concat({"\"", text, "\""}); }

std::string cellOf(const Sheet& sheet, uint32_t key) {
    return concat({"the cell ", formula::addressText(formula::Address{uint16_t(key >> 16), uint16_t(key & 0xFFFF)}),
                   " of ", quoted(sheet.name)});
}

std::string rowOf(const Sheet& sheet, uint16_t row) {
    return concat({"row ", std::to_string(row + 1), " of ", quoted(sheet.name)});
}

class WritableCheck {
public:
    explicit WritableCheck(const Workbook& workbook) : workbook_(workbook) {}

    void run() const {
        if (workbook_.sheets.empty()) throw Error("a workbook needs at least one sheet");
        if (workbook_.activeSheet >= workbook_.sheets.size())
            throw Error("the active sheet is not one of the workbook's sheets");
        for (const Font& font : workbook_.fonts)
            if (longerThan(font.name, kMaxFontNameLength))
                throw Error(concat({"the font name ", quoted(font.name), " is longer than 31 characters"}));
        for (const auto& [id, code] : workbook_.numberFormats)
            if (longerThan(code, kMaxNumberFormatLength))
                throw Error(concat({"the number format ", quoted(code), " is longer than 255 characters"}));
        for (const CellFormat& format : workbook_.formats)
            if (format.indent > kMaxIndent) throw Error("a cell format is indented by more than 15 levels");
        checkKept(workbook_.keptRecords, "the workbook");
        for (const Sheet& sheet : workbook_.sheets) checkSheet(sheet);
    }

private:
    void checkSheet(const Sheet& sheet) const {
        const std::string name = concat({"the sheet ", quoted(sheet.name)});
        if (longerThan(sheet.name, kMaxSheetNameLength))
            throw Error(concat({name, "'s name is longer than 31 characters"}));
        checkCells(sheet, name);
        for (const ColumnInfo& column : sheet.columns)
            if (!fits(column.first, column.last)) throw Error(concat({name, " has column settings beyond column IV"}));
        for (const Range& merge : sheet.merges)
            if (!fits(merge))
                throw Error(concat({name, " has a merged range beyond column IV or ending before it starts"}));
        if (sheet.printArea && !fits(*sheet.printArea))
            throw Error(concat({name, " has a print area beyond column IV or ending before it starts"}));
        if (sheet.activeCell.col >= kMaxColumns) throw Error(concat({name, " has its active cell beyond column IV"}));
        if (sheet.defaultRowHeightTwips > kMaxRowHeightTwips)
            throw Error(concat({name, " has a default row height over 1,638 points"}));
        for (const auto& [row, info] : sheet.rows) {
            if (info.heightTwips > kMaxRowHeightTwips)
                throw Error(concat({rowOf(sheet, row), " is taller than 1,638 points"}));
            if (info.xf && fileXfIndex(workbook_, *info.xf) > kMaxRowFormatXf)
                throw Error(concat({rowOf(sheet, row), " has a format past the 4,081 a row can name"}));
        }
        if (sheet.zoomPercent < kLeastPercent || sheet.zoomPercent > kLargestPercent)
            throw Error(concat({name, " has a zoom outside 10% to 400%"}));
        if (sheet.page.scale < kLeastPercent || sheet.page.scale > kLargestPercent)
            throw Error(concat({name, " has a print scale outside 10% to 400%"}));
        if (longerThan(sheet.page.header, kMaxHeaderFooterLength))
            throw Error(concat({"the header of ", quoted(sheet.name), " is longer than 255 characters"}));
        if (longerThan(sheet.page.footer, kMaxHeaderFooterLength))
            throw Error(concat({"the footer of ", quoted(sheet.name), " is longer than 255 characters"}));
        checkKept(sheet.keptRecords, name);
    }

    static void checkCells(const Sheet& sheet, const std::string& name) {
        for (const auto& [key, cell] : sheet.cells) {
            if ((key & 0xFFFF) >= kMaxColumns)
                throw Error(concat({name, " has a cell beyond column IV (row ", std::to_string((key >> 16) + 1),
                                    ", column ", std::to_string((key & 0xFFFF) + 1), ")"}));
            const Value& value = cell.formula ? cell.formula->cached : cell.value;
            if (const auto* text = std::get_if<std::string>(&value); text && longerThan(*text, kMaxTextLength))
                throw Error(concat({cellOf(sheet, key), " holds text longer than 32,767 characters"}));
            if (cell.formula &&
                kFormulaFixedSize + cell.formula->tokens.size() + cell.formula->arrayConstants.size() > kMaxRecordData)
                throw Error(
                    concat({cellOf(sheet, key), " holds a formula longer than the file format's 8,224-byte record"}));
        }
    }

    static bool fits(uint16_t first, uint16_t last) { return first <= last && last < kMaxColumns; }
    static bool fits(const Range& range) {
        return range.firstRow <= range.lastRow && fits(range.firstCol, range.lastCol);
    }

    static void checkKept(const std::vector<RawRecord>& records, const std::string& owner) {
        for (const RawRecord& record : records)
            if (record.data.size() > kMaxRecordData)
                throw Error(
                    concat({owner, " keeps a record from the opened file longer than the file format's 8,224 bytes"}));
    }

    const Workbook& workbook_;
};

}  // namespace

void checkWritable(const Workbook& workbook) { WritableCheck(workbook).run(); }

}  // namespace xls::biff
