// Drawing the expense template's used range (B1:N29) with a filled report in it.
#include "workbook/template/ExpenseTemplate.h"
#include "xls/SheetPainter.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

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

void BM_RenderTemplateUsedRange(benchmark::State& state) {
    const xls::Workbook book = filledTemplate();
    const xls::Sheet& sheet = book.sheets.front();
    const xls::Range usedRange{0, 1, 28, 13};
    for (auto _ : state) benchmark::DoNotOptimize(xls::renderRange(book, sheet, usedRange, xls::LocaleInfo{}));
}
BENCHMARK(BM_RenderTemplateUsedRange)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; no window is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
