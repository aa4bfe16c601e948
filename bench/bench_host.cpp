// One generation's host work in process: open the template, 171 typed-input writes, save, reopen.
#include "workbook/CellMap.h"
#include "workbook/host/Application.h"
#include "workbook/template/TemplateBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

ExpenseReport FilledReport() {
    ExpenseReport report = ReportFromValues([](const QString&) { return std::nullopt; }, QDate(2016, 11, 5));
    for (const TextFieldEntry& entry : kTextFields) report.text(entry.field) = QStringLiteral("Business trip");
    for (int r = 0; r < kGridRows; ++r) {
        ExpenseRow& row = report.rows[size_t(r)];
        row.date = QDate(2016, 11, 7).addDays(r);
        row.account = QStringLiteral("110797");
        row.description = QStringLiteral("Transport account");
        for (QString& amount : row.amounts) amount = QStringLiteral("$1,118.74");
    }
    return report;
}

void OpenFillSaveReopen(benchmark::State& state) {
    QTemporaryDir folder;
    const QString templatePath = folder.filePath(QStringLiteral("template.xlt"));
    const QString resultPath = folder.filePath(QStringLiteral("ferrun12345678.xls"));
    QFile file(templatePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(TemplateBytes()) != TemplateBytes().size()) {
        state.SkipWithError("cannot write the template copy");
        return;
    }
    file.close();
    const ExpenseReport report = FilledReport();
    for (auto _ : state) {
        const auto app = host::CreateObject(QStringLiteral("Excel.Application"));
        const auto book = app->Workbooks().Open(templatePath, std::nullopt, true);
        WriteReportCells(*app, report);
        app->Range(QStringLiteral("C4")).Select();
        book->SaveAs(resultPath, host::xlExcel8);
        app->Quit();
        const auto second = host::CreateObject(QStringLiteral("Excel.Application"));
        benchmark::DoNotOptimize(second->Workbooks().Open(resultPath));
        second->Quit();
    }
}
BENCHMARK(OpenFillSaveReopen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
