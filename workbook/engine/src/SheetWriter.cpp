#include "SheetWriter.h"

#include "ContinuedRecordWriter.h"
#include "RecordFlags.h"
#include "RecordIds.h"
#include "RecordWriter.h"
#include "Utf16.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace xls::biff {
namespace {

constexpr uint16_t kRowsPerBlock = 32;
constexpr size_t kRecordHeaderSize = 4;
constexpr size_t kRowRecordSize = kRecordHeaderSize + 16;
constexpr size_t kIndexDefColWidthAt = 12;  // within the INDEX record's data
constexpr size_t kIndexBlocksAt = 16;
constexpr size_t kMergesPerRecord = 1000;

class SheetWriter {
public:
    SheetWriter(ByteWriter& stream, const Workbook& workbook, size_t index, const SharedStringTable& strings)
        : out_(stream),
          workbook_(workbook),
          sheet_(workbook.sheets[index]),
          active_(index == workbook.activeSheet),
          strings_(strings) {}

    void write() {
        writeBof(out_, kWorksheetSubstream);
        const std::set<uint16_t> rows = rowsWithRecords();
        const size_t index = writeIndex(rows);
        writeCalculationSettings();
        writePrintSettings();
        writeKept(RecordPlace::Start);
        out_.patchU32(index + kIndexDefColWidthAt, uint32_t(out_.size()));
        writeColumns();
        writeDimensions();
        writeCellTable(rows, index + kIndexBlocksAt);
        writeKept(RecordPlace::Middle);
        writeView();
        if (sheet_.standardWidth) writeU16Record(out_, kStandardWidth, *sheet_.standardWidth);
        writeMerges();
        writeKept(RecordPlace::End);
        writeRecord(out_, kEof, ByteWriter{});
    }

private:
    uint16_t xf(uint16_t format) const { return fileXfIndex(workbook_, format); }

    void writeKept(RecordPlace place) {
        for (const RawRecord& record : sheet_.keptRecords)
            if (record.place == place) writeRecord(out_, record.id, record.data);
    }

    void writeCalculationSettings() {
        writeU16Record(out_, kCalcMode, 1);  // automatic
        writeU16Record(out_, kCalcCount, 100);
        writeU16Record(out_, kRefMode, 1);  // A1
        writeU16Record(out_, kIteration, 0);
        ByteWriter delta;
        delta.f64(0.001);
        writeRecord(out_, kDelta, delta);
        writeU16Record(out_, kSaveRecalc, 1);
    }

    void writePrintSettings() {
        const PageSetup& page = sheet_.page;
        writeU16Record(out_, kPrintHeaders, page.printHeadings);
        writeU16Record(out_, kPrintGridlines, page.printGridlines);
        writeU16Record(out_, kGridSet, 1);
        ByteWriter guts;
        guts.zeros(8);
        writeRecord(out_, kGuts, guts);
        ByteWriter rowHeight;
        rowHeight.u16(0);
        rowHeight.u16(sheet_.defaultRowHeightTwips);
        writeRecord(out_, kDefaultRowHeight, rowHeight);
        writeU16Record(out_, kWsBool,
                       uint16_t(kSheetShowPageBreaks | kSheetSummaryRowsBelow | kSheetSummaryColumnsRight |
                                kSheetShowRowOutline | (page.fitToPage ? kSheetFitToPage : 0)));
        writeHeaderFooter(kHeader, page.header);
        writeHeaderFooter(kFooter, page.footer);
        writeU16Record(out_, kHCenter, page.centerHorizontally);
        writeU16Record(out_, kVCenter, page.centerVertically);
        const std::pair<uint16_t, double> margins[] = {{kLeftMargin, page.marginLeft},
                                                       {kRightMargin, page.marginRight},
                                                       {kTopMargin, page.marginTop},
                                                       {kBottomMargin, page.marginBottom}};
        for (const auto& [id, inches] : margins) {
            ByteWriter margin;
            margin.f64(inches);
            writeRecord(out_, id, margin);
        }
        ByteWriter setup;
        setup.u16(page.paperSize);
        setup.u16(page.scale);
        setup.u16(1);  // first page number
        setup.u16(page.fitWidth);
        setup.u16(page.fitHeight);
        setup.u16(page.orientation == Orientation::Portrait ? kSetupPortrait : 0);
        setup.u16(600);
        setup.u16(600);
        setup.f64(page.headerMargin);
        setup.f64(page.footerMargin);
        setup.u16(1);  // copies
        writeRecord(out_, kSetup, setup);
    }

    void writeHeaderFooter(uint16_t id, const std::string& text) {
        ByteWriter data;
        if (!text.empty()) {
            const std::u16string units(toUtf16(text));
            data.u16(uint16_t(units.size()));
            data.u8(kStringWide);
            for (char16_t unit : units) data.u16(unit);
        }
        writeRecord(out_, id, data);
    }

    void writeColumns() {
        writeU16Record(out_, kDefColWidth, sheet_.defaultColumnWidth);
        for (const ColumnInfo& column : sheet_.columns) {
            ByteWriter data;
            data.u16(column.first);
            data.u16(column.last);
            data.u16(column.width);
            data.u16(xf(column.xf));
            data.u16(uint16_t(kColumnUserSet | (column.hidden ? kColumnHidden : 0)));
            data.u16(0);
            writeRecord(out_, kColInfo, data);
        }
    }

    void writeDimensions() {
        ByteWriter data;
        if (sheet_.cells.empty()) {
            data.zeros(14);
        } else {
            uint16_t firstCol = kMaxColumns, lastCol = 0;
            for (const auto& [key, cell] : sheet_.cells) {
                firstCol = std::min<uint16_t>(firstCol, key & 0xFFFF);
                lastCol = std::max<uint16_t>(lastCol, key & 0xFFFF);
            }
            data.u32(sheet_.cells.begin()->first >> 16);
            data.u32((sheet_.cells.rbegin()->first >> 16) + 1);
            data.u16(firstCol);
            data.u16(uint16_t(lastCol + 1));
            data.u16(0);
        }
        writeRecord(out_, kDimensions, data);
    }

    std::set<uint16_t> rowsWithRecords() const {
        std::set<uint16_t> rows;
        for (const auto& [key, cell] : sheet_.cells) rows.insert(uint16_t(key >> 16));
        for (const auto& [row, info] : sheet_.rows) rows.insert(row);
        return rows;
    }

    static size_t blockCount(const std::set<uint16_t>& rows) {
        std::set<uint16_t> blocks;
        for (uint16_t row : rows) blocks.insert(uint16_t(row / kRowsPerBlock));
        return blocks.size();
    }

    // The rows holding cells, and one stream position per row block, filled in as the blocks are
    // written (like the default column width's position). Returns where the record's data starts.
    size_t writeIndex(const std::set<uint16_t>& rows) {
        ByteWriter data;
        data.u32(0);
        data.u32(sheet_.cells.empty() ? 0 : sheet_.cells.begin()->first >> 16);
        data.u32(sheet_.cells.empty() ? 0 : (sheet_.cells.rbegin()->first >> 16) + 1);
        data.u32(0);
        data.zeros(4 * blockCount(rows));
        const size_t at = out_.size() + kRecordHeaderSize;
        writeRecord(out_, kIndex, data);
        return at;
    }

    // Blocks of up to 32 rows: their ROW records, their cells, then the DBCELL that finds them.
    void writeCellTable(const std::set<uint16_t>& rows, size_t blockPointers) {
        for (auto blockStart = rows.begin(); blockStart != rows.end();) {
            const uint32_t blockEnd = uint32_t(*blockStart / kRowsPerBlock + 1) * kRowsPerBlock;
            const size_t firstRow = out_.size();
            auto next = blockStart;
            for (; next != rows.end() && *next < blockEnd; ++next) writeRow(*next);
            std::vector<size_t> cellStarts;
            for (auto row = blockStart; row != next; ++row) {
                cellStarts.push_back(out_.size());
                writeCellsOfRow(*row);
            }
            out_.patchU32(blockPointers, uint32_t(out_.size()));
            blockPointers += 4;
            writeDbCell(firstRow, cellStarts);
            blockStart = next;
        }
    }

    // Offsets back to the block's first ROW record and from one row's first cell to the next row's
    // (the first counted from the end of the first ROW record); a row without cells points where its
    // cells would begin.
    void writeDbCell(size_t firstRow, const std::vector<size_t>& cellStarts) {
        ByteWriter data;
        data.u32(uint32_t(out_.size() - firstRow));
        size_t from = firstRow + kRowRecordSize;
        for (size_t start : cellStarts) {
            data.u16(
                uint16_t(std::min<size_t>(start - from, 0xFFFF)));  // a row of more than 64 KB cannot be pointed at
            from = start;
        }
        writeRecord(out_, kDbCell, data);
    }

    void writeRow(uint16_t row) {
        auto first = sheet_.cells.lower_bound(Sheet::key(row, 0));
        auto last = sheet_.cells.upper_bound(Sheet::key(row, 0xFFFF));
        const bool hasCells = first != last;
        const auto infoIt = sheet_.rows.find(row);
        RowInfo info;
        if (infoIt != sheet_.rows.end())
            info = infoIt->second;
        else
            info.heightTwips = sheet_.defaultRowHeightTwips;
        ByteWriter data;
        data.u16(row);
        data.u16(hasCells ? uint16_t(first->first & 0xFFFF) : 0);
        data.u16(hasCells ? uint16_t((std::prev(last)->first & 0xFFFF) + 1) : 0);
        data.u16(info.heightTwips);
        data.u32(0);
        data.u16(uint16_t(kRowAlwaysSet | (info.hidden ? kRowHidden : 0) | (info.customHeight ? kRowCustomHeight : 0) |
                          (info.xf ? kRowHasFormat : 0)));
        data.u16(xf(info.xf.value_or(0)));  // without a format of its own, the default
        writeRecord(out_, kRow, data);
    }

    void writeCellsOfRow(uint16_t row) {
        auto it = sheet_.cells.lower_bound(Sheet::key(row, 0));
        const auto end = sheet_.cells.upper_bound(Sheet::key(row, 0xFFFF));
        while (it != end) {
            if (isBlank(it->second)) {
                auto runEnd = std::next(it);
                while (runEnd != end && isBlank(runEnd->second) &&
                       (runEnd->first & 0xFFFF) == (std::prev(runEnd)->first & 0xFFFF) + 1)
                    ++runEnd;
                writeBlanks(row, it, runEnd);
                it = runEnd;
            } else {
                writeCell(row, uint16_t(it->first & 0xFFFF), it->second);
                ++it;
            }
        }
    }

    static bool isBlank(const Cell& cell) {
        return !cell.formula && std::holds_alternative<std::monostate>(cell.value);
    }

    void writeBlanks(uint16_t row, std::map<uint32_t, Cell>::const_iterator first,
                     std::map<uint32_t, Cell>::const_iterator end) {
        ByteWriter data;
        data.u16(row);
        data.u16(uint16_t(first->first & 0xFFFF));
        if (std::next(first) == end) {
            data.u16(xf(first->second.xf));
            writeRecord(out_, kBlank, data);
            return;
        }
        uint16_t lastCol = 0;
        for (auto it = first; it != end; ++it) {
            data.u16(xf(it->second.xf));
            lastCol = uint16_t(it->first & 0xFFFF);
        }
        data.u16(lastCol);
        writeRecord(out_, kMulBlank, data);
    }

    void cellHeader(ByteWriter& data, uint16_t row, uint16_t col, const Cell& cell) const {
        data.u16(row);
        data.u16(col);
        data.u16(xf(cell.xf));
    }

    void writeBoolErr(uint16_t row, uint16_t col, const Cell& cell, uint8_t value, bool isError) {
        ByteWriter data;
        cellHeader(data, row, col, cell);
        data.u8(value);
        data.u8(isError);
        writeRecord(out_, kBoolErr, data);
    }

    void writeCell(uint16_t row, uint16_t col, const Cell& cell) {
        if (cell.formula) return writeFormula(row, col, cell);
        ByteWriter data;
        cellHeader(data, row, col, cell);
        if (const auto* number = std::get_if<double>(&cell.value)) {
            if (!std::isfinite(*number)) return writeBoolErr(row, col, cell, uint8_t(ErrorCode::Num), true);
            data.f64(*number);
            writeRecord(out_, kNumber, data);
        } else if (const auto* text = std::get_if<std::string>(&cell.value)) {
            data.u32(strings_.indexOf(*text));
            writeRecord(out_, kLabelSst, data);
        } else if (const auto* flag = std::get_if<bool>(&cell.value)) {
            writeBoolErr(row, col, cell, *flag, false);
        } else if (const auto* error = std::get_if<ErrorCode>(&cell.value)) {
            writeBoolErr(row, col, cell, uint8_t(*error), true);
        }
    }

    // The cached result: a number, or a typed result marked by FFFF in its top two bytes.
    static void writeCachedResult(ByteWriter& data, const Value& result) {
        auto special = [&data](uint8_t type, uint8_t value) {
            data.u8(type);
            data.u8(0);
            data.u8(value);
            data.zeros(3);
            data.u16(kCachedResultMarker);
        };
        if (const auto* number = std::get_if<double>(&result)) {
            if (std::isfinite(*number))
                data.f64(*number);
            else
                special(kCachedError, uint8_t(ErrorCode::Num));
        } else if (std::holds_alternative<std::string>(result)) {
            special(kCachedString, 0);
        } else if (const auto* flag = std::get_if<bool>(&result)) {
            special(kCachedBool, *flag);
        } else if (const auto* error = std::get_if<ErrorCode>(&result)) {
            special(kCachedError, uint8_t(*error));
        } else {
            special(kCachedEmpty, 0);
        }
    }

    void writeFormula(uint16_t row, uint16_t col, const Cell& cell) {
        const Formula& formula = *cell.formula;
        ByteWriter data;
        cellHeader(data, row, col, cell);
        writeCachedResult(data, formula.cached);
        data.u16(formula.alwaysCalculate ? kFormulaAlwaysCalculate : 0);
        data.u32(0);
        data.u16(uint16_t(formula.tokens.size()));
        data.bytes(formula.tokens);
        data.bytes(formula.arrayConstants);
        writeRecord(out_, kFormula, data);
        if (const auto* text = std::get_if<std::string>(&formula.cached)) {
            ContinuedRecordWriter string(out_, kString);
            string.appendString(toUtf16(*text));
            string.finish();
        }
    }

    void writeView() {
        uint16_t flags = kWindowShowZeros | kWindowDefaultGridColour | kWindowShowOutline;
        if (sheet_.showGridlines) flags |= kWindowShowGridlines;
        if (sheet_.showHeadings) flags |= kWindowShowHeadings;
        if (sheet_.selected || active_) flags |= kWindowSelected;
        if (active_) flags |= kWindowShown;
        ByteWriter window;
        window.u16(flags);
        window.u16(0);  // top row
        window.u16(0);  // left column
        window.u32(kWindowAutomaticGridColour);
        window.u16(0);
        window.u16(0);
        window.u32(0);
        writeRecord(out_, kWindow2, window);

        if (sheet_.zoomPercent != 100) {
            ByteWriter scale;
            scale.u16(sheet_.zoomPercent);
            scale.u16(100);
            writeRecord(out_, kScl, scale);
        }

        const uint16_t activeCol = sheet_.activeCell.col;
        ByteWriter selection;
        selection.u8(3);  // the only pane
        selection.u16(sheet_.activeCell.row);
        selection.u16(activeCol);
        selection.u16(0);
        selection.u16(1);
        selection.u16(sheet_.activeCell.row);
        selection.u16(sheet_.activeCell.row);
        selection.u8(uint8_t(activeCol));
        selection.u8(uint8_t(activeCol));
        writeRecord(out_, kSelection, selection);
    }

    void writeMerges() {
        for (size_t start = 0; start < sheet_.merges.size(); start += kMergesPerRecord) {
            const size_t count = std::min(kMergesPerRecord, sheet_.merges.size() - start);
            ByteWriter data;
            data.u16(uint16_t(count));
            for (size_t i = start; i < start + count; ++i) {
                const Range& merge = sheet_.merges[i];
                data.u16(merge.firstRow);
                data.u16(merge.lastRow);
                data.u16(merge.firstCol);
                data.u16(merge.lastCol);
            }
            writeRecord(out_, kMergedCells, data);
        }
    }

    ByteWriter& out_;
    const Workbook& workbook_;
    const Sheet& sheet_;
    bool active_;
    const SharedStringTable& strings_;
};

}  // namespace

void writeSheet(ByteWriter& stream, const Workbook& workbook, size_t sheetIndex, const SharedStringTable& strings) {
    SheetWriter(stream, workbook, sheetIndex, strings).write();
}

}  // namespace xls::biff
