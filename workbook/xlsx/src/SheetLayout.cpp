#include "SheetLayout.h"

#include "WriteCheck.h"
#include "xls/ColumnWidth.h"

#include <cstdint>
#include <limits>

namespace xlsx {
namespace {

// The 97–2003 default font (Arial 10) and the .xlsx one (Calibri 11) both have a 7-pixel digit;
// libxlsxwriter turns a width in characters into whole pixels by that digit and 5 pixels of padding.
constexpr int kDigitPixels = 7;

// The width libxlsxwriter makes exactly the column's pixels again.
double charactersOf(uint16_t width256) {
    const int pixels = xls::columnWidthPixels(width256, kDigitPixels);
    constexpr int kOneCharacter = kDigitPixels + xls::kColumnPadding;
    return pixels >= kOneCharacter ? double(pixels - xls::kColumnPadding) / kDigitPixels
                                   : double(pixels) / kOneCharacter;
}

double points(uint16_t twips) { return twips / 20.0; }

void writeColumns(lxw_worksheet* target, const xls::Sheet& sheet, CellFormats& formats) {
    for (const xls::ColumnInfo& column : sheet.columns) {
        const std::string where = cellName(sheet, 0, column.first);
        lxw_row_col_options options{};
        options.hidden = column.hidden;
        lxw_format* format = column.xf == 0 ? nullptr : formats.of(column.xf, where);
        check(worksheet_set_column_opt(target, column.first, column.last, charactersOf(column.width), format, &options),
              where);
    }
}

void writeRows(lxw_worksheet* target, const xls::Sheet& sheet, CellFormats& formats) {
    const double standard = points(sheet.defaultRowHeightTwips);
    worksheet_set_default_row(target, standard, false);
    for (const auto& [row, info] : sheet.rows) {
        const std::string where = cellName(sheet, row, 0);
        lxw_row_col_options options{};
        options.hidden = info.hidden;
        lxw_format* format = info.xf ? formats.of(*info.xf, where) : nullptr;
        const double height = info.customHeight ? points(info.heightTwips) : standard;
        check(worksheet_set_row_opt(target, row, height, format, &options), where);
    }
}

void writeView(lxw_worksheet* target, const xls::Sheet& sheet) {
    if (!sheet.showHeadings)
        throw xls::Error(sheet.name + ": a sheet that hides its row and column headings cannot be written");
    worksheet_gridlines(target,
                        uint8_t((sheet.showGridlines ? LXW_SHOW_SCREEN_GRIDLINES : LXW_HIDE_ALL_GRIDLINES) |
                                (sheet.page.printGridlines ? LXW_SHOW_PRINT_GRIDLINES : LXW_HIDE_ALL_GRIDLINES)));
    worksheet_set_zoom(target, sheet.zoomPercent);
    if (sheet.selected) worksheet_select(target);
    const xls::CellRef at = sheet.activeCell;
    worksheet_set_selection(target, at.row, at.col, at.row, at.col);
}

void writePage(lxw_worksheet* target, const xls::Sheet& sheet) {
    const xls::PageSetup& page = sheet.page;
    if (sheet.printArea) {
        const xls::Range& area = *sheet.printArea;
        check(worksheet_print_area(target, area.firstRow, area.firstCol, area.lastRow, area.lastCol),
              sheet.name + ": the print area");
    }
    if (page.paperSize > std::numeric_limits<uint8_t>::max())
        throw xls::Error(sheet.name + ": paper size " + std::to_string(page.paperSize) + " cannot be written");
    worksheet_set_paper(target, uint8_t(page.paperSize));
    if (page.orientation == xls::Orientation::Landscape)
        worksheet_set_landscape(target);
    else
        worksheet_set_portrait(target);
    worksheet_set_margins(target, page.marginLeft, page.marginRight, page.marginTop, page.marginBottom);
    lxw_header_footer_options header{};
    header.margin = page.headerMargin;
    check(worksheet_set_header_opt(target, page.header.c_str(), &header), sheet.name + ": the page header");
    lxw_header_footer_options footer{};
    footer.margin = page.footerMargin;
    check(worksheet_set_footer_opt(target, page.footer.c_str(), &footer), sheet.name + ": the page footer");
    if (page.fitToPage)
        worksheet_fit_to_pages(target, page.fitWidth, page.fitHeight);
    else
        worksheet_set_print_scale(target, page.scale);
    if (page.centerHorizontally) worksheet_center_horizontally(target);
    if (page.centerVertically) worksheet_center_vertically(target);
    if (page.printHeadings) worksheet_print_row_col_headers(target);
}

}  // namespace

void writeLayout(lxw_worksheet* target, const xls::Sheet& sheet, CellFormats& formats) {
    writeColumns(target, sheet, formats);
    writeRows(target, sheet, formats);
    writeView(target, sheet);
    writePage(target, sheet);
}

}  // namespace xlsx
