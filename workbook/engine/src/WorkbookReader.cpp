// readWorkbook: the compound file, the globals substream, then each worksheet substream.
#include "ByteIo.h"
#include "ContinuedReader.h"
#include "FormatRecords.h"
#include "Palette.h"
#include "RecordCursor.h"
#include "FormulaTokens.h"
#include "RecordFlags.h"
#include "RecordIds.h"
#include "SheetReader.h"
#include "Utf16.h"
#include "xls/Cfb.h"
#include "xls/WorkbookIo.h"

#include <algorithm>
#include <array>
#include <set>
#include <unordered_set>

namespace xls {
namespace {

using namespace biff;

constexpr std::array<uint8_t, 8> kCompoundFileSignature{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Globals records the writer produces from the model: never kept.
const std::unordered_set<uint16_t>& regeneratedRecords() {
    static const std::unordered_set<uint16_t> ids{
        kEof,        kTemplate,      kInterfaceHdr, kMms,      kInterfaceEnd, kWriteAccess,  kCodePage,   kDsf,
        kTabId,      kWindow1,       kBackup,       kHideObj,  kDateMode,     kPrecision,    kRefreshAll, kBookBool,
        kFont,       kFormat,        kXf,           kXfCrc,    kXfExt,        kStyle,        kStyleExt,   kPalette,
        kBoundSheet, kSupBook,       kExternSheet,  kName,     kExternName,   kSst,          kExtSst,     kIndex,
        kDbCell,     kWindowProtect, kProtect,      kPassword, kProt4Rev,     kProt4RevPass, kUsesElfs,   kCountry};
    return ids;
}

struct SheetEntry {
    uint32_t offset;
    bool isWorksheet;
    std::string name;
};

struct PrintAreaName {
    uint16_t fileSheet;
    Range area;
};

class GlobalsReader {
public:
    explicit GlobalsReader(std::span<const uint8_t> stream) : stream_(stream), cursor_(stream, 0) {}

    Workbook read() {
        Record record;
        if (!cursor_.next(record) || record.id != kBof || record.data.size() < 4)
            throw Error("not a workbook: the Workbook stream does not start with a workbook header");
        ByteReader bof(record.data);
        const uint16_t version = bof.u16();
        const uint16_t type = bof.u16();
        if (version != kBiff8Version) throw Error("not a 97-2003 workbook: the file uses an older, unsupported format");
        if (type != kGlobalsSubstream)
            throw Error("not a workbook: the Workbook stream does not start with its globals");
        while (cursor_.next(record) && record.id != kEof) handle(record);
        finishFormats();
        readSheets();
        return std::move(workbook_);
    }

private:
    void handle(const Record& record) {
        if (record.id == kContinue) {
            if (lastKept_) keep(record);
            return;
        }
        lastKept_ = false;
        if (record.id == kFilePass) throw Error("the workbook is password-protected and cannot be opened");
        if (!regeneratedRecords().contains(record.id)) return keep(record);
        ByteReader in(record.data);
        switch (record.id) {
        case kTemplate: workbook_.isTemplate = true; break;
        case kDateMode: workbook_.date1904 = in.u16() != 0; break;
        case kWindow1:
            in.skip(10);
            activeFileSheet_ = in.u16();
            break;
        case kFont: fontRecords_.push_back(record.data); break;
        case kXf: xfRecords_.push_back(record.data); break;
        case kFormat: readNumberFormat(record.data); break;
        case kPalette: readPalette(in); break;
        case kBoundSheet:
            readSheetEntry(in);
            place_ = RecordPlace::Middle;
            break;
        case kName: readName(in); break;
        case kSst:
            readStrings(record);
            place_ = RecordPlace::End;
            break;
        default: break;
        }
    }

    void keep(const Record& record) {
        workbook_.keptRecords.push_back(RawRecord{record.id, {record.data.begin(), record.data.end()}, place_});
        lastKept_ = true;
    }

    void readNumberFormat(std::span<const uint8_t> data) {
        if (data.size() < 2) throw Error("damaged workbook: a number format record is cut short");
        const uint16_t id = uint16_t(data[0] | data[1] << 8);
        const std::string code = toUtf8(ContinuedReader({data.subspan(2)}).unicodeString());
        // Built-in formats are known by id; files restate them in their own locale's words.
        if (!isBuiltinNumberFormat(id)) workbook_.numberFormats[id] = code;
    }

    void readPalette(ByteReader& in) {
        const uint16_t count = std::min<uint16_t>(in.u16(), uint16_t(palette_.size()));
        for (uint16_t i = 0; i < count; ++i) {
            const uint8_t r = in.u8(), g = in.u8(), b = in.u8();
            in.u8();
            palette_[i] = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
        }
    }

    void readSheetEntry(ByteReader& in) {
        SheetEntry entry;
        entry.offset = in.u32();
        in.u8();  // visibility
        entry.isWorksheet = in.u8() == 0;
        const uint8_t length = in.u8();
        const bool wide = in.u8() & kStringWide;
        std::u16string name;
        for (uint8_t i = 0; i < length; ++i) name.push_back(wide ? char16_t(in.u16()) : char16_t(in.u8()));
        entry.name = toUtf8(name);
        sheetEntries_.push_back(std::move(entry));
    }

    // Only the built-in print area is understood: one 3-D area on the name's own sheet.
    void readName(ByteReader& in) {
        const uint16_t flags = in.u16();
        in.u8();
        const uint8_t nameLength = in.u8();
        const uint16_t formulaLength = in.u16();
        in.u16();
        const uint16_t fileSheet = in.u16();
        in.u32();
        if (!(flags & kNameBuiltin) || nameLength != 1 || fileSheet == 0) return;
        const bool wide = in.u8() & kStringWide;
        const uint16_t builtin = wide ? in.u16() : in.u8();
        if (builtin != kBuiltinPrintArea || formulaLength != 11) return;
        const uint8_t ptg = in.u8();
        if (formula::withClass(ptg, 0) != formula::withClass(formula::kPtgArea3d, 0)) return;  // of any class
        in.u16();
        Range area;
        area.firstRow = in.u16();
        area.lastRow = in.u16();
        area.firstCol = in.u16() & 0x00FF;
        area.lastCol = in.u16() & 0x00FF;
        if (area.firstRow <= area.lastRow && area.firstCol <= area.lastCol)
            printAreas_.push_back({uint16_t(fileSheet - 1), area});
    }

    void readStrings(const Record& record) {
        auto parts = cursor_.takeContinuations();
        parts.insert(parts.begin(), record.data);
        ContinuedReader in(std::move(parts));
        in.u32();
        const uint32_t unique = in.u32();
        // The count is only a claim: every string takes at least three bytes of the records read.
        for (uint32_t i = 0; i < unique && !in.atEnd(); ++i) strings_.push_back(toUtf8(in.unicodeString()));
    }

    void finishFormats() {
        workbook_.fonts.clear();
        for (const auto& data : fontRecords_) workbook_.fonts.push_back(decodeFont(data, palette_));
        if (workbook_.fonts.empty()) workbook_.fonts.push_back(Font{});

        workbook_.formats.clear();
        for (const auto& data : xfRecords_) {
            DecodedXf xf = decodeXf(data, palette_);
            if (xf.isStyle) {
                formatOfXf_.push_back(0);
                continue;
            }
            const uint16_t modelFont = modelFontIndex(xf.format.font);
            xf.format.font = modelFont < workbook_.fonts.size() ? modelFont : 0;
            formatOfXf_.push_back(uint16_t(workbook_.formats.size()));
            workbook_.formats.push_back(xf.format);
        }
        if (workbook_.formats.empty()) workbook_.formats.push_back(CellFormat{});
    }

    void readSheets() {
        std::set<uint32_t> offsets;
        std::vector<int> modelIndexOfFileSheet;
        const SheetContext context{strings_, formatOfXf_};
        for (const SheetEntry& entry : sheetEntries_) {
            if (!entry.isWorksheet) {
                modelIndexOfFileSheet.push_back(-1);
                continue;
            }
            if (entry.offset >= stream_.size() || !offsets.insert(entry.offset).second)
                throw Error("damaged workbook: the position of sheet \"" + entry.name + "\" is invalid");
            Sheet sheet = readSheet(stream_, entry.offset, context);
            sheet.name = entry.name;
            modelIndexOfFileSheet.push_back(int(workbook_.sheets.size()));
            workbook_.sheets.push_back(std::move(sheet));
        }
        if (workbook_.sheets.empty()) throw Error("the workbook has no worksheet");
        for (const PrintAreaName& name : printAreas_)
            if (name.fileSheet < modelIndexOfFileSheet.size() && modelIndexOfFileSheet[name.fileSheet] >= 0)
                workbook_.sheets[size_t(modelIndexOfFileSheet[name.fileSheet])].printArea = name.area;
        workbook_.activeSheet = 0;
        if (activeFileSheet_ < modelIndexOfFileSheet.size() && modelIndexOfFileSheet[activeFileSheet_] >= 0)
            workbook_.activeSheet = uint16_t(modelIndexOfFileSheet[activeFileSheet_]);
    }

    std::span<const uint8_t> stream_;
    RecordCursor cursor_;
    Workbook workbook_;
    PaletteColours palette_ = defaultPalette();
    std::vector<std::span<const uint8_t>> fontRecords_, xfRecords_;
    std::vector<uint16_t> formatOfXf_;
    std::vector<std::string> strings_;
    std::vector<SheetEntry> sheetEntries_;
    std::vector<PrintAreaName> printAreas_;
    uint16_t activeFileSheet_ = 0;
    RecordPlace place_ = RecordPlace::Start;
    bool lastKept_ = false;
};

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

}  // namespace

Workbook readWorkbookStream(std::span<const uint8_t> stream) { return GlobalsReader(stream).read(); }

Workbook readWorkbook(std::span<const uint8_t> file) {
    if (file.size() < kCompoundFileSignature.size() ||
        !std::equal(kCompoundFileSignature.begin(), kCompoundFileSignature.end(), file.begin()))
        throw Error("not a workbook: the file is not a 97-2003 spreadsheet file");
    std::vector<cfb::Stream> streams;
    try {
        streams = cfb::read(file);
    } catch (const Error& error) {
        throw Error(std::string("damaged workbook: ") + error.what());
    }
    for (const cfb::Stream& stream : streams)
        if (equalsIgnoringCase(stream.name, u"Workbook")) return readWorkbookStream(stream.data);
    for (const cfb::Stream& stream : streams)
        if (equalsIgnoringCase(stream.name, u"Book"))
            throw Error("not a 97-2003 workbook: the file uses an older, unsupported format");
    throw Error("not a workbook: the file holds no workbook");
}

}  // namespace xls
