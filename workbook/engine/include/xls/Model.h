// In-memory model of a 97–2003 workbook: what the reader produces, the writer consumes,
// the host edits and the snapshot draws. Indices are 0-based; colours are 0xRRGGBB.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace xls {

inline constexpr uint32_t kAutomaticColour = 0xFFFFFFFF;  // the reader's choice (usually black)
inline constexpr uint32_t kNoFill = 0xFFFFFFFF;

inline constexpr uint16_t kMaxRows = 65535;   // BIFF8: rows 0..65535
inline constexpr uint16_t kMaxColumns = 256;  // BIFF8: columns 0..255
inline constexpr size_t kMaxTextLength = 32767;

struct CellRef {
    uint16_t row = 0;
    uint16_t col = 0;
    bool operator==(const CellRef&) const = default;
};

struct Range {
    uint16_t firstRow = 0;
    uint16_t firstCol = 0;
    uint16_t lastRow = 0;
    uint16_t lastCol = 0;
    bool contains(uint16_t row, uint16_t col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
    bool operator==(const Range&) const = default;
};

enum class Underline : uint8_t { None, Single, Double, SingleAccounting, DoubleAccounting };

struct Font {
    std::string name = "Arial";
    uint16_t heightTwips = 200;  // 1/20 point
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    Underline underline = Underline::None;
    uint32_t colour = kAutomaticColour;
    uint8_t family = 0;
    uint8_t charset = 0;
    bool operator==(const Font&) const = default;
};

// Numeric values match the BIFF8 XF alignment fields.
enum class HAlign : uint8_t {
    General = 0,
    Left = 1,
    Center = 2,
    Right = 3,
    Fill = 4,
    Justify = 5,
    CenterAcross = 6,
    Distributed = 7
};
enum class VAlign : uint8_t { Top = 0, Center = 1, Bottom = 2, Justify = 3, Distributed = 4 };

// Numeric values match the BIFF8 border line styles.
enum class BorderStyle : uint8_t {
    None = 0,
    Thin = 1,
    Medium = 2,
    Dashed = 3,
    Dotted = 4,
    Thick = 5,
    Double = 6,
    Hair = 7,
    MediumDashed = 8,
    DashDot = 9,
    MediumDashDot = 10,
    DashDotDot = 11,
    MediumDashDotDot = 12,
    SlantedDashDot = 13
};

struct Border {
    BorderStyle style = BorderStyle::None;
    uint32_t colour = kAutomaticColour;
    bool operator==(const Border&) const = default;
};

// One cell format (a cell XF). Styles XFs are the writer's business.
struct CellFormat {
    uint16_t font = 0;    // index into Workbook::fonts
    uint16_t numFmt = 0;  // number format id: built-in (< 164) or a key of Workbook::numberFormats
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Bottom;
    bool wrap = false;
    uint8_t indent = 0;
    uint8_t rotation = 0;
    Border left, right, top, bottom;
    uint32_t fill = kNoFill;  // solid fill colour
    bool locked = true;
    bool hidden = false;
    bool operator==(const CellFormat&) const = default;
};

enum class ErrorCode : uint8_t {
    Null = 0x00,
    Div0 = 0x07,
    Value = 0x0F,
    Ref = 0x17,
    Name = 0x1D,
    Num = 0x24,
    NA = 0x2A
};

// How an error value is written: "#DIV/0!" and the like.
std::string errorText(ErrorCode code);

// A cell's value: empty, number, text (UTF-8), boolean or error.
using Value = std::variant<std::monostate, double, std::string, bool, ErrorCode>;

struct Formula {
    std::vector<uint8_t> tokens;  // parsed expression (BIFF8 rgce), kept as read
    Value cached;                 // last computed result
    bool alwaysCalculate = true;
    std::vector<uint8_t> arrayConstants;  // data of array tokens, stored after the expression (rgcb)
    bool operator==(const Formula&) const = default;
};

struct Cell {
    uint16_t xf = 0;  // index into Workbook::formats
    Value value;      // ignored when formula is set
    std::optional<Formula> formula;
    bool operator==(const Cell&) const = default;
};

struct ColumnInfo {
    uint16_t first = 0;
    uint16_t last = 0;
    uint16_t width = 2340;  // 1/256 of the default font's widest digit, padding included as the file stores it
    uint16_t xf = 0;
    bool hidden = false;
    bool operator==(const ColumnInfo&) const = default;
};

struct RowInfo {
    uint16_t heightTwips = 255;
    bool customHeight = false;
    bool hidden = false;
    std::optional<uint16_t> xf;  // row default format, when set
    bool operator==(const RowInfo&) const = default;
};

enum class Orientation : uint8_t { Portrait, Landscape };

struct PageSetup {
    uint16_t paperSize = 1;  // 1 = Letter
    Orientation orientation = Orientation::Portrait;
    bool fitToPage = false;
    uint16_t fitWidth = 1;
    uint16_t fitHeight = 1;
    uint16_t scale = 100;
    bool centerHorizontally = false;
    bool centerVertically = false;
    double marginLeft = 0.75, marginRight = 0.75, marginTop = 1.0, marginBottom = 1.0;  // inches
    double headerMargin = 0.5, footerMargin = 0.5;
    bool printGridlines = false;
    bool printHeadings = false;
    std::string header, footer;
    bool operator==(const PageSetup&) const = default;
};

// Where a kept record stood among the records the engine writes itself. Globals: before the sheet
// list, between it and the string table, after the string table. Sheets: before the cell table,
// between it and the window settings, after the window settings.
enum class RecordPlace : uint8_t { Start, Middle, End };

// A record the engine does not interpret, kept so that a rewrite does not lose it.
struct RawRecord {
    uint16_t id = 0;
    std::vector<uint8_t> data;
    RecordPlace place = RecordPlace::Start;
    bool operator==(const RawRecord&) const = default;
};

struct Sheet {
    std::string name;
    std::map<uint32_t, Cell> cells;   // key: row << 16 | col
    std::vector<ColumnInfo> columns;  // sorted, not overlapping
    std::map<uint16_t, RowInfo> rows;
    std::vector<Range> merges;
    uint16_t defaultColumnWidth = 8;        // characters (DEFCOLWIDTH)
    std::optional<uint16_t> standardWidth;  // 1/256 characters (STANDARDWIDTH), when present
    uint16_t defaultRowHeightTwips = 255;
    bool showGridlines = true;
    bool showHeadings = true;
    uint16_t zoomPercent = 100;
    bool selected = true;
    CellRef activeCell;
    PageSetup page;
    std::optional<Range> printArea;
    std::vector<RawRecord> keptRecords;

    static uint32_t key(uint16_t row, uint16_t col) { return uint32_t(row) << 16 | col; }
    const Cell* find(uint16_t row, uint16_t col) const {
        auto it = cells.find(key(row, col));
        return it == cells.end() ? nullptr : &it->second;
    }
    // For building and reading a model; a write as a user makes it goes through xls/Formula.h
    // (writeCellValue, or storeCellValue and recalculateReadersOf for a run of writes), which keeps
    // every formula result that depends on the cell current.
    Cell& at(uint16_t row, uint16_t col) { return cells[key(row, col)]; }
    // Rows and columns holding any cell, row format or merge; nullopt for an empty sheet.
    std::optional<Range> usedRange() const;
};

// Whether the id is one of the built-in number formats the engine knows by id. Files may define
// codes under other ids below 164 too (Gnumeric does): those are the file's own formats.
bool isBuiltinNumberFormat(uint16_t id);

struct Workbook {
    bool isTemplate = false;
    bool date1904 = false;
    std::vector<Font> fonts{Font{}};
    std::map<uint16_t, std::string> numberFormats;  // user formats, id >= 164
    std::vector<CellFormat> formats{CellFormat{}};  // cell formats; index 0 is the default
    std::vector<Sheet> sheets;
    uint16_t activeSheet = 0;
    std::vector<RawRecord> keptRecords;  // globals records not interpreted

    // Index of an equal font/format, appended when missing.
    uint16_t addFont(const Font& font);
    uint16_t addFormat(const CellFormat& format);
    // Id of a number format code: a built-in id when the code is a built-in, else a user id (added when missing).
    uint16_t numberFormatId(const std::string& code);
    // The format code of an id: user formats, then the built-in table (United States forms).
    std::string numberFormatCode(uint16_t id) const;
};

}  // namespace xls
