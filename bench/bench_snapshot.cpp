// Drawing the expense template's used range (B1:N29): with the sample-sized report in it, and
// with every text field at the cell limit of 32,767 characters (CJK, one unbroken ASCII word,
// words), which must stay as quick as a short report. Printing the sample-sized report to PDF by
// the template's page setup, in process, must take under 20 ms.
#include "workbook/template/ExpenseTemplate.h"
#include "xls/PdfExport.h"
#include "xls/SheetPainter.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

constexpr size_t kCellLimit = 32767;
const xls::Range kUsedRange{0, 1, 28, 13};

xls::Workbook filledTemplate() {
    xls::Workbook book = BuildExpenseTemplate();
    xls::Sheet& sheet = book.sheets.front();
    sheet.at(3, 2).value = std::string("Customer visit and trade fair");
    sheet.at(6, 2).value = std::string("Jordan Avery");
    for (uint16_t row = 10; row <= 24; ++row) {
        sheet.at(row, 1).value = 45200.0 + row;
        sheet.at(row, 2).value = std::string("4711-") + std::to_string(row);
        sheet.at(row, 3).value = std::string("Taxi, dinner and parking for the visit");
        for (uint16_t col = 4; col <= 11; ++col)
            if (col != 9) sheet.at(row, col).value = 12.5 * (row + col);
    }
    return book;
}

// `unit` repeated to 32,767 characters; `unit` holds one character per byte or per three bytes.
std::string atCellLimit(const std::string& unit, size_t bytesPerChar) {
    std::string text;
    const size_t chars = unit.size() / bytesPerChar;
    while (text.size() / bytesPerChar + chars <= kCellLimit) text += unit;
    text += unit.substr(0, (kCellLimit - text.size() / bytesPerChar) * bytesPerChar);
    return text;
}

// Every cell the run writes a text field into: header and footer fields, the headings, and
// account, description and the amount fields of all 15 rows (zero-based rows and columns).
xls::Workbook longFieldTemplate(const std::string& text) {
    xls::Workbook book = BuildExpenseTemplate();
    xls::Sheet& sheet = book.sheets.front();
    constexpr std::array<std::array<uint16_t, 2>, 12> kHeaderFooter{
        {{3, 2}, {3, 7}, {6, 2}, {7, 2}, {6, 6}, {6, 11}, {7, 11}, {7, 6}, {27, 2}, {28, 2}, {27, 6}, {28, 6}}};
    for (const auto& [row, col] : kHeaderFooter) sheet.at(row, col).value = text;
    for (uint16_t row = 9; row <= 24; ++row)
        for (uint16_t col = row == 9 ? 4 : 2; col <= 11; ++col)
            if (col != 9) sheet.at(row, col).value = text;
    return book;
}

void renderUsedRange(benchmark::State& state, const xls::Workbook& book) {
    for (auto _ : state) benchmark::DoNotOptimize(xls::renderRange(book, book.sheets.front(), kUsedRange, {}));
}

void BM_RenderTemplateUsedRange(benchmark::State& state) { renderUsedRange(state, filledTemplate()); }

void BM_RenderCjkFields(benchmark::State& state) {
    renderUsedRange(state, longFieldTemplate(atCellLimit("\xE4\xBA\xA4\xE9\x80\x9A\xE8\xB4\xB9\xE7\x94\xA8", 3)));
}

void BM_RenderUnbrokenAsciiFields(benchmark::State& state) {
    renderUsedRange(state, longFieldTemplate(atCellLimit("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 1)));
}

void BM_RenderWordFields(benchmark::State& state) {
    renderUsedRange(state, longFieldTemplate(atCellLimit("taxi to the airport and dinner with the client ", 1)));
}

void BM_PrintTemplateToPdf(benchmark::State& state) {
    const xls::Workbook book = filledTemplate();
    for (auto _ : state) benchmark::DoNotOptimize(xls::renderPdf(book, book.sheets.front(), {}));
}

#define PICTURE_BENCHMARK(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
PICTURE_BENCHMARK(BM_RenderTemplateUsedRange);
PICTURE_BENCHMARK(BM_RenderCjkFields);
PICTURE_BENCHMARK(BM_RenderUnbrokenAsciiFields);
PICTURE_BENCHMARK(BM_RenderWordFields);
PICTURE_BENCHMARK(BM_PrintTemplateToPdf);

}  // namespace
