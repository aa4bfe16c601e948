// writeWorkbook: the globals substream, then one substream per sheet, in a compound file.
#include "ByteIo.h"
#include "Concat.h"
#include "FormatRecords.h"
#include "FormulaTokens.h"
#include "Palette.h"
#include "RecordFlags.h"
#include "RecordIds.h"
#include "RecordWriter.h"
#include "SharedStringTable.h"
#include "SheetWriter.h"
#include "SummaryStreams.h"
#include "Utf16.h"
#include "WritableCheck.h"
#include "xls/Cfb.h"
#include "xls/LocalFormats.h"
#include "xls/WorkbookIo.h"

#include <map>
#include <string>

namespace xls {
namespace {

using namespace biff;

constexpr size_t kMinimumStreamSize = 4096;  // keeps the stream out of the compound file's mini stream
constexpr size_t kMinimumFonts = 5;          // file indices 0-3 and 5
constexpr size_t kWriteAccessSize = 112;
constexpr uint16_t kUnitedStates = 1;
// 00020820-0000-0000-C000-000000000046: a 97-2003 workbook.
constexpr cfb::ClassId kWorkbookClass{0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

class GlobalsWriter {
public:
    GlobalsWriter(const Workbook& workbook, const LocaleInfo& locale)
        : workbook_(workbook), locale_(locale), palette_(workbook) {
        for (const Sheet& sheet : workbook.sheets)
            for (const auto& [key, cell] : sheet.cells)
                if (const auto* text = std::get_if<std::string>(&cell.value); text && !cell.formula)
                    strings_.add(*text);
    }

    std::vector<uint8_t> write() {
        writeBof(out_, kGlobalsSubstream);
        if (workbook_.isTemplate) writeRecord(out_, kTemplate, ByteWriter{});
        writeU16Record(out_, kInterfaceHdr, 1200);
        writeU16Record(out_, kMms, 0);
        writeRecord(out_, kInterfaceEnd, ByteWriter{});
        writeWriteAccess();
        writeU16Record(out_, kCodePage, 1200);  // UTF-16
        writeU16Record(out_, kDsf, 0);
        ByteWriter tabIds;
        for (size_t i = 0; i < workbook_.sheets.size(); ++i) tabIds.u16(uint16_t(i + 1));
        writeRecord(out_, kTabId, tabIds);
        writeKept(RecordPlace::Start);
        writeProtection();
        writeWindow();
        writeU16Record(out_, kBackup, 0);
        writeU16Record(out_, kHideObj, 0);
        writeU16Record(out_, kDateMode, workbook_.date1904);
        writeU16Record(out_, kPrecision, 1);
        writeU16Record(out_, kRefreshAll, 0);
        writeU16Record(out_, kBookBool, 0);
        writeFonts();
        writeNumberFormats();
        writeXfs();
        writeStyles();
        if (!palette_.isDefault()) writePalette();
        writeU16Record(out_, kUsesElfs, 0);
        const std::vector<size_t> offsetFields = writeSheetList();
        writeKept(RecordPlace::Middle);
        writeCountry();
        writePrintAreas();
        strings_.write(out_);
        writeKept(RecordPlace::End);
        writeRecord(out_, kEof, ByteWriter{});

        for (size_t i = 0; i < workbook_.sheets.size(); ++i) {
            out_.patchU32(offsetFields[i], uint32_t(out_.size()));
            writeSheet(out_, workbook_, i, strings_);
        }
        if (out_.size() < kMinimumStreamSize) out_.zeros(kMinimumStreamSize - out_.size());
        return out_.take();
    }

private:
    void writeKept(RecordPlace place) {
        for (const RawRecord& record : workbook_.keptRecords)
            if (record.place == place) writeRecord(out_, record.id, record.data);
    }

    // No user name: the name field holds the two spaces that say so, padded to the fixed size.
    void writeWriteAccess() {
        ByteWriter data;
        data.u16(2);
        data.u8(0);
        while (data.size() < kWriteAccessSize) data.u8(' ');
        writeRecord(out_, kWriteAccess, data);
    }

    // Workbook protection, all of it off and without passwords.
    void writeProtection() {
        for (uint16_t id : {kWindowProtect, kProtect, kPassword, kProt4Rev, kProt4RevPass}) writeU16Record(out_, id, 0);
    }

    void writeCountry() {
        ByteWriter data;
        data.u16(kUnitedStates);  // the country of the built-in formats' forms
        data.u16(kUnitedStates);
        writeRecord(out_, kCountry, data);
    }

    void writeWindow() {
        ByteWriter data;
        data.u16(0x0168);  // position and size in twips
        data.u16(0x001E);
        data.u16(0x3A5C);
        data.u16(0x2328);
        data.u16(0x0038);  // scroll bars and sheet tabs shown
        data.u16(workbook_.activeSheet);
        data.u16(0);    // first visible tab
        data.u16(1);    // one selected tab
        data.u16(600);  // tab bar width ratio
        writeRecord(out_, kWindow1, data);
    }

    void writeFonts() {
        const Font fallback = workbook_.fonts.empty() ? Font{} : workbook_.fonts.front();
        for (size_t i = 0; i < std::max(kMinimumFonts, workbook_.fonts.size()); ++i) {
            const Font& font = i < workbook_.fonts.size() ? workbook_.fonts[i] : fallback;
            writeRecord(out_, kFont, encodeFont(font, palette_));
        }
    }

    void writeNumberFormats() {
        // The currency and accounting built-ins depend on the writer's settings, so readers take their
        // codes from the file; without these records some show 0 where a dash belongs.
        std::map<uint16_t, std::string> formats = workbook_.numberFormats;
        for (uint16_t id : {5, 6, 7, 8, 41, 42, 43, 44}) formats.emplace(id, *localBuiltinFormat(id, locale_));
        for (const auto& [id, code] : formats) {
            const std::u16string units(toUtf16(code));
            ByteWriter data;
            data.u16(id);
            data.u16(uint16_t(units.size()));
            data.u8(kStringWide);
            for (char16_t unit : units) data.u16(unit);
            writeRecord(out_, kFormat, data);
        }
    }

    uint16_t fileFontOf(const CellFormat& format) const {
        return fileFontIndex(format.font < workbook_.fonts.size() ? format.font : 0);
    }

    void writeXfs() {
        // Style XFs: Normal, then the outline level styles, which conventionally use fonts 1 and 2.
        for (uint16_t i = 0; i < kStyleXfCount; ++i)
            writeRecord(out_, kXf, encodeStyleXf(i == 1 || i == 2 ? 1 : (i == 3 || i == 4 ? 2 : 0)));
        for (const CellFormat& format : workbook_.formats)
            writeRecord(out_, kXf, encodeCellXf(format, fileFontOf(format), palette_));
    }

    void writeStyles() {
        ByteWriter normal;
        normal.u16(kStyleBuiltin);  // on XF 0
        normal.u8(0);               // Normal
        normal.u8(0xFF);
        writeRecord(out_, kStyle, normal);
    }

    void writePalette() {
        ByteWriter data;
        data.u16(uint16_t(palette_.colours().size()));
        for (uint32_t rgb : palette_.colours()) {
            data.u8(uint8_t(rgb >> 16));
            data.u8(uint8_t(rgb >> 8));
            data.u8(uint8_t(rgb));
            data.u8(0);
        }
        writeRecord(out_, kPalette, data);
    }

    // Returns where each sheet's stream offset goes, to be filled in once the sheet is written.
    std::vector<size_t> writeSheetList() {
        std::vector<size_t> offsetFields;
        for (size_t i = 0; i < workbook_.sheets.size(); ++i) {
            const Sheet& sheet = workbook_.sheets[i];
            std::u16string name(toUtf16(sheet.name));
            // A sheet must have a name: an unnamed one gets the name a new sheet would.
            if (name.empty()) name = toUtf16(concat({"Sheet", std::to_string(i + 1)}));
            offsetFields.push_back(out_.size() + 4);
            ByteWriter data;
            data.u32(0);
            data.u8(0);  // visible
            data.u8(0);  // worksheet
            data.u8(uint8_t(name.size()));
            data.u8(kStringWide);
            for (char16_t unit : name) data.u16(unit);
            writeRecord(out_, kBoundSheet, data);
        }
        return offsetFields;
    }

    // The built-in Print_Area names: a 3-D area through EXTERNSHEET to this workbook's own SUPBOOK.
    void writePrintAreas() {
        std::vector<uint16_t> sheetsWithArea;
        for (size_t i = 0; i < workbook_.sheets.size(); ++i)
            if (workbook_.sheets[i].printArea) sheetsWithArea.push_back(uint16_t(i));
        if (sheetsWithArea.empty()) return;

        ByteWriter supBook;
        supBook.u16(uint16_t(workbook_.sheets.size()));
        supBook.u16(0x0401);  // this workbook
        writeRecord(out_, kSupBook, supBook);

        ByteWriter externSheet;
        externSheet.u16(uint16_t(sheetsWithArea.size()));
        for (uint16_t sheet : sheetsWithArea) {
            externSheet.u16(0);
            externSheet.u16(sheet);
            externSheet.u16(sheet);
        }
        writeRecord(out_, kExternSheet, externSheet);

        for (size_t x = 0; x < sheetsWithArea.size(); ++x) {
            const Range& area = *workbook_.sheets[sheetsWithArea[x]].printArea;
            ByteWriter name;
            name.u16(kNameBuiltin);
            name.u8(0);
            name.u8(1);    // name length
            name.u16(11);  // formula length
            name.u16(0);
            name.u16(uint16_t(sheetsWithArea[x] + 1));
            name.u32(0);  // no menu, description, help or status texts
            name.u8(0);   // 8-bit name
            name.u8(kBuiltinPrintArea);
            name.u8(formula::kPtgArea3d);
            name.u16(uint16_t(x));
            name.u16(area.firstRow);
            name.u16(area.lastRow);
            name.u16(area.firstCol);
            name.u16(area.lastCol);
            writeRecord(out_, kName, name);
        }
    }

    const Workbook& workbook_;
    const LocaleInfo& locale_;
    PaletteBuilder palette_;
    SharedStringTable strings_;
    ByteWriter out_;
};

}  // namespace

std::vector<uint8_t> writeWorkbookStream(const Workbook& workbook, const LocaleInfo& locale) {
    checkWritable(workbook);
    return GlobalsWriter(workbook, locale).write();
}

std::vector<uint8_t> writeWorkbook(const Workbook& workbook, const LocaleInfo& locale) {
    std::vector<cfb::Stream> streams;
    streams.push_back({u"Workbook", writeWorkbookStream(workbook, locale)});
    streams.push_back({u"\x0005SummaryInformation", neutralSummaryInformation()});
    streams.push_back(
        {u"\x0005"
         u"DocumentSummaryInformation",
         neutralDocumentSummaryInformation()});
    return cfb::write(streams, kWorkbookClass);
}

}  // namespace xls
