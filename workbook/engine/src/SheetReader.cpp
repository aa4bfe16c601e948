#include "SheetReader.h"

#include "ByteIo.h"
#include "ContinuedReader.h"
#include "FormulaTokens.h"
#include "RecordCursor.h"
#include "RecordFlags.h"
#include "RecordIds.h"
#include "Utf16.h"

#include <algorithm>
#include <bit>
#include <map>
#include <unordered_set>

namespace xls::biff {
namespace {

// Records the engine reads or writes itself: never kept, or a rewrite would hold them twice.
const std::unordered_set<uint16_t>& regeneratedRecords() {
    static const std::unordered_set<uint16_t> ids{kEof,
                                                  kIndex,
                                                  kDbCell,
                                                  kCalcMode,
                                                  kCalcCount,
                                                  kRefMode,
                                                  kIteration,
                                                  kDelta,
                                                  kSaveRecalc,
                                                  kPrintHeaders,
                                                  kPrintGridlines,
                                                  kGridSet,
                                                  kGuts,
                                                  kDefaultRowHeight,
                                                  kWsBool,
                                                  kHeader,
                                                  kFooter,
                                                  kHCenter,
                                                  kVCenter,
                                                  kLeftMargin,
                                                  kRightMargin,
                                                  kTopMargin,
                                                  kBottomMargin,
                                                  kSetup,
                                                  kDefColWidth,
                                                  kStandardWidth,
                                                  kColInfo,
                                                  kDimensions,
                                                  kRow,
                                                  kBlank,
                                                  kMulBlank,
                                                  kNumber,
                                                  kRk,
                                                  kMulRk,
                                                  kLabel,
                                                  kLabelSst,
                                                  kRString,
                                                  kBoolErr,
                                                  kFormula,
                                                  kString,
                                                  kShrFmla,
                                                  kArray,
                                                  kTable,
                                                  kWindow2,
                                                  kScl,
                                                  kSelection,
                                                  kPane,
                                                  kMergedCells};
    return ids;
}

bool isCellTableRecord(uint16_t id) {
    switch (id) {
    case kDimensions:
    case kRow:
    case kBlank:
    case kMulBlank:
    case kNumber:
    case kRk:
    case kMulRk:
    case kLabel:
    case kLabelSst:
    case kRString:
    case kBoolErr:
    case kFormula: return true;
    default: return false;
    }
}

double rkValue(uint32_t rk) {
    double value =
        (rk & kRkInteger) ? double(int32_t(rk) >> 2) : std::bit_cast<double>(uint64_t(rk & 0xFFFFFFFC) << 32);
    return (rk & kRkDividedBy100) ? value / 100 : value;
}

Value errorValue(uint8_t code) {
    switch (code) {
    case uint8_t(ErrorCode::Null):
    case uint8_t(ErrorCode::Div0):
    case uint8_t(ErrorCode::Value):
    case uint8_t(ErrorCode::Ref):
    case uint8_t(ErrorCode::Name):
    case uint8_t(ErrorCode::Num):
    case uint8_t(ErrorCode::NA): return ErrorCode(code);
    default: return ErrorCode::NA;
    }
}

std::string unicodeStringOf(std::span<const uint8_t> data, std::vector<std::span<const uint8_t>> continuations = {}) {
    continuations.insert(continuations.begin(), data);
    return toUtf8(ContinuedReader(std::move(continuations)).unicodeString());
}

struct SharedFormula {
    Range range;
    std::vector<uint8_t> tokens;
    std::vector<uint8_t> arrayConstants;
};

struct PendingShared {
    uint32_t cell;
    uint32_t base;
};

class SheetReader {
public:
    SheetReader(std::span<const uint8_t> stream, size_t offset, const SheetContext& context)
        : cursor_(stream, offset), context_(context) {}

    Sheet read() {
        Record record;
        if (!cursor_.next(record) || record.id != kBof || record.data.size() < 4 ||
            ByteReader(record.data).u32() >> 16 != kWorksheetSubstream)
            throw Error("damaged workbook: a sheet does not start with a worksheet header");
        while (cursor_.next(record) && record.id != kEof) handle(record);
        resolveSharedFormulas();
        return std::move(sheet_);
    }

private:
    void handle(const Record& record) {
        if (isCellTableRecord(record.id) && place_ == RecordPlace::Start) place_ = RecordPlace::Middle;
        if (record.id == kBof) return keepSubstream(record);
        if (record.id == kContinue) {
            if (lastKept_) keep(record);
            return;
        }
        lastKept_ = false;
        if (!regeneratedRecords().contains(record.id)) return keep(record);
        ByteReader in(record.data);
        switch (record.id) {
        case kPrintHeaders: sheet_.page.printHeadings = in.u16() != 0; break;
        case kPrintGridlines: sheet_.page.printGridlines = in.u16() != 0; break;
        case kDefaultRowHeight:
            in.u16();
            sheet_.defaultRowHeightTwips = in.u16();
            break;
        case kWsBool: sheet_.page.fitToPage = in.u16() & kSheetFitToPage; break;
        case kHeader: sheet_.page.header = record.data.empty() ? "" : unicodeStringOf(record.data); break;
        case kFooter: sheet_.page.footer = record.data.empty() ? "" : unicodeStringOf(record.data); break;
        case kHCenter: sheet_.page.centerHorizontally = in.u16() != 0; break;
        case kVCenter: sheet_.page.centerVertically = in.u16() != 0; break;
        case kLeftMargin: sheet_.page.marginLeft = in.f64(); break;
        case kRightMargin: sheet_.page.marginRight = in.f64(); break;
        case kTopMargin: sheet_.page.marginTop = in.f64(); break;
        case kBottomMargin: sheet_.page.marginBottom = in.f64(); break;
        case kSetup: readSetup(in); break;
        case kDefColWidth: sheet_.defaultColumnWidth = in.u16(); break;
        case kStandardWidth: sheet_.standardWidth = in.u16(); break;
        case kColInfo: readColumn(in); break;
        case kRow: readRow(in); break;
        case kBlank: {
            const auto [row, col, xf] = cellHeader(in);
            put(row, col, Cell{xf, {}, {}});
            break;
        }
        case kMulBlank: readMulBlank(in, record.data.size()); break;
        case kNumber: {
            const auto [row, col, xf] = cellHeader(in);
            put(row, col, Cell{xf, in.f64(), {}});
            break;
        }
        case kRk: {
            const auto [row, col, xf] = cellHeader(in);
            put(row, col, Cell{xf, rkValue(in.u32()), {}});
            break;
        }
        case kMulRk: readMulRk(in, record.data.size()); break;
        case kLabel:
        case kRString: {
            const auto [row, col, xf] = cellHeader(in);
            put(row, col, Cell{xf, unicodeStringOf(record.data.subspan(6)), {}});
            break;
        }
        case kLabelSst: readLabelSst(in); break;
        case kBoolErr: readBoolErr(in); break;
        case kFormula: readFormula(in); break;
        case kString: readString(record); break;
        case kShrFmla: readSharedFormula(in); break;
        case kWindow2:
            readWindow(in);
            place_ = RecordPlace::End;
            break;
        case kScl: readZoom(in); break;
        case kSelection: readSelection(in); break;
        case kMergedCells: readMerges(in); break;
        default: break;  // regenerated from the model: INDEX, DBCELL, DIMENSIONS, calculation settings ...
        }
    }

    void keep(const Record& record) {
        sheet_.keptRecords.push_back(RawRecord{record.id, {record.data.begin(), record.data.end()}, place_});
        lastKept_ = true;
    }

    // An embedded substream (a chart) travels whole with the drawing records around it.
    void keepSubstream(const Record& bof) {
        keep(bof);
        int depth = 1;
        Record record;
        while (depth > 0 && cursor_.next(record)) {
            if (record.id == kBof) ++depth;
            if (record.id == kEof) --depth;
            keep(record);
        }
    }

    struct CellHeader {
        uint16_t row, col, xf;
    };
    CellHeader cellHeader(ByteReader& in) const {
        const uint16_t row = in.u16();
        const uint16_t col = in.u16();
        return {row, col, formatOf(in.u16())};
    }
    uint16_t formatOf(uint16_t fileXf) const {
        return fileXf < context_.formatOfXf.size() ? context_.formatOfXf[fileXf] : 0;
    }

    // Cells beyond the last column cannot exist in this format: damage, skipped.
    Cell* put(uint16_t row, uint16_t col, Cell cell) {
        if (col >= kMaxColumns) return nullptr;
        Cell& slot = sheet_.at(row, col);
        slot = std::move(cell);
        return &slot;
    }

    void readSetup(ByteReader& in) {
        PageSetup& page = sheet_.page;
        const uint16_t paper = in.u16();
        const uint16_t scale = in.u16();
        in.u16();
        page.fitWidth = in.u16();
        page.fitHeight = in.u16();
        const uint16_t flags = in.u16();
        in.u32();
        page.headerMargin = in.f64();
        page.footerMargin = in.f64();
        if (flags & kSetupNeverSet) return;
        page.paperSize = paper;
        page.scale = std::clamp<uint16_t>(scale, 10, 400);
        page.orientation =
            (flags & (kSetupPortrait | kSetupNoOrientation)) ? Orientation::Portrait : Orientation::Landscape;
    }

    void readColumn(ByteReader& in) {
        ColumnInfo column;
        column.first = in.u16();
        column.last = std::min<uint16_t>(in.u16(), kMaxColumns - 1);
        column.width = in.u16();
        column.xf = formatOf(in.u16());
        column.hidden = in.u16() & kColumnHidden;
        if (column.first > column.last) return;
        sheet_.columns.push_back(column);
    }

    void readRow(ByteReader& in) {
        const uint16_t row = in.u16();
        in.u32();
        const uint16_t height = in.u16() & kRowHeightMask;
        in.u32();
        const uint16_t flags = in.u16();
        const uint16_t xf = in.u16() & kRowFormatMask;
        RowInfo info{height, bool(flags & kRowCustomHeight), bool(flags & kRowHidden), std::nullopt};
        if (flags & kRowHasFormat) info.xf = formatOf(xf);
        if (info.customHeight || info.hidden || info.xf || height != sheet_.defaultRowHeightTwips)
            sheet_.rows[row] = info;
    }

    void readMulBlank(ByteReader& in, size_t size) {
        if (size < 6) return;
        const uint16_t row = in.u16();
        const uint16_t first = in.u16();
        const size_t count = (size - 6) / 2;
        for (size_t i = 0; i < count && first + i < kMaxColumns; ++i)
            put(row, uint16_t(first + i), Cell{formatOf(in.u16()), {}, {}});
    }

    void readMulRk(ByteReader& in, size_t size) {
        if (size < 6) return;
        const uint16_t row = in.u16();
        const uint16_t first = in.u16();
        const size_t count = (size - 6) / 6;
        for (size_t i = 0; i < count && first + i < kMaxColumns; ++i) {
            const uint16_t xf = formatOf(in.u16());
            put(row, uint16_t(first + i), Cell{xf, rkValue(in.u32()), {}});
        }
    }

    void readLabelSst(ByteReader& in) {
        const auto [row, col, xf] = cellHeader(in);
        const uint32_t index = in.u32();
        // A string index outside the table is damage; the cell keeps its format and loses the text.
        Value value;
        if (index < context_.strings.size()) value = context_.strings[index];
        put(row, col, Cell{xf, std::move(value), {}});
    }

    void readBoolErr(ByteReader& in) {
        const auto [row, col, xf] = cellHeader(in);
        const uint8_t value = in.u8();
        const bool isError = in.u8() != 0;
        put(row, col, Cell{xf, isError ? errorValue(value) : Value(value != 0), {}});
    }

    void readFormula(ByteReader& in) {
        const auto [row, col, xf] = cellHeader(in);
        const auto result = in.bytes(8);
        Formula formula;
        formula.alwaysCalculate = in.u16() & kFormulaAlwaysCalculate;
        in.u32();
        const uint16_t size = in.u16();
        const auto tokens = in.bytes(size);
        const auto constants = in.bytes(in.remaining());
        formula.tokens.assign(tokens.begin(), tokens.end());
        formula.arrayConstants.assign(constants.begin(), constants.end());
        pendingString_.reset();
        if (formula::readU16(result, 6) == kCachedResultMarker) {
            switch (result[0]) {
            case kCachedString:
                formula.cached = std::string();
                pendingString_ = Sheet::key(row, col);
                break;
            case kCachedBool: formula.cached = result[2] != 0; break;
            case kCachedError: formula.cached = errorValue(result[2]); break;
            default: break;
            }
        } else {
            formula.cached = ByteReader(result).f64();
        }
        if (col >= kMaxColumns) return;
        if (size == 5 && tokens[0] == formula::kPtgExp)
            pendingShared_.push_back(
                {Sheet::key(row, col), Sheet::key(formula::readU16(tokens, 1), formula::readU16(tokens, 3))});
        put(row, col, Cell{xf, {}, std::move(formula)});
    }

    void readString(const Record& record) {
        const auto continuations = cursor_.takeContinuations();
        if (!pendingString_) return;
        auto it = sheet_.cells.find(*pendingString_);
        pendingString_.reset();
        if (it != sheet_.cells.end() && it->second.formula)
            it->second.formula->cached = unicodeStringOf(record.data, continuations);
    }

    void readSharedFormula(ByteReader& in) {
        SharedFormula shared;
        shared.range.firstRow = in.u16();
        shared.range.lastRow = in.u16();
        shared.range.firstCol = in.u8();
        shared.range.lastCol = in.u8();
        in.u16();
        const uint16_t size = in.u16();
        const auto tokens = in.bytes(size);
        const auto constants = in.bytes(in.remaining());
        shared.tokens.assign(tokens.begin(), tokens.end());
        shared.arrayConstants.assign(constants.begin(), constants.end());
        sharedFormulas_.try_emplace(Sheet::key(shared.range.firstRow, shared.range.firstCol), std::move(shared));
    }

    // Cells of a shared formula get their own tokens; cells whose formula cannot be rebuilt
    // (array and table formulas among them) keep their last result as a plain value.
    void resolveSharedFormulas() {
        for (const PendingShared& pending : pendingShared_) {
            auto it = sheet_.cells.find(pending.cell);
            if (it == sheet_.cells.end() || !it->second.formula) continue;
            const uint16_t row = uint16_t(pending.cell >> 16), col = uint16_t(pending.cell & 0xFFFF);
            const auto shared = sharedFormulas_.find(pending.base);
            std::optional<std::vector<uint8_t>> tokens;
            if (shared != sharedFormulas_.end() && shared->second.range.contains(row, col))
                tokens = formula::instantiateShared(shared->second.tokens, row, col);
            Cell& cell = it->second;
            if (tokens) {
                cell.formula->tokens = std::move(*tokens);
                cell.formula->arrayConstants = shared->second.arrayConstants;
            } else {
                cell.value = std::move(cell.formula->cached);
                cell.formula.reset();
            }
        }
    }

    void readWindow(ByteReader& in) {
        const uint16_t flags = in.u16();
        sheet_.showGridlines = flags & kWindowShowGridlines;
        sheet_.showHeadings = flags & kWindowShowHeadings;
        sheet_.selected = flags & kWindowSelected;
    }

    void readZoom(ByteReader& in) {
        const uint16_t numerator = in.u16();
        const uint16_t denominator = in.u16();
        if (denominator != 0)
            sheet_.zoomPercent = uint16_t(std::clamp<uint32_t>(numerator * 100u / denominator, 10, 400));
    }

    void readSelection(ByteReader& in) {
        if (in.u8() != 3 && selectionSeen_) return;
        selectionSeen_ = true;
        sheet_.activeCell.row = in.u16();
        sheet_.activeCell.col = std::min<uint16_t>(in.u16(), kMaxColumns - 1);
    }

    void readMerges(ByteReader& in) {
        const uint16_t count = in.u16();
        for (uint16_t i = 0; i < count && in.remaining() >= 8; ++i) {
            Range merge;
            merge.firstRow = in.u16();
            merge.lastRow = in.u16();
            merge.firstCol = in.u16();
            merge.lastCol = in.u16();
            if (merge.firstRow <= merge.lastRow && merge.firstCol <= merge.lastCol && merge.lastCol < kMaxColumns)
                sheet_.merges.push_back(merge);
        }
    }

    RecordCursor cursor_;
    const SheetContext& context_;
    Sheet sheet_;
    RecordPlace place_ = RecordPlace::Start;
    bool lastKept_ = false;
    bool selectionSeen_ = false;
    std::optional<uint32_t> pendingString_;
    std::map<uint32_t, SharedFormula> sharedFormulas_;  // by the first cell of the shared range
    std::vector<PendingShared> pendingShared_;
};

}  // namespace

Sheet readSheet(std::span<const uint8_t> stream, size_t offset, const SheetContext& context) {
    return SheetReader(stream, offset, context).read();
}

}  // namespace xls::biff
