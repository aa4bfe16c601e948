#include "workbook/template/ExpenseTemplate.h"

#include "xls/A1Reference.h"
#include "xls/ColumnWidth.h"
#include "xls/Formula.h"

#include <cmath>
#include <string>

namespace {

constexpr uint32_t kBrand = 0xA14817;
constexpr uint32_t kLabelGrey = 0x808080;
constexpr uint32_t kLightGrey = 0xEAEAEA;
constexpr uint32_t kCream = 0xFDF6E7;
constexpr uint32_t kWhite = 0xFFFFFF;

constexpr uint16_t kShortDate = 14;
constexpr uint16_t kAccounting = 44;

// The default font, Arial 10, has a 7-pixel digit: widths in characters become whole pixels.
constexpr int kDigitPixels = 7;

uint16_t columnWidth(double characters) {
    return xls::storedColumnWidth(xls::columnPixels(characters, kDigitPixels), kDigitPixels);
}

uint16_t twips(double points) { return uint16_t(std::lround(points * 20)); }

xls::Border thin() { return {xls::BorderStyle::Thin, xls::kAutomaticColour}; }

class TemplateBuilder {
public:
    TemplateBuilder() {
        m_book.isTemplate = true;
        m_book.sheets.emplace_back();
        sheet().name = std::string(kTemplateSheetName);
    }

    xls::Workbook& book() { return m_book; }
    xls::Sheet& sheet() { return m_book.sheets.front(); }

    uint16_t font(double points, bool bold = false, bool italic = false, uint32_t colour = xls::kAutomaticColour) {
        xls::Font font;
        font.name = "Tahoma";
        font.heightTwips = twips(points);
        font.bold = bold;
        font.italic = italic;
        font.colour = colour;
        return m_book.addFont(font);
    }

    // Gives every cell of the range the format (an empty cell becomes a formatted blank).
    void format(std::string_view range, const xls::CellFormat& format) {
        const uint16_t xf = m_book.addFormat(format);
        const xls::Range r = xls::a1(range);
        for (uint16_t row = r.firstRow; row <= r.lastRow; ++row)
            for (uint16_t col = r.firstCol; col <= r.lastCol; ++col) sheet().at(row, col).xf = xf;
    }

    // Boxes a range: thin outer edges only, inner cells keep their own borders.
    void box(std::string_view range) {
        const xls::Range r = xls::a1(range);
        for (uint16_t row = r.firstRow; row <= r.lastRow; ++row)
            for (uint16_t col = r.firstCol; col <= r.lastCol; ++col) {
                xls::Cell& cell = sheet().at(row, col);
                xls::CellFormat format = m_book.formats.at(cell.xf);
                if (row == r.firstRow) format.top = thin();
                if (row == r.lastRow) format.bottom = thin();
                if (col == r.firstCol) format.left = thin();
                if (col == r.lastCol) format.right = thin();
                cell.xf = m_book.addFormat(format);
            }
    }

    void merge(std::string_view range) { sheet().merges.push_back(xls::a1(range)); }

    void label(std::string_view cell, std::string text) { at(cell).value = std::move(text); }

    void formula(std::string_view cell, const std::string& text) {
        xls::Formula formula;
        formula.tokens = xls::compileFormula(text);
        formula.cached = 0.0;
        at(cell).formula = std::move(formula);
    }

    void width(std::string_view columns, double characters) {
        const xls::Range r = xls::a1(columns);
        sheet().columns.push_back({r.firstCol, r.lastCol, columnWidth(characters), 0, false});
    }

    void height(int firstRow, int lastRow, double points) {
        for (int row = firstRow; row <= lastRow; ++row)
            sheet().rows[uint16_t(row - 1)] = {twips(points), true, false, {}};
    }

private:
    xls::Cell& at(std::string_view cell) {
        const xls::Range r = xls::a1(cell);
        return sheet().at(r.firstRow, r.firstCol);
    }

    xls::Workbook m_book;
};

std::string column(char letter) { return std::string(1, letter); }

std::string cell(char letter, int row) { return column(letter) + std::to_string(row); }

void describeLayout(TemplateBuilder& t) {
    t.width("A1", 0.57);
    t.width("B1", 11.43);
    t.width("D1", 29.14);
    t.width("E1:H1", 11.14);
    t.width("I1", 7.71);
    t.width("J1", 3.57);
    t.width("K1", 13.43);
    t.width("L1", 11.00);
    t.width("M1", 11.71);

    t.height(1, 1, 16.5);
    t.height(2, 2, 25.5);
    t.height(3, 3, 30.0);
    t.height(4, 6, 17.1);
    t.height(7, 7, 16.5);
    t.height(8, 9, 17.1);
    t.height(10, 10, 20.1);
    t.height(11, 29, 17.1);

    for (const char* range : {"B2:M3", "C4:D4", "H4:I4", "C7:D7", "G7:H7", "L7:M7", "C8:D8", "G8:H8", "L8:M8", "L1:M1",
                              "C28:E28", "G28:J28", "C29:E29", "G29:J29"})
        t.merge(range);
    for (int row : {10, 11, 12, 13, 14, 15, 16, 17, 24, 25, 26}) t.merge(cell('I', row) + ":" + cell('J', row));
}

void describeHeader(TemplateBuilder& t) {
    xls::CellFormat office;
    office.font = t.font(8, false, true);
    office.fill = kCream;
    t.format("K1:M1", office);
    t.label("K1", "For Office Use Only");

    xls::CellFormat title;
    title.font = t.font(24, false, false, kBrand);
    title.hAlign = xls::HAlign::Left;
    title.vAlign = xls::VAlign::Top;
    t.format("B2:M3", title);
    t.label("B2", "Expense report");

    xls::CellFormat section;
    section.font = t.font(9, true, false, kLabelGrey);
    for (const char* at : {"B4", "F4", "B6", "B28", "F28"}) t.format(at, section);
    xls::CellFormat sectionRight = section;
    sectionRight.hAlign = xls::HAlign::Right;
    t.format("K4", sectionRight);
    t.label("B4", "PURPOSE:");
    t.label("F4", "STATEMENT NUMBER:");
    t.label("K4", "PAY PERIOD:");
    t.label("B6", "EMPLOYEE INFORMATION:");
    t.label("B28", "APPROVED:");
    t.label("F28", "NOTES: ");

    xls::CellFormat field;
    field.font = t.font(9);
    for (const char* at : {"B7", "B8", "F7", "F8", "K7", "K8"}) t.format(at, field);
    t.label("B7", "Name");
    t.label("B8", "Department");
    t.label("F7", "Position");
    t.label("F8", "Manager");
    t.label("K7", "    SSN");
    t.label("K8", "    Employee ID");

    xls::CellFormat periodLabel;
    periodLabel.font = t.font(10);
    periodLabel.hAlign = xls::HAlign::Right;
    t.format("L4:L5", periodLabel);
    t.label("L4", "From");
    t.label("L5", "To");
}

void describeEntryCells(TemplateBuilder& t, xls::Workbook& book) {
    xls::CellFormat entry;
    entry.font = t.font(10);
    entry.hAlign = xls::HAlign::Left;
    entry.bottom = thin();
    for (const char* range : {"C4:D4", "H4:I4", "C7:D7", "G7:H7", "C8:D8", "G8:H8", "G28:J28", "G29:J29"})
        t.format(range, entry);

    xls::CellFormat identifier = entry;
    identifier.numFmt = book.numberFormatId("@");
    t.format("L7:M8", identifier);

    xls::CellFormat centred = entry;
    centred.hAlign = xls::HAlign::Center;
    t.format("C28:E28", centred);
    t.format("C29:E29", centred);

    xls::CellFormat period = entry;
    period.fill = kLightGrey;
    period.numFmt = book.numberFormatId("m/d/yyyy;;");
    t.format("M4:M5", period);
    t.formula("M4", "MIN(A11:A25)");
    t.formula("M5", "MAX(A11:A25)");
}

void describeGrid(TemplateBuilder& t) {
    xls::CellFormat heading;
    heading.font = t.font(9, true, false, kWhite);
    heading.fill = kBrand;
    heading.hAlign = xls::HAlign::Center;
    heading.vAlign = xls::VAlign::Center;
    heading.left = heading.right = heading.top = heading.bottom = thin();
    t.format("B10:M10", heading);
    const char* headings[][2] = {{"B10", "Date"},          {"C10", "Account"}, {"D10", "Description"}, {"E10", "Hotel"},
                                 {"F10", "Transport"},     {"G10", "Fuel"},    {"H10", "Meals"},       {"I10", "Phone"},
                                 {"K10", "Entertainment"}, {"L10", "Misc."},   {"M10", "Total"}};
    for (const auto& [at, text] : headings) t.label(at, text);

    xls::CellFormat line;
    line.font = t.font(10);
    line.vAlign = xls::VAlign::Center;
    line.left = line.right = line.top = line.bottom = thin();
    for (int row = 11; row <= 25; ++row) {
        line.fill = row % 2 == 1 ? kCream : kWhite;
        xls::CellFormat date = line;
        date.numFmt = kShortDate;
        date.hAlign = xls::HAlign::Center;
        t.format(cell('B', row), date);
        xls::CellFormat text = line;
        text.hAlign = xls::HAlign::Left;
        text.wrap = true;
        t.format(cell('C', row) + ":" + cell('D', row), text);
        xls::CellFormat amount = line;
        amount.numFmt = kAccounting;
        amount.hAlign = xls::HAlign::Center;
        t.format(cell('E', row) + ":" + cell('L', row), amount);
        // I and J form one Phone box, merged or not.
        xls::CellFormat phoneLeft = amount;
        phoneLeft.right = {};
        t.format(cell('I', row), phoneLeft);
        xls::CellFormat phoneRight = amount;
        phoneRight.left = {};
        t.format(cell('J', row), phoneRight);
        xls::CellFormat total = amount;
        total.fill = kLightGrey;
        t.format(cell('M', row), total);
        t.formula(cell('M', row), "SUM(" + cell('E', row) + ":" + cell('L', row) + ")");
    }
}

void describeTotals(TemplateBuilder& t) {
    xls::CellFormat total;
    total.font = t.font(10);
    total.numFmt = kAccounting;
    total.fill = kLightGrey;
    total.vAlign = xls::VAlign::Center;
    total.left = total.right = total.top = total.bottom = thin();
    t.format("E26:L26", total);
    t.format("M27", total);
    t.format("M29", total);
    for (char x : {'E', 'F', 'G', 'H', 'I', 'K', 'L'})
        t.formula(cell(x, 26), "SUM(" + cell(x, 11) + ":" + cell(x, 25) + ")");
    t.formula("M27", "SUM(M11:M25)");
    t.formula("M29", "(M27-M28)");

    xls::CellFormat advances = total;
    advances.fill = xls::kNoFill;
    t.format("M28", advances);

    xls::CellFormat totalLabel;
    totalLabel.font = t.font(10, true);
    totalLabel.hAlign = xls::HAlign::Right;
    t.format("L27:L29", totalLabel);
    t.label("L27", "Subtotal");
    t.label("L28", "Advances");
    t.label("L29", "Total");
}

void describeViewAndPrint(xls::Sheet& sheet) {
    sheet.showGridlines = false;
    sheet.zoomPercent = 100;
    sheet.printArea = xls::a1("A1:M29");
    xls::PageSetup& page = sheet.page;
    page.paperSize = 1;
    page.orientation = xls::Orientation::Landscape;
    page.fitToPage = true;
    page.fitWidth = 1;
    page.fitHeight = 1;
    page.centerHorizontally = true;
    page.marginLeft = 0.75;
    page.marginRight = 0.75;
    page.marginTop = 0.5;
    page.marginBottom = 1.0;
    page.headerMargin = 0.5;
    page.footerMargin = 0.5;
    page.printGridlines = false;
    page.printHeadings = false;
}

}  // namespace

xls::Workbook BuildExpenseTemplate() {
    TemplateBuilder t;
    describeLayout(t);
    describeHeader(t);
    describeEntryCells(t, t.book());
    describeGrid(t);
    describeTotals(t);

    // Column N carries a plain format so that the used range ends there, as the form's picture expects.
    xls::CellFormat margin;
    margin.font = t.font(10);
    t.format("N1:N29", margin);

    describeViewAndPrint(t.sheet());
    xls::recalculate(t.book());
    return std::move(t.book());
}
